#pragma once

#include "commands/FindOptions.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless Find and Replace dialogs of the main window. They only collect the texts and
// the options and report the buttons; the window does the searching. Created once, they keep
// their texts and options for the run. Match case starts checked, so an untouched dialog
// searches exactly.
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxText = 255;

    explicit TFindDialog(QWidget* parent);
    QString FindText() const;
    void SetFindText(const QString& text);
    FindOptions Options() const;
    // Shows the dialog, or brings it to the front when it is open already.
    void Present();

signals:
    void FindNext();

private:
    QLineEdit* m_find;
    QPushButton* m_findNext;
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QCheckBox* m_wrapAround;
    QCheckBox* m_regex;
    QRadioButton* m_up;
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
    // Replace has no direction: `up` is always false.
    FindOptions Options() const;
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
    QCheckBox* m_wholeWord;
    QCheckBox* m_matchCase;
    QCheckBox* m_wrapAround;
    QCheckBox* m_regex;
};
