#include "app/Dialogs.h"

#include "platform/NativePath.h"

#include <QCoreApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

namespace {

// Asked for at each use: a translation is installed after static texts are made.
QString Filter() { return QCoreApplication::translate("QtDialogs", "Text Files (*.txt);;All Files (*)"); }

// Texts carry file names and markers pulled from web pages ("<title> does not exist."): a
// message box must never read them as HTML.
QMessageBox::StandardButton ShowPlain(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                      const QString& text, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton = QMessageBox::NoButton)
{
    QMessageBox box(icon, title, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    box.exec();
    return box.standardButton(box.clickedButton());
}

// The chosen file as the system's bytes: a name that is not UTF-8 comes back percent-escaped
// in the URL of a desktop's own dialog, or shown with U+FFFD by Qt's.
std::optional<QString> ChosenPath(const QFileDialog& dialog)
{
    const QList<QUrl> urls = dialog.selectedUrls();
    if (urls.isEmpty())
        return std::nullopt;
    return ResolveShownPath(urls.constFirst().isLocalFile() ? PathFromFileUrl(urls.constFirst())
                                                            : dialog.selectedFiles().value(0));
}

} // namespace

IDialogs::Answer QtDialogs::AskSave(QWidget* parent, const QString& text)
{
    const auto button = ShowPlain(parent, QMessageBox::Question, QCoreApplication::translate("QtDialogs", "Confirmation"), text,
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent)
{
    QFileDialog dialog(parent, QCoreApplication::translate("QtDialogs", "Open"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile); // a name that does not exist is accepted
    dialog.setNameFilter(Filter());
    // No default suffix here: the dialog would add it to a name that exists as typed
    // ("Makefile"). The window adds ".txt" only to a name that names nothing.
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ChosenPath(dialog);
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const QString& presetName)
{
    QFileDialog dialog(parent, QCoreApplication::translate("QtDialogs", "Save As"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilter(Filter());
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (!presetName.isEmpty())
        dialog.selectFile(ShownPath(presetName));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ChosenPath(dialog);
}

void QtDialogs::Information(QWidget* parent, const QString& text)
{
    ShowPlain(parent, QMessageBox::Information, QCoreApplication::translate("QtDialogs", "Information"), text, QMessageBox::Ok);
}

void QtDialogs::Notice(QWidget* parent, const QString& title, const QString& text)
{
    ShowPlain(parent, QMessageBox::NoIcon, title, text, QMessageBox::Ok);
}

void QtDialogs::Error(QWidget* parent, const QString& title, const QString& text)
{
    ShowPlain(parent, QMessageBox::Critical, title, text, QMessageBox::Ok);
}

void QtDialogs::Warning(QWidget* parent, const QString& title, const QString& text)
{
    ShowPlain(parent, QMessageBox::Warning, title, text, QMessageBox::Ok);
}

std::optional<QColor> QtDialogs::Color(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

std::optional<QFont> QtDialogs::Font(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return chosen;
}

bool QtDialogs::Print(QWidget* parent, QPrinter* printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtDialogs::PageSetup(QWidget* parent, QPrinter* printer)
{
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::PrintPreview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint)
{
    QPrintPreviewDialog dialog(printer, parent);
    dialog.setWindowTitle(QCoreApplication::translate("QtDialogs", "Print Preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&paint](QPrinter* p) { paint(p); });
    dialog.exec();
}

IDialogs::Answer QtDialogs::AskYesNo(QWidget* parent, const QString& title, const QString& text,
                                     Answer defaultAnswer)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultAnswer == Answer::No ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

IDialogs::Answer QtDialogs::AskRestore(QWidget* parent, const QString& title, const QString& text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* restore = box.addButton(QCoreApplication::translate("QtDialogs", "&Restore"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QCoreApplication::translate("QtDialogs", "&Discard"), QMessageBox::DestructiveRole);
    box.addButton(QCoreApplication::translate("QtDialogs", "&Later"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore)
        return Answer::Yes;
    return box.clickedButton() == discard ? Answer::No : Answer::Cancel;
}
