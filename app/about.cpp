#include "app/about.h"

#include "app/AppIcon.h"
#include "app/DialogFrame.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QUrl>

const QString TAboutBox::WebAddress = QStringLiteral("http://www.morvane.example/");
const QString TAboutBox::EmailAddress = QStringLiteral("info@morvane.example");

namespace {

const QColor kLinkBlue(0, 0, 255);
const QColor kLinkRed(255, 0, 0);

QFont BoxFont()
{
    // Where the design font is missing, a face of its narrow metrics keeps the fixed layout.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Nimbus Sans"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("Arial"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(11);
    return font;
}

QLabel* MakeLabel(QWidget* parent, const char* name, int x, int y, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

} // namespace

QIcon ApplicationIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(ApplicationIconImage(size)));
    return icon;
}

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("AboutBox"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("About Quorlex"));
    setFont(BoxFont());
    setFixedSize(234, 161);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(10, 10, 34, 34);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(11, 11, 32, 32);

    Label1 = MakeLabel(this, "Label1", 55, 8, QStringLiteral("Morvane Software"));
    Label2 = MakeLabel(this, "Label2", 55, 24, QStringLiteral("Quorlex 1.30"));
    Label3 = MakeLabel(this, "Label3", 55, 40, tr("This program is freeware."));
    Label4 = MakeLabel(this, "Label4", 55, 64, tr("Web Site:"));
    Label5 = MakeLabel(this, "Label5", 108, 64, QStringLiteral("www.morvane.example"));
    Label6 = MakeLabel(this, "Label6", 55, 80, tr("E-mail:"));
    Label7 = MakeLabel(this, "Label7", 108, 80, EmailAddress);
    Label8 = MakeLabel(this, "Label8", 55, 104, tr("Thank you for using it!"));
    Label5->setToolTip(WebAddress);
    Label7->setToolTip(tr("Mailto %1").arg(EmailAddress));
    for (QLabel* link : {Label5, Label7}) {
        // A font of their own, so colour and underline change on the links alone.
        link->setFont(BoxFont());
        link->setCursor(Qt::PointingHandCursor);
        SetLinkLook(link, false);
    }

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("&OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(55, 128, 106, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    setMouseTracking(true);
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        child->setMouseTracking(true);
        child->installEventFilter(this);
    }

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect r = frameGeometry();
        r.moveCenter(screen->geometry().center());
        move(r.topLeft());
    }
    FormCreate();
}

void TAboutBox::FormCreate()
{
    QIcon icon = QApplication::windowIcon();
    if (icon.isNull())
        icon = ApplicationIcon();
    Image1->setPixmap(icon.pixmap(32, 32));
}

void TAboutBox::SetLinkLook(QLabel* label, bool hot)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, hot ? kLinkRed : kLinkBlue);
    label->setPalette(palette);
    QFont font = label->font();
    font.setUnderline(hot);
    label->setFont(font);
}

void TAboutBox::FormMouseMove()
{
    SetLinkLook(Label5, false);
    SetLinkLook(Label7, false);
}

void TAboutBox::Label5MouseMove()
{
    SetLinkLook(Label5, true);
    SetLinkLook(Label7, false);
}

void TAboutBox::Label7MouseMove()
{
    SetLinkLook(Label7, true);
    SetLinkLook(Label5, false);
}

// The shell's answer is not looked at: a link that cannot be opened does nothing.
void TAboutBox::Label5Click() { QDesktopServices::openUrl(QUrl(WebAddress)); }

void TAboutBox::Label7Click() { QDesktopServices::openUrl(QUrl(QStringLiteral("mailto:") + EmailAddress)); }

void TAboutBox::mouseMoveEvent(QMouseEvent* e)
{
    FormMouseMove();
    QDialog::mouseMoveEvent(e);
}

// Sent before the window is mapped, so the window manager frames it right from the start.
void TAboutBox::showEvent(QShowEvent* e)
{
    if (!e->spontaneous())
        UseDialogFrameWithoutButtons(*this);
    QDialog::showEvent(e);
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::MouseMove) {
        if (watched == Label5) {
            Label5MouseMove();
            return true;
        }
        if (watched == Label7) {
            Label7MouseMove();
            return true;
        }
        // Label8 and the bevel have no handler: the move must not reach the box either.
        if (watched == Label8 || watched == Bevel1)
            return true;
        FormMouseMove();
        return QDialog::eventFilter(watched, e);
    }
    if (e->type() == QEvent::MouseButtonRelease && (watched == Label5 || watched == Label7)) {
        auto* mouse = static_cast<QMouseEvent*>(e);
        auto* label = static_cast<QLabel*>(watched);
        if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
            if (label == Label5)
                Label5Click();
            else
                Label7Click();
        }
        return true;
    }
    return QDialog::eventFilter(watched, e);
}
