#include "extract/ui/extracttext.h"

#include "document/TextFile.h"
#include "extract/HelpPage.h"
#include "extract/ui/FetchProgress.h"
#include "extract/ui/ScriptEditor.h"
#include "platform/Cp1254.h"
#include "platform/Error.h"
#include "platform/PrivateFile.h"
#include "platform/ProgramFolder.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLocale>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>

#include <utility>

namespace {

// The document's lines straight from the editor, one at a time: a run reads a few lines of
// the document, and copying all of a big one first would cost more than the whole run.
class EditorLines : public SourceLines {
public:
    explicit EditorLines(const ExtractHost& host) : m_host(host), m_count(host.DocumentLineCount()) {}
    int Count() const override { return m_count; }
    std::string_view Get(int i) const override
    {
        m_line = m_host.DocumentLine(i);
        return m_line;
    }

private:
    const ExtractHost& m_host;
    int m_count;
    mutable std::string m_line;
};

enum class Picture { Check, Cross, Question };

QIcon ButtonPicture(Picture which)
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (which) {
    case Picture::Check: {
        QPainterPath tick;
        tick.moveTo(3, 9.5);
        tick.lineTo(7, 14);
        tick.lineTo(15, 4);
        p.setPen(QPen(QColor(0, 128, 0), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(tick);
        break;
    }
    case Picture::Cross:
        p.setPen(QPen(QColor(200, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 4), QPointF(14, 14));
        p.drawLine(QPointF(14, 4), QPointF(4, 14));
        break;
    case Picture::Question: {
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(16);
        p.setFont(f);
        p.setPen(QColor(0, 128, 128));
        p.drawText(QRect(0, 0, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    p.end();
    return QIcon(pixmap);
}

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, Picture picture, int left)
{
    auto* b = new QPushButton(ButtonPicture(picture), caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setIconSize(QSize(18, 18));
    b->setGeometry(left, 240, 89, 25);
    return b;
}

QString FormFile() { return ProgramFilePath(ProgramFile::ExtractForm); }

} // namespace

const char* const TExtract::kSampleScript = "This is an extraction sample\r\n"
                                            "$GETURL[http://www.morvane.example/index.php]\r\n"
                                            "$GETLINE[5]\r\n"
                                            "$GETPARTOFLINE1[5;starttext,stoptext]\r\n"
                                            "$GETPARTOFLINE2[5;10,20]\r\n"
                                            "$GETPARTOFLINE3[5;10,stoptext]\r\n"
                                            "$GETPARTOFLINE4[5;starttext,20]";

TExtract::TExtract(QWidget* parent, ExtractHost& host)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      Language(QLocale().uiLanguages().value(0)),
      m_host(host)
{
    setObjectName(QStringLiteral("Extract"));
    setWindowTitle(tr("Extract Text"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setFixedSize(326, 273);

    Memo1 = new ScriptEditor(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(8, 8, 309, 226);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setTabChangesFocus(true);
    Memo1->SetText(std::string_view(kSampleScript));

    BitBtn1 = Button(this, "BitBtn1", tr("OK"), Picture::Check, 8);
    BitBtn2 = Button(this, "BitBtn2", tr("Abort"), Picture::Cross, 118);
    BitBtn3 = Button(this, "BitBtn3", tr("&Help"), Picture::Question, 228);
    // Enter presses the focused button; on the script editor it breaks the line, and OK is
    // the button it falls back to wherever else the focus is.
    BitBtn1->setDefault(true);
    for (QPushButton* b : {BitBtn1, BitBtn2, BitBtn3})
        b->setAutoDefault(true);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, Memo1);
    setTabOrder(Memo1, BitBtn3);
    BitBtn1->setFocus();

    Fetch = [this](const std::string& url, const QString& path) { FetchWithProgress(url, path); };
    OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    // Connected after the sample is in: only the user's changes and a loaded script are saved.
    connect(Memo1, &ScriptEditor::Change, this, [this] { m_host.RunGuarded([this] { Memo1Change(); }); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        setResult(mrOk);
        m_host.RunGuarded([this] { BitBtn1Click(); });
        done(mrOk); // also when the run failed
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { m_host.RunGuarded([this] { BitBtn2Click(); }); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { m_host.RunGuarded([this] { BitBtn3Click(); }); });
}

void TExtract::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
}

void TExtract::closeEvent(QCloseEvent* e)
{
    if (m_running)
        e->ignore();
    else
        QDialog::closeEvent(e);
}

void TExtract::FormShow()
{
    // A script that cannot be read or shown leaves the sample, without a message.
    try {
        Memo1->SetText(ReadFileBytes(FormFile()));
    } catch (const std::exception&) {
    }
}

void TExtract::Memo1Change()
{
    // A file that cannot be written fails again at every key: it is said once for this
    // opening of the window (and again only after a write has worked).
    try {
        WritePrivateFileOrThrow(FormFile(), Memo1->Text());
        m_saveFailed = false;
    } catch (const QuorlexError&) {
        if (std::exchange(m_saveFailed, true))
            return;
        throw;
    }
}

void TExtract::BitBtn1Click()
{
    // The document cannot change before the run ends: this window and the notices are modal.
    const EditorLines document(m_host);
    const std::string script = Memo1->Text();
    const NoticeOperation notice = [this](const std::string& text) {
        m_host.ShowNotice(this, cp1254::Decode(text));
    };
    m_running = true;
    struct Finished {
        bool& running;
        ~Finished() { running = false; }
    } finished{m_running};
    std::string result =
        RunExtractionScript(LineView(script), document, ProgramFilePath(ProgramFile::Temp), Fetch, notice);
    LoadExtractionResult(std::move(result), ProgramFilePath(ProgramFile::Temp001),
                         [this](const QString& path) { m_host.LoadTextFile(path); });
}

void TExtract::FetchWithProgress(const std::string& url, const QString& path)
{
    FetchProgress progress(this, cp1254::Decode(url));
    FetchLimits limits = Limits;
    limits.keepGoing = [&progress](std::int64_t received) { return progress.Update(received); };
    bool stoppedAtLimit = false;
    DownloadUrlToFile(url, path, limits, &stoppedAtLimit);
    if (stoppedAtLimit)
        progress.StoppedAtLimit(limits.maxBytes);
}

void TExtract::BitBtn2Click() { done(mrAbort); }

void TExtract::BitBtn3Click()
{
    const QString page = HelpPagePath(Language);
    if (QFileInfo::exists(page))
        OpenUrl(QUrl::fromLocalFile(page));
}
