#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class SeparateHost;

// The line-parameter dialog: created once at start-up and shown for Separate Lines and the
// two Insert Text commands. It asks its host for the command's mode when it is shown (for
// its captions) and hands the entered text to the host when OK is pressed.
class TSeparate : public QDialog {
    Q_OBJECT
public:
    TSeparate(QWidget* parent, SeparateHost& host);

    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    void FormShow();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    SeparateHost& m_host;
};
