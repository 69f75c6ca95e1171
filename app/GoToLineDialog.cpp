#include "app/GoToLineDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

TGoToLineDialog::TGoToLineDialog(int lines, int current, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_lines(std::max(1, lines))
{
    setObjectName(QStringLiteral("GoToLine"));
    setWindowTitle(tr("Go To Line"));
    auto* label = new QLabel(tr("&Line number (1 - %1):").arg(m_lines), this);
    Edit1 = new QLineEdit(QString::number(current), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->selectAll();
    label->setBuddy(Edit1);
    Reason = new QLabel(this);
    Reason->setObjectName(QStringLiteral("Reason"));
    Reason->setWordWrap(true);
    Reason->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TGoToLineDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TGoToLineDialog::reject);
    // A changed number makes the last complaint stale.
    connect(Edit1, &QLineEdit::textEdited, Reason, &QWidget::hide);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Edit1);
    layout->addWidget(Reason);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Edit1->setMinimumWidth(fontMetrics().horizontalAdvance(label->text()));
}

void TGoToLineDialog::accept()
{
    const QString text = Edit1->text().trimmed();
    const bool number = !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    QString why;
    if (!number) {
        why = text.isEmpty() ? tr("Type a line number.")
                             : tr("'%1' is not a line number.").arg(text);
    } else {
        bool fits = false;
        const qlonglong n = text.toLongLong(&fits);
        if (!fits || n < 1 || n > m_lines)
            why = tr("There is no line %1: the lines run from 1 to %2.").arg(text, QString::number(m_lines));
        else
            m_line = static_cast<int>(n);
    }
    if (!why.isEmpty()) {
        Reason->setText(why);
        Reason->show();
        Edit1->setFocus();
        Edit1->selectAll();
        return;
    }
    QDialog::accept();
}
