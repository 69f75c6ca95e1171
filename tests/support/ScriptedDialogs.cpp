#include "tests/support/ScriptedDialogs.h"

#include <QPrinter>

namespace {

template <class T>
T Next(std::deque<T>& queue, int& unexpected, T fallback)
{
    if (queue.empty()) {
        ++unexpected;
        return fallback;
    }
    T value = queue.front();
    queue.pop_front();
    return value;
}

} // namespace

IDialogs::Answer ScriptedDialogs::AskSave(QWidget*, const QString& text)
{
    prompts << text;
    return Next(saveAnswers, unexpected, Answer::Cancel);
}

std::optional<QString> ScriptedDialogs::OpenFileName(QWidget*)
{
    return Next(openNames, unexpected, std::optional<QString>());
}

std::optional<QString> ScriptedDialogs::SaveFileName(QWidget*, const QString& presetName)
{
    savePresets << presetName;
    return Next(saveNames, unexpected, std::optional<QString>());
}

void ScriptedDialogs::Information(QWidget*, const QString& text) { informations << text; }

void ScriptedDialogs::Notice(QWidget*, const QString& title, const QString& text)
{
    noticeTitles << title;
    notices << text;
}

void ScriptedDialogs::Error(QWidget*, const QString& title, const QString& text)
{
    errorTitles << title;
    errors << text;
}

void ScriptedDialogs::Warning(QWidget*, const QString&, const QString& text) { warnings << text; }

std::optional<QColor> ScriptedDialogs::Color(QWidget*, const QColor&)
{
    return Next(colors, unexpected, std::optional<QColor>());
}

std::optional<QFont> ScriptedDialogs::Font(QWidget*, const QFont&)
{
    return Next(fonts, unexpected, std::optional<QFont>());
}

bool ScriptedDialogs::Print(QWidget*, QPrinter* printer)
{
    printDocNames << printer->docName();
    printFileNames << printer->outputFileName();
    return Next(printAnswers, unexpected, false);
}

bool ScriptedDialogs::PageSetup(QWidget*, QPrinter*) { return Next(printAnswers, unexpected, false); }

void ScriptedDialogs::PrintPreview(QWidget*, QPrinter* printer, const std::function<void(QPrinter*)>& paint)
{
    ++previews;
    paint(printer);
}

IDialogs::Answer ScriptedDialogs::AskYesNo(QWidget*, const QString&, const QString& text, Answer defaultAnswer)
{
    questions << text;
    questionDefaults << defaultAnswer;
    return Next(yesNoAnswers, unexpected, Answer::No);
}

IDialogs::Answer ScriptedDialogs::AskRestore(QWidget*, const QString&, const QString& text)
{
    restoreOffers << text;
    return Next(restoreAnswers, unexpected, Answer::Cancel);
}
