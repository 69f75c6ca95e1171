// View and appearance, printing, version history and the About box.
#include "app/MainWindow.h"
#include "app/Memo.h"
#include "platform/ColorNames.h"

#include <QKeyEvent>
#include <QPalette>

void TAppForm::ApplyWordWrap(bool on)
{
    Memo1->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(on ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

void TAppForm::SetMemoBackground(std::uint32_t colorValue)
{
    m_memoBackground = colorValue;
    QPalette p = Memo1->palette();
    QColor color;
    if (colors::IsSystemColor(colorValue)) {
        color = palette().color(QPalette::Base);
    } else if (colorValue == colors::kNone || colorValue == colors::kDefault) {
        color = palette().color(QPalette::Base);
    } else {
        color = QColor(static_cast<int>(colorValue & 0xFF), static_cast<int>((colorValue >> 8) & 0xFF),
                       static_cast<int>((colorValue >> 16) & 0xFF));
    }
    p.setColor(QPalette::Base, color);
    Memo1->setPalette(p);
}

void TAppForm::Wordwrap1Click() {}
void TAppForm::StatusBar1Click() {}
void TAppForm::ToolBar1Click() {}
void TAppForm::FullScreen1Click() {}
void TAppForm::BackgroundColor1Click() {}
void TAppForm::FontProperties1Click() {}
void TAppForm::FilePrint1Execute() {}
void TAppForm::FilePrintSetup1Execute() {}
void TAppForm::VersionHistory1Click() {}
void TAppForm::HelpAbout1Execute() {}
bool TAppForm::Memo1KeyDown(QKeyEvent*) { return false; }
