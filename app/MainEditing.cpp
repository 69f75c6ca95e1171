// Find and replace, insertion at the caret, date stamps and the KeyPress simulator.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Memo.h"
#include "commands/DateStamps.h"
#include "commands/FindReplace.h"
#include "commands/KeyPressSimulator.h"
#include "commands/ui/FindDialogs.h"
#include "platform/Cp1254.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

namespace {

const QString kNotFound = QStringLiteral("Search String Not Found!");

std::optional<TextSelection> FindNextInDocument(TAppForm& form, const QString& pattern)
{
    const std::string bytes = cp1254::Encode(pattern);
    if (bytes.empty())
        return std::nullopt;
    // The search reads the document's own bytes where they lie, gap and all.
    return FindAfterSelection(form.Memo1->Document().Bytes(), form.Memo1->SelStart(), form.Memo1->SelLength(),
                              bytes);
}

void SelectFound(TAppForm& form, const TextSelection& found)
{
    form.activateWindow();
    form.Memo1->setFocus();
    form.Memo1->SetSelection(found.start, found.length);
    form.Memo1->EnsureCaretVisible();
}

QWidget* MessageOwner(TAppForm& form)
{
    QWidget* active = QApplication::activeWindow();
    return active ? active : &form;
}

void InsertDateStamp(TAppForm& form, DateStamp stamp)
{
    const std::string text =
        DateStampText(stamp, QDateTime::currentDateTime(), DateStampLocale::FromLocale(QLocale::system()));
    form.Add(text, static_cast<std::int64_t>(text.size()));
}

// Keys that the window takes as shortcuts are commands, not typing, even where the editor
// claims them for itself (Ctrl+C, Ctrl+V ...).
bool IsWindowShortcut(const TAppForm& form, const QKeyEvent& key)
{
    const QKeySequence typed(key.keyCombination());
    for (const QAction* action : form.findChildren<QAction*>())
        for (const QKeySequence& shortcut : action->shortcuts())
            if (shortcut == typed)
                return true;
    return false;
}

} // namespace

// --- find and replace ---

TFindDialog& TAppForm::FindDialog()
{
    if (!FindDialog1) {
        FindDialog1 = new TFindDialog(this);
        connect(FindDialog1, &TFindDialog::FindNext, this, [this] { RunGuarded([this] { FindDialog1Find(); }); });
    }
    return *FindDialog1;
}

TReplaceDialog& TAppForm::ReplaceDialog()
{
    if (!ReplaceDialog1) {
        ReplaceDialog1 = new TReplaceDialog(this);
        connect(ReplaceDialog1, &TReplaceDialog::FindNext, this,
                [this] { RunGuarded([this] { ReplaceDialog1Find(); }); });
        // Replace All replaces one occurrence per press, as Replace does.
        for (auto signal : {&TReplaceDialog::Replace, &TReplaceDialog::ReplaceAll})
            connect(ReplaceDialog1, signal, this, [this] { RunGuarded([this] { ReplaceDialog1Replace(); }); });
    }
    return *ReplaceDialog1;
}

void TAppForm::Find1Click() { ToolButton12Click(); }
void TAppForm::Replace1Click() { ToolButton13Click(); }
void TAppForm::ToolButton12Click() { FindDialog().Present(); }

void TAppForm::ToolButton13Click() { ReplaceDialog().Present(); }

void TAppForm::FindDialog1Find()
{
    const auto found = FindNextInDocument(*this, FindDialog().FindText());
    if (!found) {
        Dialogs().Information(MessageOwner(*this), kNotFound);
        return;
    }
    SelectFound(*this, *found);
}

void TAppForm::ReplaceDialog1Find()
{
    FindDialog().SetFindText(ReplaceDialog().FindText());
    FindDialog1Find();
}

void TAppForm::ReplaceDialog1Replace()
{
    const auto found = FindNextInDocument(*this, ReplaceDialog().FindText());
    if (!found) {
        Dialogs().Information(MessageOwner(*this), kNotFound);
        return;
    }
    SelectFound(*this, *found);
    const std::string replacement = cp1254::Encode(ReplaceDialog().ReplaceText());
    Memo1->ReplaceRange(found->start, found->length, replacement);
    Memo1->SetSelection(found->start + static_cast<std::int64_t>(replacement.size()), 0);
    Memo1->EnsureCaretVisible();
}

// --- insertion at the caret and date stamps ---

void TAppForm::Add(const std::string& text, std::int64_t advance)
{
    // A selection is not replaced: its bytes stay behind the inserted text. Only the bytes
    // that change are written, so a key press in a big document costs no more than in a
    // small one.
    const std::int64_t caret = Memo1->SelStart();
    Memo1->ReplaceRange(caret, 0, text);
    Memo1->SetSelection(caret + advance, 0);
    Memo1->EnsureCaretVisible();
}

void TAppForm::AddDate1Click()
{
    const auto texts = DateStampTexts(QDateTime::currentDateTime(), DateStampLocale::FromLocale(QLocale::system()));
    QAction* const items[kDateStampCount] = {N8, N9, N10, N11, N12, N13};
    for (int i = 0; i < kDateStampCount; ++i) {
        QString caption = cp1254::Decode(texts[static_cast<std::size_t>(i)]);
        caption.replace(u'&', QStringLiteral("&&"));
        items[i]->setText(caption);
    }
}

void TAppForm::N8Click() { InsertDateStamp(*this, DateStamp::Date); }
void TAppForm::N9Click() { InsertDateStamp(*this, DateStamp::ShortYearDate); }
void TAppForm::N10Click() { InsertDateStamp(*this, DateStamp::Time); }
void TAppForm::N11Click() { InsertDateStamp(*this, DateStamp::DateAndTime); }
void TAppForm::N12Click() { InsertDateStamp(*this, DateStamp::MonthNameDate); }
void TAppForm::N13Click() { InsertDateStamp(*this, DateStamp::MonthNameDateAndTime); }

// --- KeyPress simulator ---

void TAppForm::KeyPressSimulator1Click()
{
    if (KeyPressSimulator1->isChecked()) {
        StopSimulator();
        return;
    }
    std::string document = Memo1->Text();
    if (simulator::Refuses(document)) {
        Dialogs().Notice(this, QString::fromLatin1(simulator::kNoticeTitle),
                         QString::fromLatin1(simulator::RefusalNotice()));
        return;
    }
    KeyPressSimulator1->setChecked(true);
    SimulatorPos = 1;
    SimulatorList.Clear();
    SimulatorList.Add(std::move(document));
    SimulatorText = SimulatorList.Text();
    Memo1->SetText({});
}

bool TAppForm::Memo1KeyPress(QKeyEvent* key)
{
    if (!KeyPressSimulator1->isChecked())
        return false;
    if (!simulator::TypesCharacter(key->key(), key->modifiers(), key->text()) || IsWindowShortcut(*this, *key))
        return false;
    std::int64_t pos = SimulatorPos;
    const auto next = simulator::TakeNext(SimulatorText, pos);
    if (!next)
        return false; // everything is written: the key types as usual
    Add(std::string(1, *next), 1);
    SimulatorPos = pos;
    return true;
}

void TAppForm::StopSimulator()
{
    if (!KeyPressSimulator1->isChecked())
        return;
    KeyPressSimulator1->setChecked(false);
    // The stored text is the list's text; it is handed over rather than copied once more.
    Memo1->AdoptText(std::move(SimulatorText));
    SimulatorList.Clear();
    SimulatorText.clear();
}
