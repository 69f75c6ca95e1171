#pragma once

#include <QDialog>
#include <QIcon>

class QFrame;
class QLabel;
class QPushButton;

// The program's icon: a page with lines of text and the letter Q.
QIcon ApplicationIcon();

// Help > About: maker, product and version, a notice, and two links that light up under
// the pointer. Made fresh for every showing; it deletes itself when it closes.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    static const QString WebAddress;
    static const QString EmailAddress;

    QFrame* Bevel1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLabel *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    void Label5Click();
    void Label7Click();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void FormCreate();
    void FormMouseMove();
    void Label5MouseMove();
    void Label7MouseMove();
    static void SetLinkLook(QLabel* label, bool hot);
};
