#pragma once

// Window tests reach the main window as a user does: its actions and child windows by object
// name or type, its document through the document model.
#include "app/MainWindow.h"
#include "commands/ui/FindDialogs.h"
#include "document/TextDocument.h"
#include "editor/Memo.h"
#include "tests/support/MemoAccess.h"

#include <QAction>
#include <QStatusBar>
#include <QToolBar>
#include <QtGlobal>

#include <memory>

inline QObject& ObjectOf(QObject& o) { return o; }
inline QObject& ObjectOf(QObject* o) { return *o; }
template <class T>
QObject& ObjectOf(const std::unique_ptr<T>& o)
{
    return *o;
}

// The action of that object name; a test that names a missing one stops at once.
template <class Form>
QAction* Act(Form&& form, const char* name)
{
    auto* action = ObjectOf(form).template findChild<QAction*>(QString::fromLatin1(name));
    if (!action)
        qFatal("no action %s", name);
    return action;
}

template <class Form>
TFindDialog& FindDialogOf(Form&& form)
{
    QObject& o = ObjectOf(form);
    if (!o.findChild<TFindDialog*>())
        Act(form, "Find1")->trigger();
    return *o.findChild<TFindDialog*>();
}

template <class Form>
TReplaceDialog& ReplaceDialogOf(Form&& form)
{
    QObject& o = ObjectOf(form);
    if (!o.findChild<TReplaceDialog*>())
        Act(form, "Replace1")->trigger();
    return *o.findChild<TReplaceDialog*>();
}

template <class Form>
QToolBar* ToolBarOf(Form&& form)
{
    return ObjectOf(form).template findChild<QToolBar*>(QStringLiteral("ToolBar"));
}

template <class Form>
QStatusBar* StatusBarOf(Form&& form)
{
    return ObjectOf(form).template findChild<QStatusBar*>(QStringLiteral("StatusBar"));
}
