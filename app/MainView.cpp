// View and appearance, printing, version history and the About box.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "editor/Memo.h"
#include "app/PrintDocument.h"
#include "app/about.h"
#include "document/TextDocument.h"
#include "platform/ColorNames.h"
#include "platform/Error.h"
#include "platform/NativePath.h"
#include "platform/ProgramFolder.h"

#include <QAction>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPrinter>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kSmallestPoints = 4;
constexpr double kLargestPoints = 96;

// System colour indices of the settings file and the palette roles that play their part here.
QPalette::ColorRole RoleOfSystemColor(int index)
{
    switch (index) {
    case 0: return QPalette::Button;           // scroll bar
    case 1: return QPalette::Dark;             // desktop
    case 2: return QPalette::Highlight;        // active caption
    case 3: return QPalette::Mid;              // inactive caption
    case 4: return QPalette::Window;           // menu
    case 5: return QPalette::Base;             // window
    case 6: return QPalette::Shadow;           // window frame
    case 7: return QPalette::WindowText;       // menu text
    case 8: return QPalette::Text;             // window text
    case 9: return QPalette::HighlightedText;  // caption text
    case 10: return QPalette::Window;          // active border
    case 11: return QPalette::Window;          // inactive border
    case 12: return QPalette::Mid;             // application work space
    case 13: return QPalette::Highlight;
    case 14: return QPalette::HighlightedText;
    case 15: return QPalette::Button;          // button face
    case 16: return QPalette::Dark;            // button shadow
    case 17: return QPalette::PlaceholderText; // grey text
    case 18: return QPalette::ButtonText;
    case 19: return QPalette::WindowText;      // inactive caption text
    case 20: return QPalette::Light;           // button highlight
    case 21: return QPalette::Shadow;          // 3-D dark shadow
    case 22: return QPalette::Midlight;        // 3-D light
    case 23: return QPalette::ToolTipText;
    case 24: return QPalette::ToolTipBase;
    case 26: return QPalette::Link;            // hot-tracked item
    case 27: return QPalette::Highlight;       // gradient of the active caption
    case 28: return QPalette::Midlight;        // gradient of the inactive caption
    case 29: return QPalette::Highlight;       // menu highlight
    case 30: return QPalette::Window;          // menu bar
    default: return QPalette::Base;
    }
}

} // namespace

QColor TAppForm::ColorOfValue(std::uint32_t colorValue) const
{
    const QPalette system = QGuiApplication::palette();
    if (colors::IsSystemColor(colorValue))
        return system.color(RoleOfSystemColor(colors::SystemIndex(colorValue)));
    if (colorValue == colors::kNone || colorValue == colors::kDefault)
        return system.color(QPalette::Base);
    return QColor(static_cast<int>(colorValue & 0xFF), static_cast<int>((colorValue >> 8) & 0xFF),
                  static_cast<int>((colorValue >> 16) & 0xFF));
}

void TAppForm::ApplyWordWrap(bool on)
{
    // Switching the wrap starts the one-level undo afresh, as it always has; a kept history
    // stays, as in other editors.
    const bool changed = Memo1->WordWrap() != on;
    Memo1->SetWordWrap(on);
    if (changed && !m_document->KeepsHistory())
        m_document->ForgetUndo();
}

void TAppForm::SetMemoBackground(std::uint32_t colorValue)
{
    m_memoBackground = colorValue;
    Memo1->SetBackgroundColor(ColorOfValue(colorValue));
}

// The steps keep their order, so a failed write leaves done what came before it: the mark for
// word wrap (the editor does not follow), the bar itself for the status and tool bars.
void TAppForm::Wordwrap1Click()
{
    const bool on = !Wordwrap1->isChecked();
    Wordwrap1->setChecked(on);
    m_store->WriteWordWrap(on);
    m_options.wordWrap = on;
    ApplyWordWrap(on);
}

void TAppForm::StatusBar1Click()
{
    const bool on = !StatusBar1->isChecked();
    StatusBar1->setChecked(on);
    StatusBar->setVisible(on);
    m_store->WriteStatusBar(on);
    m_options.statusBar = on;
}

void TAppForm::ToolBar1Click()
{
    const bool on = !ToolBar1->isChecked();
    ToolBar1->setChecked(on);
    ToolBar->setVisible(on);
    m_store->WriteToolBar(on);
    m_options.toolBar = on;
}

