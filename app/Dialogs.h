#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <functional>
#include <optional>

class QWidget;
class QPrinter;

// Every standard dialog and message box a command shows goes through this seam, so tests
// can answer them with scripted replies instead of blocking on a modal window.
class IDialogs {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~IDialogs() = default;

    // "Confirmation", Yes / No / Cancel, question icon.
    virtual Answer AskSave(QWidget* parent, const QString& text) = 0;
    // Open dialog: accepts names of files that do not exist. nullopt when cancelled.
    virtual std::optional<QString> OpenFileName(QWidget* parent) = 0;
    // Save dialog with its name field preset; nullopt when cancelled. Does not ask before
    // replacing a file.
    virtual std::optional<QString> SaveFileName(QWidget* parent, const QString& presetName) = 0;
    // "Information" box with the information icon.
    virtual void Information(QWidget* parent, const QString& text) = 0;
    // Plain notice titled with the application title.
    virtual void Notice(QWidget* parent, const QString& title, const QString& text) = 0;
    // The standard error box.
    virtual void Error(QWidget* parent, const QString& title, const QString& text) = 0;
    // A warning titled with the application title: something is wrong that no command
    // failed over (the recovery copies cannot be written).
    virtual void Warning(QWidget* parent, const QString& title, const QString& text) = 0;
    virtual std::optional<QColor> Color(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<QFont> Font(QWidget* parent, const QFont& initial) = 0;
    // Print and page set-up dialogs on `printer`; false when cancelled.
    virtual bool Print(QWidget* parent, QPrinter* printer) = 0;
    virtual bool PageSetup(QWidget* parent, QPrinter* printer) = 0;
    // The print preview of `printer`'s pages, drawn by `paint` on the printer it is given
    // (the preview's, or the chosen printer when the user prints from it).
    virtual void PrintPreview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint) = 0;
    // A question with Yes and No, titled `title`; closing the box answers No. `defaultAnswer`
    // (Yes or No) is what Enter gives: No where Yes would throw the user's work away.
    virtual Answer AskYesNo(QWidget* parent, const QString& title, const QString& text,
                            Answer defaultAnswer = Answer::Yes) = 0;
    // The offer of a recovery copy: Yes restores it, No discards it, Cancel (the box closed)
    // keeps it for the next start.
    virtual Answer AskRestore(QWidget* parent, const QString& title, const QString& text) = 0;
};

// The real dialogs.
class QtDialogs : public IDialogs {
public:
    Answer AskSave(QWidget* parent, const QString& text) override;
    std::optional<QString> OpenFileName(QWidget* parent) override;
    std::optional<QString> SaveFileName(QWidget* parent, const QString& presetName) override;
    void Information(QWidget* parent, const QString& text) override;
    void Notice(QWidget* parent, const QString& title, const QString& text) override;
    void Error(QWidget* parent, const QString& title, const QString& text) override;
    void Warning(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QColor> Color(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> Font(QWidget* parent, const QFont& initial) override;
    bool Print(QWidget* parent, QPrinter* printer) override;
    bool PageSetup(QWidget* parent, QPrinter* printer) override;
    void PrintPreview(QWidget* parent, QPrinter* printer, const std::function<void(QPrinter*)>& paint) override;
    Answer AskYesNo(QWidget* parent, const QString& title, const QString& text,
                    Answer defaultAnswer = Answer::Yes) override;
    Answer AskRestore(QWidget* parent, const QString& title, const QString& text) override;
};
