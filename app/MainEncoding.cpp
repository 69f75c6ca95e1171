// How the document's file is read and written: as its bytes, or as UTF-8 of the code page's
// characters. The document itself is always Windows-1254 bytes.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "document/TextFile.h"
#include "platform/Error.h"
#include "platform/NativePath.h"
#include "platform/Utf8Text.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>

void TAppForm::CreateEncodingMenu(QMenu* file)
{
    QMenu* encoding = file->addMenu(tr("&Encoding"));
    encoding->setObjectName(QStringLiteral("Encoding1"));
    auto* group = new QActionGroup(this);
    auto item = [&](QAction*& slot, const char* name, const QString& caption, const QString& hint) {
        slot = encoding->addAction(caption);
        slot->setObjectName(QString::fromLatin1(name));
        slot->setStatusTip(hint);
        return slot;
    };
    for (auto [slot, name, caption, utf8] :
         {std::tuple{&EncodingUtf81, "EncodingUtf81", tr("&UTF-8"), true},
          std::tuple{&EncodingWindows12541, "EncodingWindows12541", tr("&Windows-1254"), false}}) {
        QAction* a = item(*slot, name, caption, tr("Save the document as %1").arg(caption.mid(1).remove(u'&')));
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, utf8] { RunGuarded([this, utf8] { ChooseEncoding(utf8); }); });
    }
    encoding->addSeparator();
    item(ReopenWindows12541, "ReopenWindows12541", tr("Reopen as Windows-&1254"),
         tr("Read the file again as Windows-1254 bytes"));
    item(ReopenUtf81, "ReopenUtf81", tr("Reopen as UTF-&8"), tr("Read the file again as UTF-8"));
    connect(ReopenWindows12541, &QAction::triggered, this, [this] { RunGuarded([this] { ReopenAs(false); }); });
    connect(ReopenUtf81, &QAction::triggered, this, [this] { RunGuarded([this] { ReopenAs(true); }); });
    // Reopening needs a file to read.
    connect(encoding, &QMenu::aboutToShow, this, [this] {
        ReopenWindows12541->setEnabled(!m_document->FileName().isEmpty());
        ReopenUtf81->setEnabled(!m_document->FileName().isEmpty());
    });
}

void TAppForm::ShowEncoding(const FileEncoding& encoding)
{
    if (m_panels[4])
        m_panels[4]->setText(encoding.utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1254"));
    if (EncodingUtf81) {
        EncodingUtf81->setChecked(encoding.utf8);
        EncodingWindows12541->setChecked(!encoding.utf8);
    }
    ShowLineBreaks(encoding);
}

void TAppForm::ChooseEncoding(bool utf8)
{
    // A new UTF-8 file gets no mark: most Linux programs neither want nor write one. Choosing
    // the encoding it already has changes nothing; another marks the document modified, as the
    // file on disk no longer matches what Save would write.
    FileEncoding next = m_document->Encoding();
    if (next.utf8 != utf8)
        next.utf8 = utf8, next.byteOrderMark = false;
    m_document->SetEncoding(next);
}

void TAppForm::ReopenAs(bool utf8)
{
    const QString path = m_document->FileName();
    if (path.isEmpty())
        return;
    StopSimulator();
    if (utf8) {
        // Say why before anything is asked or lost.
        const std::string bytes = ReadFileBytes(path);
        const std::string why = utf8text::WhyNotUtf8(bytes);
        if (!why.empty()) {
            Dialogs().Notice(this, windowTitle(),
                             tr("Cannot reopen %1 as UTF-8. %2").arg(ShownPath(path), QString::fromStdString(why)));
            return;
        }
    }
    if (!MaybeSave(false, true))
        return;
    m_document->Load(path, utf8);
    SetTitleForFile();
    RememberFileStamp(path, m_document->Stamp());
}
