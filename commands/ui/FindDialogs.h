#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless Find and Replace dialogs of the main window. They only collect the texts and
// report the buttons; the window does the searching. The direction, match-case and
// whole-word options are shown as the standard dialogs show them, and read by nobody: the
// search always runs forward, exact and case-sensitive.
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxText = 255;

    explicit TFindDialog(QWidget* parent);
    QString FindText() const;
    void SetFindText(const QString& text);
    // Shows the dialog, or brings it to the front when it is open already.
    void Present();

signals:
    void FindNext();

private:
    QLineEdit* m_find;
    QPushButton* m_findNext;
};

class TReplaceDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxText = 255;

    explicit TReplaceDialog(QWidget* parent);
    QString FindText() const;
    QString ReplaceText() const;
    void SetFindText(const QString& text);
    void SetReplaceText(const QString& text);
    void Present();

signals:
    void FindNext();
    void Replace();
    void ReplaceAll();

private:
    QLineEdit* m_find;
    QLineEdit* m_replace;
    QPushButton* m_findNext;
    QPushButton* m_replaceOne;
    QPushButton* m_replaceAll;
};
