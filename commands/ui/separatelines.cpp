#include "commands/ui/separatelines.h"

#include "commands/ui/SeparateHost.h"
#include "platform/Cp1254.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>

#include <algorithm>

TSeparate::TSeparate(QWidget* parent, SeparateHost& host)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_host(host)
{
    setObjectName(QStringLiteral("Separate"));
    setWindowTitle(tr("Separate Lines"));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(8);
    setFont(font);
    setFixedSize(234, 75);

    Label1 = new QLabel(tr("Between lines:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 8);
    Label1->adjustSize();

    Edit1 = new QLineEdit(QStringLiteral(", "), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(84, 5, 142, 21);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), tr("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(84, 42, 73, 25);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TSeparate::BitBtn1Click);
}

void TSeparate::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    FormShow();
}

void TSeparate::FormShow()
{
    const QString mode = m_host.LineParameterMode();
    if (mode == u"separate") {
        setWindowTitle(tr("Separate Lines"));
        Label1->setText(tr("Between lines:"));
        Edit1->setText(QStringLiteral(", "));
    } else if (mode == u"insertbeginning" || mode == u"insertend") {
        setWindowTitle(mode == u"insertbeginning" ? tr("Insert To Beginning")
                                                  : tr("Insert To End"));
        Label1->setText(tr("Text:"));
        Edit1->clear();
    }
    Label1->adjustSize();
    // Where Tahoma is missing the stand-in font is wider: move the box and button over
    // rather than cover the caption.
    const int left = std::max(84, Label1->x() + Label1->width() + 4);
    Edit1->move(left, Edit1->y());
    BitBtn1->move(left, BitBtn1->y());
    setFixedSize(left + 150, 75);
    Edit1->setFocus();
    Edit1->selectAll();
}

void TSeparate::BitBtn1Click()
{
    const std::string text = cp1254::Encode(Edit1->text());
    m_host.RunGuarded([&] { m_host.ApplySeparateMode(text); });
    accept();
}
