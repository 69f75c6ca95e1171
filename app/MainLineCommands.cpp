// Sort, randomize, trim, case conversion and the line-parameter commands. Each command
// computes the new text from a copy of the document and writes it back once.
#include "app/BusyCursor.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "editor/Memo.h"
#include "commands/CaseConversion.h"
#include "commands/LineOperations.h"
#include "commands/LineParameters.h"
#include "commands/RandomGenerator.h"
#include "commands/ui/separatelines.h"
#include "platform/Collation.h"

#include <QApplication>
#include <QCursor>

// A line command's result: the text once (one change, one undo step when the history is
// kept), or, when it came out equal, the change notification the line-by-line writes would
// have raised; then the caret.
void TAppForm::WriteLines(LineResult&& result)
{
    const bool notifies = result.notifies;
    const std::int64_t caret = result.caret;
    if (!m_document->SetWholeText(std::move(result.text)) && notifies)
        m_document->Touch();
    Memo1->SetSelection(caret, 0);
}

void TAppForm::TrimLines(TrimSide side)
{
    RunGuarded([&] {
        BusyCursor busy;
        const LineView lines(m_document->TextView());
        if (lines.Count() == 0)
            return;
        WriteLines(TrimEachLine(lines, side));
    });
}

void TAppForm::ConvertAll(std::string (*convert)(std::string_view))
{
    RunGuarded([&] {
        BusyCursor busy;
        std::string converted = convert(m_document->TextView());
        // Caret, selection and modified flag stay as they were when nothing changes.
        m_document->SetWholeTextNormalized(std::move(converted));
    });
}

void TAppForm::ConvertSelected(std::string (*convert)(std::string_view))
{
    RunGuarded([&] {
        BusyCursor busy;
        const std::string_view old = m_document->TextView();
        const auto start = static_cast<std::size_t>(Memo1->SelStart());
        const auto length = static_cast<std::size_t>(Memo1->SelLength());
        const std::string converted = convert(old.substr(start, length));
        const auto whole = [&] {
            std::string text;
            text.reserve(old.size() - length + converted.size());
            text.append(old.substr(0, start)).append(converted).append(old.substr(start + length));
            return text;
        };
        // The whole text is set again, so a lone line break anywhere in it becomes CR LF.
        if (HasLoneLineBreak(old)) {
            m_document->SetWholeTextNormalized(whole());
            return;
        }
        if (converted == old.substr(start, length))
            return;
        if (length > old.size() / 2) {
            m_document->SetWholeText(whole());
        } else {
            // Only the selection changes: the rest of the text need not be rebuilt.
            m_document->Replace(static_cast<std::int64_t>(start), static_cast<std::int64_t>(length), converted);
        }
        Memo1->SetSelection(0, 0);
    });
}

void TAppForm::ShowSeparate(const char* mode)
{
    RunGuarded([&] {
        SeparateMode = QString::fromLatin1(mode);
        Separate->exec();
    });
}

void TAppForm::SortLines1Click()
{
    RunGuarded([this] {
        BusyCursor busy;
        const TextCollator collator;
        WriteLines(SortLineList(LineView(m_document->TextView()), collator));
    });
}

void TAppForm::RandomizeLines1Click()
{
    RunGuarded([this] {
        const LineView lines(m_document->TextView());
        if (lines.Count() == 0)
            return;
        BusyCursor busy;
        const QString title = windowTitle();
        struct RestoreTitle {
            TAppForm& form;
            const QString& title;
            ~RestoreTitle() { form.SetCaption(title); }
        } restore{*this, title};
        ProgramRandom().Randomize();
        LineResult result = ShuffleLineList(lines, ProgramRandom(), [this](int percent) {
            SetCaption(QString::number(percent) + u'%');
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        WriteLines(std::move(result));
    });
}

void TAppForm::rimBoth1Click() { TrimLines(TrimSide::Both); }
void TAppForm::rimLeft1Click() { TrimLines(TrimSide::Left); }
void TAppForm::rimRight1Click() { TrimLines(TrimSide::Right); }

void TAppForm::All1Click() { ConvertAll(ToLowerTurkish); }
void TAppForm::Selected1Click() { ConvertSelected(ToLowerTurkish); }
void TAppForm::All2Click() { ConvertAll(ToUpperTurkish); }
void TAppForm::Selected2Click() { ConvertSelected(ToUpperTurkish); }

void TAppForm::SeparateLines1Click() { ShowSeparate("separate"); }
void TAppForm::oBeginningOfLines1Click() { ShowSeparate("insertbeginning"); }
void TAppForm::oEndOfLines1Click() { ShowSeparate("insertend"); }

void TAppForm::ApplySeparateMode(const std::string& text)
{
    BusyCursor busy;
    const LineView lines(m_document->TextView());
    if (SeparateMode == u"separate")
        WriteLines(JoinLinesWithSeparator(lines, text));
    else if (SeparateMode == u"insertbeginning")
        WriteLines(PrefixEachLine(lines, text));
    else if (SeparateMode == u"insertend")
        WriteLines(SuffixEachLine(lines, text));
}
