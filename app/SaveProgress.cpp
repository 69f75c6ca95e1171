#include "app/SaveProgress.h"

#include "platform/NativePath.h"

#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QVBoxLayout>

SaveProgress::SaveProgress(QWidget* parent, const QString& path, std::int64_t total)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowDoesNotAcceptFocus),
      m_total(total)
{
    setObjectName(QStringLiteral("SaveProgress"));
    setWindowTitle(tr("Saving"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);

    NameLabel = new QLabel(this);
    NameLabel->setTextFormat(Qt::PlainText); // a file name may hold '<'
    NameLabel->setText(ShownPath(path));
    NameLabel->setMinimumWidth(360);
    NameLabel->setMaximumWidth(560);
    NameLabel->setWordWrap(true);
    BytesLabel = new QLabel(this);
    BytesLabel->setTextFormat(Qt::PlainText);
    Bar = new QProgressBar(this);
    Bar->setRange(0, 1000);
    Bar->setTextVisible(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NameLabel);
    layout->addWidget(BytesLabel);
    layout->addWidget(Bar);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Update(0);
}

void SaveProgress::Update(std::int64_t written)
{
    const QLocale locale = QLocale::system();
    BytesLabel->setText(tr("%1 of %2 bytes written")
                            .arg(locale.toString(static_cast<qlonglong>(written)),
                                 locale.toString(static_cast<qlonglong>(m_total))));
    Bar->setValue(m_total > 0 ? static_cast<int>(written * 1000 / m_total) : 0);
}
