#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TAppForm;

// The line-parameter dialog: created once at start-up and shown for Separate Lines and the
// two Insert Text commands. It reads the main window's SeparateMode when it is shown (for
// its captions) and when OK is pressed (for the operation).
class TSeparate : public QDialog {
    Q_OBJECT
public:
    explicit TSeparate(QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    void FormShow();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TAppForm* Form() const;
};
