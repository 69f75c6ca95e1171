#pragma once

#include "app/Dialogs.h"

#include <QStringList>

#include <deque>
#include <optional>

// Answers every dialog from queues the test fills, and records what was shown. A dialog
// with no scripted answer fails the test rather than block.
class ScriptedDialogs : public IDialogs {
public:
    std::deque<Answer> saveAnswers;
    std::deque<std::optional<QString>> openNames;
    std::deque<std::optional<QString>> saveNames;
    std::deque<std::optional<QColor>> colors;
    std::deque<std::optional<QFont>> fonts;
    std::deque<bool> printAnswers;

    QStringList prompts;       // texts of the save prompts
    QStringList savePresets;   // name fields the save dialog was shown with
    QStringList informations;  // texts of the information boxes
    QStringList notices;       // texts of the notice boxes
    QStringList noticeTitles;
    QStringList errors;        // texts of the error boxes
    QStringList errorTitles;
    QStringList warnings;      // texts of the warning boxes
    QStringList printDocNames;  // the job's name and output file when the print dialog shows
    QStringList printFileNames;
    std::deque<Answer> yesNoAnswers;
    std::deque<Answer> restoreAnswers;
    QStringList questions;     // texts of the Yes / No questions
    QList<Answer> questionDefaults; // what Enter would have answered each
    QStringList restoreOffers; // texts of the recovery offers
    int unexpected = 0;        // dialogs shown without a scripted answer
    int previews = 0;          // print previews shown; each paints once on the window's printer

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
