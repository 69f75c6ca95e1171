#pragma once

#include <QDialog>
#include <QElapsedTimer>

#include <cstdint>

class QLabel;
class QPushButton;

// What the user sees while a script fetches a page: the URL, the bytes received so far and
// Cancel. It shows itself once the fetch has run for a moment (a quick one shows nothing)
// and blocks every other window of the program until the fetch ends.
class FetchProgress : public QDialog {
    Q_OBJECT
public:
    FetchProgress(QWidget* parent, const QString& url);

    // The fetch's keep-going question: shows the count, lets the windows paint and the
    // dialog answer, and returns false once the user has cancelled.
    bool Update(std::int64_t received);
    // The fetch ended at the size limit: says so, with Cancel turned into OK, and returns once
    // the user has read it (the script goes on with what arrived).
    void StoppedAtLimit(std::int64_t limit);

    QLabel* UrlLabel = nullptr;
    QLabel* BytesLabel = nullptr;
    QPushButton* CancelButton = nullptr;

    // How long a fetch runs before the dialog appears.
    static constexpr int kShowAfterMs = 300;

public slots:
    void reject() override;

private:
    QElapsedTimer m_running;
    bool m_cancelled = false;
    bool m_stopped = false; // showing that the limit ended the fetch
};
