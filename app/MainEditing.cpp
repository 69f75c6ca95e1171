// Find and replace, insertion at the caret, date stamps and the KeyPress simulator.
#include "app/Dialogs.h"
#include "app/BusyCursor.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "editor/Memo.h"
#include "commands/DateStamps.h"
#include "commands/FindReplace.h"
#include "commands/KeyPressSimulator.h"
#include "commands/ui/FindDialogs.h"
#include "platform/Cp1254.h"

#include <QCoreApplication>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>

namespace {

QString NotFound() { return QCoreApplication::translate("TAppForm", "Search String Not Found!"); }

QWidget* MessageOwner(TAppForm& form)
{
    QWidget* active = QApplication::activeWindow();
    return active ? active : &form;
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

// The keys stay with the dialog whose button was pressed, even after a message box that
// belonged to the main window, so Enter pressed again means the same button again.
void KeepKeyboardIn(QDialog* dialog)
{
    if (dialog->isVisible() && !dialog->isActiveWindow()) {
        dialog->raise();
        dialog->activateWindow();
    }
}

} // namespace

// --- find and replace ---

TFindDialog& TAppForm::FindDialog()
{
    if (!FindDialog1) {
        FindDialog1 = new TFindDialog(this);
        connect(FindDialog1, &TFindDialog::FindNext, this, [this] {
            RunGuarded([this] { FindDialog1Find(); });
            KeepKeyboardIn(FindDialog1);
        });
        connect(FindDialog1, &QDialog::finished, this, &TAppForm::FindDialogClosed);
    }
    return *FindDialog1;
}

TReplaceDialog& TAppForm::ReplaceDialog()
{
    if (!ReplaceDialog1) {
        ReplaceDialog1 = new TReplaceDialog(this);
        const std::pair<void (TReplaceDialog::*)(), void (TAppForm::*)()> buttons[] = {
            {&TReplaceDialog::FindNext, &TAppForm::ReplaceDialog1Find},
            {&TReplaceDialog::Replace, &TAppForm::ReplaceDialog1Replace},
            {&TReplaceDialog::ReplaceAll, &TAppForm::ReplaceDialog1ReplaceAll},
        };
        for (const auto& [signal, handler] : buttons)
            connect(ReplaceDialog1, signal, this, [this, handler] {
                RunGuarded([this, handler] { (this->*handler)(); });
                KeepKeyboardIn(ReplaceDialog1);
            });
        connect(ReplaceDialog1, &QDialog::finished, this, &TAppForm::FindDialogClosed);
    }
    return *ReplaceDialog1;
}

void TAppForm::Find1Click() { ToolButton12Click(); }
void TAppForm::Replace1Click() { ToolButton13Click(); }

void TAppForm::ToolButton12Click()
{
    FindDialog().Present();
    ShowSelectionForDialogs();
}

void TAppForm::ToolButton13Click()
{
    ReplaceDialog().Present();
    ShowSelectionForDialogs();
}

// While a find dialog is open the editor shows its selection without the focus: that is
// where the next search starts, and what the last one found.
void TAppForm::ShowSelectionForDialogs()
{
    const bool open = (FindDialog1 && FindDialog1->isVisible()) || (ReplaceDialog1 && ReplaceDialog1->isVisible());
    Memo1->SetShowSelectionUnfocused(open);
}

// Escape, Cancel or the close box: the keys go back to the editor, the match still selected.
void TAppForm::FindDialogClosed()
{
    if (!Memo1)
        return; // the window is going
    ShowSelectionForDialogs();
    if (Memo1->ShowsSelectionUnfocused())
        return; // the other dialog is still open
    activateWindow();
    Memo1->setFocus();
}

void TAppForm::SelectFound(const TextSelection& found)
{
    Memo1->SetSelection(found.start, found.length);
    Memo1->EnsureCaretVisible();
    ShowSelectionForDialogs();
}

void TAppForm::FindWith(const QString& text, const FindOptions& options)
{
    const std::string pattern = cp1254::Encode(text);
    // The search reads the document's own bytes where they lie, gap and all.
    const auto found = FindNext(SearchBytes(m_document->Bytes(), options),
                                {Memo1->SelStart(), Memo1->SelLength()}, pattern, options);
    if (!found) {
        Dialogs().Information(MessageOwner(*this), NotFound());
        return;
    }
    SelectFound(*found);
}

void TAppForm::FindDialog1Find() { FindWith(FindDialog().FindText(), FindDialog().Options()); }

void TAppForm::ReplaceDialog1Find()
{
    FindDialog().SetFindText(ReplaceDialog().FindText());
    FindWith(ReplaceDialog().FindText(), ReplaceDialog().Options());
}

void TAppForm::ReplaceDialog1Replace()
{
    const FindOptions options = ReplaceDialog().Options();
    const auto step = ReplaceNext(SearchBytes(m_document->Bytes(), options), {Memo1->SelStart(), Memo1->SelLength()},
                                  cp1254::Encode(ReplaceDialog().FindText()),
                                  cp1254::Encode(ReplaceDialog().ReplaceText()), options);
    if (!step) {
        Dialogs().Information(MessageOwner(*this), NotFound());
        return;
    }
    m_document->Replace(step->replaced.start, step->replaced.length, step->replacement);
    SelectFound({step->caret, 0});
}

void TAppForm::ReplaceDialog1ReplaceAll()
{
    const FindOptions options = ReplaceDialog().Options();
    std::optional<ReplaceAllResult> result;
    {
        BusyCursor busy;
        result = ReplaceAll(SearchBytes(m_document->Bytes(), options), cp1254::Encode(ReplaceDialog().FindText()),
                            cp1254::Encode(ReplaceDialog().ReplaceText()), options);
        if (result && !m_document->SetWholeText(std::move(result->text)))
            m_document->Touch(); // replaced by the same bytes: still the change the user asked for
    }
    if (!result) {
        Dialogs().Information(MessageOwner(*this), NotFound());
        return;
    }
    SelectFound({result->caret, 0});
    m_panels[0]->setText(tr("%1 occurrences replaced").arg(result->count));
}

// --- insertion at the caret and date stamps ---

void TAppForm::Add(std::string_view text, std::int64_t advance, ByteDocument::Undo undo)
{
    // A selection is not replaced: its bytes stay behind the inserted text. Only the bytes
    // that change are written, so a key press in a big document costs no more than in a
    // small one.
    const std::int64_t caret = Memo1->SelStart();
    if (!text.empty())
        m_document->Replace(caret, 0, text, undo);
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

namespace {

std::string StampText(DateStamp stamp)
{
    return DateStampText(stamp, QDateTime::currentDateTime(), DateStampLocale::FromLocale(QLocale::system()));
}

} // namespace

void TAppForm::AddStamp(DateStamp stamp)
{
    const std::string text = StampText(stamp);
    Add(text, std::ssize(text));
}

void TAppForm::N8Click() { AddStamp(DateStamp::Date); }
void TAppForm::N9Click() { AddStamp(DateStamp::ShortYearDate); }
void TAppForm::N10Click() { AddStamp(DateStamp::Time); }
void TAppForm::N11Click() { AddStamp(DateStamp::DateAndTime); }
void TAppForm::N12Click() { AddStamp(DateStamp::MonthNameDate); }
void TAppForm::N13Click() { AddStamp(DateStamp::MonthNameDateAndTime); }

// --- KeyPress simulator ---

void TAppForm::KeyPressSimulator1Click()
{
    if (m_simulator.on) {
        StopSimulator();
        return;
    }
    std::string document = m_document->Text();
    if (simulator::Refuses(document)) {
        Dialogs().Notice(this, tr("KeyPress Simulator"),
                         QCoreApplication::translate("KeyPressSimulator", simulator::RefusalNotice().c_str()));
        return;
    }
    m_simulator.on = true;
    KeyPressSimulator1->setChecked(true);
    m_simulator.pos = 1;
    m_simulator.list.Clear();
    m_simulator.list.Add(std::move(document));
    m_simulator.text = m_simulator.list.Text();
    // The emptied document is where the simulated typing starts: one step of the history.
    if (!m_document->SetWholeText({}))
        m_document->ForgetUndo();
}

bool TAppForm::Memo1KeyPress(QKeyEvent* key)
{
    if (!m_simulator.on)
        return false;
    if (!simulator::TypesCharacter(key->key(), key->modifiers(), key->text()) || IsWindowShortcut(*this, *key))
        return false;
    std::int64_t pos = m_simulator.pos;
    const auto next = simulator::TakeNext(m_simulator.text, pos);
    if (!next)
        return false; // everything is written: the key types as usual
    // Grouped like typing, so Undo takes back a run of simulated keys at once.
    Add(std::string_view(&*next, 1), 1,
        m_document->KeepsHistory() ? ByteDocument::Undo::Coalesce : ByteDocument::Undo::None);
    m_simulator.pos = pos;
    return true;
}

void TAppForm::StopSimulator()
{
    if (!m_simulator.on)
        return;
    m_simulator.on = false;
    KeyPressSimulator1->setChecked(false);
    // The stored text is the list's text; it is handed over rather than copied once more.
    m_document->SetWholeTextNormalized(std::move(m_simulator.text));
    m_simulator.list.Clear();
    m_simulator.text.clear();
}
