#include "app/Translation.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdlib>
#include <filesystem>

namespace {

const QString kProgramFile = QStringLiteral("quorlex_tr.qm");

// The installed data folder first, then the folder of the executable, as a build tree has it.
QString ProgramTranslation()
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::canonical("/proc/self/exe", ec);
    const QString folder = ec ? QString() : QString::fromStdString(exe.parent_path().string());
    for (const QString& candidate : {folder + QStringLiteral("/../share/quorlex/translations/") + kProgramFile,
                                     folder + QStringLiteral("/translations/") + kProgramFile})
        if (QFileInfo::exists(candidate))
            return candidate;
    return QString();
}

} // namespace

bool TurkishWanted()
{
    const char* chosen = std::getenv("QUORLEX_LANG");
    const QString lang = chosen ? QString::fromLocal8Bit(chosen).trimmed().toLower() : QString();
    if (lang == u"tr")
        return true;
    if (lang == u"en")
        return false;
    return QLocale::system().language() == QLocale::Turkish;
}

bool InstallTranslations(QCoreApplication& app)
{
    if (!TurkishWanted())
        return true;
    bool complete = true;
    auto* program = new QTranslator(&app);
    if (program->load(ProgramTranslation()))
        QCoreApplication::installTranslator(program);
    else
        complete = false;
    auto* qt = new QTranslator(&app);
    if (qt->load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        complete = false;
    return complete;
}

QString TranslatedBeforeStart(const char* context, const char* source)
{
    QTranslator program;
    if (TurkishWanted() && program.load(ProgramTranslation())) {
        const QString text = program.translate(context, source);
        if (!text.isEmpty())
            return text;
    }
    return QString::fromUtf8(source);
}
