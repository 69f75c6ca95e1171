#pragma once

#include <QDialog>

#include <cstdint>

class QLabel;
class QProgressBar;

// What the user sees while a long save runs, in the style of the fetch's window: the file's
// name, the bytes written so far and a bar. It never takes the focus, so keys typed meanwhile
// stay the editor's, and it has no Cancel: a save ends with the file complete or untouched.
class SaveProgress : public QDialog {
    Q_OBJECT
public:
    SaveProgress(QWidget* parent, const QString& path, std::int64_t total);

    void Update(std::int64_t written);

    QLabel* NameLabel = nullptr;
    QLabel* BytesLabel = nullptr;
    QProgressBar* Bar = nullptr;

private:
    std::int64_t m_total;
};
