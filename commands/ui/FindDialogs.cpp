#include "commands/ui/FindDialogs.h"

#include "platform/Cp1254.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <initializer_list>

namespace {

// A character the document's code page cannot hold is shown as the '?' it would become, so
// the text searched for is the text the user sees.
void KeepEncodable(QLineEdit* edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString& text) {
        const QString held = cp1254::Decode(cp1254::Encode(text));
        if (held == text)
            return;
        const int caret = edit->cursorPosition();
        edit->setText(held.left(TFindDialog::kMaxText));
        edit->setCursorPosition(std::min(caret, static_cast<int>(edit->text().size())));
    });
}

QLineEdit* TextField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaxLength(TFindDialog::kMaxText);
    edit->setMinimumWidth(220);
    KeepEncodable(edit);
    return edit;
}

QPushButton* Button(QWidget* parent, const QString& caption, const char* name)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QCheckBox* Option(QWidget* parent, const QString& caption, const char* name, bool checked = false)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(checked);
    return box;
}

// The check boxes both dialogs share, top to bottom.
QVBoxLayout* OptionColumn(std::initializer_list<QCheckBox*> boxes)
{
    auto* column = new QVBoxLayout;
    for (QCheckBox* box : boxes)
        column->addWidget(box);
    return column;
}

void BringToFront(QDialog* dialog)
{
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}

} // namespace

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(tr("Find"));
    setModal(false);

    m_find = TextField(this, "FindText");
    auto* label = new QLabel(tr("Fi&nd what:"), this);
    label->setBuddy(m_find);
    m_wholeWord = Option(this, tr("Match &whole word only"), "WholeWord");
    m_matchCase = Option(this, tr("Match &case"), "MatchCase", true);
    m_wrapAround = Option(this, tr("Wrap ar&ound"), "WrapAround");
    m_regex = Option(this, tr("Regular e&xpression"), "RegularExpression");
    auto* direction = new QGroupBox(tr("Direction"), this);
    m_up = new QRadioButton(tr("&Up"), direction);
    m_up->setObjectName(QStringLiteral("Up"));
    auto* down = new QRadioButton(tr("&Down"), direction);
    down->setObjectName(QStringLiteral("Down"));
    down->setChecked(true);
    auto* directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(m_up);
    directionLayout->addWidget(down);

    m_findNext = Button(this, tr("&Find Next"), "FindNext");
    m_findNext->setDefault(true);
    auto* cancel = Button(this, tr("Cancel"), "Cancel");

    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_find, 0, 1, 1, 2);
    grid->addLayout(OptionColumn({m_wholeWord, m_matchCase, m_wrapAround, m_regex}), 1, 0, 1, 2, Qt::AlignTop);
    grid->addWidget(direction, 1, 2, Qt::AlignTop);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 3, 2, 1);

    // An empty text finds nothing: the standard dialog offers no Find Next for it.
    m_findNext->setEnabled(false);
    connect(m_find, &QLineEdit::textChanged, this, [this](const QString& t) { m_findNext->setEnabled(!t.isEmpty()); });
    connect(m_findNext, &QPushButton::clicked, this, &TFindDialog::FindNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFindDialog::FindText() const { return m_find->text(); }

void TFindDialog::SetFindText(const QString& text) { m_find->setText(text.left(kMaxText)); }

FindOptions TFindDialog::Options() const
{
    FindOptions o;
    o.matchCase = m_matchCase->isChecked();
    o.wholeWord = m_wholeWord->isChecked();
    o.up = m_up->isChecked();
    o.wrapAround = m_wrapAround->isChecked();
    o.regex = m_regex->isChecked();
    return o;
}

void TFindDialog::Present()
{
    BringToFront(this);
    m_find->setFocus();
    m_find->selectAll();
}

TReplaceDialog::TReplaceDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("ReplaceDialog1"));
    setWindowTitle(tr("Replace"));
    setModal(false);

    m_find = TextField(this, "FindText");
    m_replace = TextField(this, "ReplaceText");
    auto* findLabel = new QLabel(tr("Fi&nd what:"), this);
    findLabel->setBuddy(m_find);
    auto* replaceLabel = new QLabel(tr("Re&place with:"), this);
    replaceLabel->setBuddy(m_replace);
    m_wholeWord = Option(this, tr("Match &whole word only"), "WholeWord");
    m_matchCase = Option(this, tr("Match &case"), "MatchCase", true);
    m_wrapAround = Option(this, tr("Wrap ar&ound"), "WrapAround");
    m_regex = Option(this, tr("Regular e&xpression"), "RegularExpression");

    m_findNext = Button(this, tr("&Find Next"), "FindNext");
    m_findNext->setDefault(true);
    m_replaceOne = Button(this, tr("&Replace"), "Replace");
    m_replaceAll = Button(this, tr("Replace &All"), "ReplaceAll");
    auto* cancel = Button(this, tr("Cancel"), "Cancel");

    auto* grid = new QGridLayout(this);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(m_find, 0, 1);
    grid->addWidget(replaceLabel, 1, 0);
    grid->addWidget(m_replace, 1, 1);
    auto* options = OptionColumn({m_wholeWord, m_matchCase, m_wrapAround, m_regex});
    options->insertStretch(0);
    grid->addLayout(options, 2, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(m_replaceOne);
    buttons->addWidget(m_replaceAll);
    buttons->addWidget(cancel);
    buttons->addStretch();
    grid->addLayout(buttons, 0, 2, 3, 1);

    auto enable = [this](const QString& t) {
        for (QPushButton* b : {m_findNext, m_replaceOne, m_replaceAll})
            b->setEnabled(!t.isEmpty());
    };
    enable(QString());
    connect(m_find, &QLineEdit::textChanged, this, enable);
    connect(m_findNext, &QPushButton::clicked, this, &TReplaceDialog::FindNext);
    connect(m_replaceOne, &QPushButton::clicked, this, &TReplaceDialog::Replace);
    connect(m_replaceAll, &QPushButton::clicked, this, &TReplaceDialog::ReplaceAll);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString TReplaceDialog::FindText() const { return m_find->text(); }
QString TReplaceDialog::ReplaceText() const { return m_replace->text(); }
void TReplaceDialog::SetFindText(const QString& text) { m_find->setText(text.left(kMaxText)); }
void TReplaceDialog::SetReplaceText(const QString& text) { m_replace->setText(text.left(kMaxText)); }

FindOptions TReplaceDialog::Options() const
{
    FindOptions o;
    o.matchCase = m_matchCase->isChecked();
    o.wholeWord = m_wholeWord->isChecked();
    o.wrapAround = m_wrapAround->isChecked();
    o.regex = m_regex->isChecked();
    return o;
}

void TReplaceDialog::Present()
{
    BringToFront(this);
    m_find->setFocus();
    m_find->selectAll();
}
