// Sort, randomize, trim, case conversion and the line-parameter commands. Each command
// computes the new text from a copy of the document and writes it back once.
#include "app/MainWindow.h"
#include "app/Memo.h"
#include "commands/CaseConversion.h"
#include "commands/LineOperations.h"
#include "commands/LineParameters.h"
#include "commands/RandomGenerator.h"
#include "commands/ui/separatelines.h"
#include "platform/Collation.h"

#include <QApplication>
#include <QCursor>

namespace {

// Long commands show the busy cursor; the window stays painted but takes no input.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// Writes a line command's result over the document `old`: the text once, then the change
// notification the line-by-line writes would have raised, then the caret.
// `old` views the document's own bytes: it is not read once the document changes.
void WriteLines(TAppForm& form, LineResult&& result, std::string_view old)
{
    TMemo* memo = form.Memo1;
    const bool changed = result.text != old;
    const bool empty = result.text.empty();
    if (changed) {
        memo->Clear(); // the comparison is done: spare the setter a second one
        memo->AdoptTextRaw(std::move(result.text));
    }
    if (result.notifies && (!changed || empty))
        form.Memo1Change();
    memo->SetSelection(result.caret, 0);
}

void TrimLines(TAppForm& form, TrimSide side)
{
    form.RunGuarded([&] {
        BusyCursor busy;
        const std::string_view old = form.Memo1->TextView();
        const LineView lines(old);
        if (lines.Count() == 0)
            return;
        WriteLines(form, TrimEachLine(lines, side), old);
    });
}

void ConvertAll(TAppForm& form, std::string (*convert)(std::string_view))
{
    form.RunGuarded([&] {
        BusyCursor busy;
        const std::string_view old = form.Memo1->TextView();
        std::string converted = convert(old);
        if (HasLoneLineBreak(converted))
            converted = NormalizeLineBreaks(converted);
        if (converted == old)
            return; // caret, selection and modified flag stay as they were
        form.Memo1->Clear();
        form.Memo1->AdoptTextRaw(std::move(converted));
    });
}

void ConvertSelected(TAppForm& form, std::string (*convert)(std::string_view))
{
    form.RunGuarded([&] {
        BusyCursor busy;
        TMemo* memo = form.Memo1;
        const std::string_view old = memo->TextView();
        const auto start = static_cast<std::size_t>(memo->SelStart());
        const auto length = static_cast<std::size_t>(memo->SelLength());
        const std::string converted = convert(old.substr(start, length));
        const auto whole = [&] {
            std::string text;
            text.reserve(old.size() - length + converted.size());
            text.append(old.substr(0, start)).append(converted).append(old.substr(start + length));
            return text;
        };
        // The whole text is set again, so a lone line break anywhere in it becomes CR LF.
        if (HasLoneLineBreak(old)) {
            std::string text = whole();
            memo->Clear();
            memo->AdoptText(std::move(text));
            return;
        }
        if (converted == old.substr(start, length))
            return;
        if (length > old.size() / 2) {
            std::string text = whole();
            memo->Clear();
            memo->AdoptTextRaw(std::move(text));
        } else {
            // Only the selection changes: the rest of the editor's text need not be rebuilt.
            memo->ReplaceRange(static_cast<std::int64_t>(start), static_cast<std::int64_t>(length), converted);
        }
        memo->SetSelection(0, 0);
    });
}

void ShowSeparate(TAppForm& form, const char* mode)
{
    form.RunGuarded([&] {
        form.SeparateMode = QString::fromLatin1(mode);
        form.Separate->exec();
    });
}

} // namespace

void TAppForm::SortLines1Click()
{
    RunGuarded([this] {
        BusyCursor busy;
        const std::string_view old = Memo1->TextView();
        const TextCollator collator;
        WriteLines(*this, SortLineList(LineView(old), collator), old);
    });
}

void TAppForm::RandomizeLines1Click()
{
    RunGuarded([this] {
        const std::string_view old = Memo1->TextView();
        const LineView lines(old);
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
        WriteLines(*this, std::move(result), old);
    });
}

void TAppForm::rimBoth1Click() { TrimLines(*this, TrimSide::Both); }
void TAppForm::rimLeft1Click() { TrimLines(*this, TrimSide::Left); }
void TAppForm::rimRight1Click() { TrimLines(*this, TrimSide::Right); }

void TAppForm::All1Click() { ConvertAll(*this, ToLowerTurkish); }
void TAppForm::Selected1Click() { ConvertSelected(*this, ToLowerTurkish); }
void TAppForm::All2Click() { ConvertAll(*this, ToUpperTurkish); }
void TAppForm::Selected2Click() { ConvertSelected(*this, ToUpperTurkish); }

void TAppForm::SeparateLines1Click() { ShowSeparate(*this, "separate"); }
void TAppForm::oBeginningOfLines1Click() { ShowSeparate(*this, "insertbeginning"); }
void TAppForm::oEndOfLines1Click() { ShowSeparate(*this, "insertend"); }

void TAppForm::ApplySeparateMode(const std::string& text)
{
    BusyCursor busy;
    const std::string_view old = Memo1->TextView();
    const LineView lines(old);
    if (SeparateMode == u"separate")
        WriteLines(*this, JoinLinesWithSeparator(lines, text), old);
    else if (SeparateMode == u"insertbeginning")
        WriteLines(*this, PrefixEachLine(lines, text), old);
    else if (SeparateMode == u"insertend")
        WriteLines(*this, SuffixEachLine(lines, text), old);
}
