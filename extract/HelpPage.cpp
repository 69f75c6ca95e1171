#include "extract/HelpPage.h"

#include "platform/ProgramFolder.h"

#include <QFileInfo>

QString HelpPagePath(const QString& language)
{
    // A region or an encoding may follow the language: "tr_TR.UTF-8", "tr-TR".
    const bool turkish = language.section(u'_', 0, 0).section(u'-', 0, 0).compare(u"tr", Qt::CaseInsensitive) == 0;
    if (turkish) {
        const QString page = ProgramFilePath(ProgramFile::ExtractHelpTr);
        // A Turkish page left out of a package still leaves the English one to read.
        if (QFileInfo::exists(page))
            return page;
    }
    return ProgramFilePath(ProgramFile::ExtractHelp);
}
