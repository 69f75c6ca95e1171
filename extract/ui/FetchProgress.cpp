#include "extract/ui/FetchProgress.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

FetchProgress::FetchProgress(QWidget* parent, const QString& url)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FetchProgress"));
    setWindowTitle(tr("Fetching"));
    setWindowModality(Qt::ApplicationModal);

    UrlLabel = new QLabel(this);
    UrlLabel->setTextFormat(Qt::PlainText); // a URL may hold '<'
    UrlLabel->setText(url);
    UrlLabel->setMinimumWidth(360);
    UrlLabel->setMaximumWidth(560);
    UrlLabel->setWordWrap(true);
    BytesLabel = new QLabel(this);
    BytesLabel->setTextFormat(Qt::PlainText);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0); // the size of the body is not known
    busy->setTextVisible(false);
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("Cancel"));
    connect(CancelButton, &QPushButton::clicked, this, &FetchProgress::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(UrlLabel);
    layout->addWidget(BytesLabel);
    layout->addWidget(busy);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    Update(0);
    m_running.start();
}

bool FetchProgress::Update(std::int64_t received)
{
    BytesLabel->setText(tr("%1 bytes received").arg(QLocale::system().toString(static_cast<qlonglong>(received))));
    if (!isVisible() && !m_cancelled && m_running.isValid() && m_running.elapsed() >= kShowAfterMs) {
        show();
        CancelButton->setFocus();
    }
    // Until the dialog is up, clicks and keys wait: they must not reach the windows below
    // while a script runs.
    QCoreApplication::processEvents(isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return !m_cancelled;
}

void FetchProgress::StoppedAtLimit(std::int64_t limit)
{
    const QLocale locale = QLocale::system();
    BytesLabel->setText(tr("The page is bigger than %1: only its first %2 bytes were fetched.")
                            .arg(locale.formattedDataSize(limit, 0, QLocale::DataSizeIecFormat),
                                 locale.toString(static_cast<qlonglong>(limit))));
    BytesLabel->setWordWrap(true);
    CancelButton->setText(tr("OK"));
    m_stopped = true;
    CancelButton->setFocus();
    exec();
}

void FetchProgress::reject()
{
    if (m_stopped) {
        QDialog::reject();
        return;
    }
    m_cancelled = true;
    hide();
}