// Borderless over the whole screen (full-screen state rather than maximised, so that desktop
// panels do not stay on top); the menu, tool and status bars stay as they are. There is no
// task-bar button to hide on this desktop.
void TAppForm::FullScreen1Click()
{
    const bool shown = isVisible();
    if (!FullScreen1->isChecked()) {
        m_positionBeforeFullScreen = pos();
        setWindowFlag(Qt::FramelessWindowHint, true);
        // The screen's rectangle as well as the state: without a window manager nobody else
        // would resize the window.
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
        FullScreen1->setChecked(true);
    } else {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        ApplyStartSize();
        move(m_positionBeforeFullScreen);
        setWindowFlag(Qt::FramelessWindowHint, false);
        FullScreen1->setChecked(false);
    }
    // Changing the frame hides the window; it comes back with the same contents.
    if (shown) {
        show();
        activateWindow(); // the re-made window keeps the keyboard (menu keys, shortcuts)
    }
}

bool TAppForm::Memo1KeyDown(QKeyEvent* key)
{
    if (key->key() != Qt::Key_Escape || !FullScreen1->isChecked())
        return false;
    FullScreen1Click();
    return true;
}

void TAppForm::BackgroundColor1Click()
{
    const std::optional<QColor> chosen = Dialogs().Color(this, ColorOfValue(m_memoBackground));
    if (!chosen)
        return;
    const std::uint32_t value = colors::FromRgb(chosen->red(), chosen->green(), chosen->blue());
    SetMemoBackground(value);
    m_store->WriteBackgroundColor(value);
    m_options.backgroundColor = colors::ToSettingText(value);
}

// For this run only: the next start has the design font again. The zoom stays on top of it.
void TAppForm::FontProperties1Click()
{
    if (const std::optional<QFont> chosen = Dialogs().Font(this, m_baseFont)) {
        m_baseFont = *chosen;
        ApplyZoom();
    }
}

double TAppForm::BasePoints() const
{
    if (m_baseFont.pointSizeF() > 0)
        return m_baseFont.pointSizeF();
    return m_baseFont.pixelSize() * 72.0 / std::max(1, Memo1->logicalDpiY());
}

// One setFont per step, so the editor builds its glyph tables once.
void TAppForm::ApplyZoom()
{
    QFont font = m_baseFont;
    font.setPointSizeF(std::clamp(BasePoints() + m_options.zoom, kSmallestPoints, kLargestPoints));
    if (font != Memo1->font())
        Memo1->setFont(font);
}

void TAppForm::ZoomBy(int steps)
{
    const double base = BasePoints();
    const double now = std::clamp(base + m_options.zoom, kSmallestPoints, kLargestPoints);
    const double next = std::clamp(now + steps, kSmallestPoints, kLargestPoints);
    if (next != now)
        SetZoom(static_cast<int>(std::lround(next - base)));
}

void TAppForm::SetZoom(int points)
{
    if (points == m_options.zoom)
        return;
    m_options.zoom = points;
    ApplyZoom();
    m_store->WriteZoom(points);
}

void TAppForm::ZoomIn1Click() { ZoomBy(1); }
void TAppForm::ZoomOut1Click() { ZoomBy(-1); }
void TAppForm::ResetZoom1Click() { SetZoom(0); }

QPrinter& TAppForm::Printer()
{
    if (!m_printer)
        m_printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

QString TAppForm::PrintTitle() const
{
    const QString& name = m_document->FileName();
    return name.isEmpty() ? AppTitle : ShownPath(FileNamePart(name));
}

// The font of Font Properties without the zoom: zooming is for the screen.
void TAppForm::PrintPages(QPrinter& printer, const QString& title)
{
    try {
        PrintLines(printer, m_baseFont, Memo1->palette().color(QPalette::Text), title, m_document->Count(),
                   [this](int i) { return m_document->Get(i); });
    } catch (...) {
        // What went wrong inside the printer is not the user's business here.
        throw QuorlexError(tr("Printer not found!").toStdString());
    }
}

void TAppForm::FilePrint1Execute()
{
    try {
        QPrinter& printer = Printer();
        const QString title = PrintTitle();
        NameJobAfterDocument(printer, title);
        if (!Dialogs().Print(this, &printer))
            return;
        PrintPages(printer, title);
    } catch (...) {
        throw QuorlexError(tr("Printer not found!").toStdString());
    }
}

// The same pages as Print, drawn by the same code; the dialog's own Print button prints them.
void TAppForm::FilePrintPreview1Execute()
{
    QPrinter& printer = Printer();
    const QString title = PrintTitle();
    NameJobAfterDocument(printer, title);
    Dialogs().PrintPreview(this, &printer, [this, title](QPrinter* target) {
        RunGuarded([&] { PrintPages(*target, title); });
    });
}

void TAppForm::FilePrintSetup1Execute() { Dialogs().PageSetup(this, &Printer()); }

// The viewer's answer is not looked at: a missing file or viewer shows nothing from here.
void TAppForm::VersionHistory1Click()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(ProgramFilePath(ProgramFile::VersionHistory)));
}

void TAppForm::HelpAbout1Execute()
{
    auto* box = new TAboutBox(this); // deletes itself when it closes
    box->exec();
}
