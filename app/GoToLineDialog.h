#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

// Asks for a line number from 1 to the document's last line. OK with a number out of range, or
// with no number, keeps the dialog open and says why.
class TGoToLineDialog : public QDialog {
    Q_OBJECT
public:
    // `lines`: the last line there is; `current`: the caret's line, offered first.
    TGoToLineDialog(int lines, int current, QWidget* parent);

    // The line chosen (1-based), once accepted.
    int Line() const { return m_line; }
    void accept() override;

    QLineEdit* Edit1 = nullptr;
    QLabel* Reason = nullptr;

private:
    int m_lines;
    int m_line = 0;
};
