#pragma once

#include "app/MainWindow.h"
#include "document/TextDocument.h"

// The desktop session is ending (log out, shut down). A modified document gets the same
// save prompt as closing the window; Cancel, or a save that fails, asks the session manager
// to hold the session back. Without leave to interact nothing can be asked, and the session
// goes on ending. `Manager` is QSessionManager, or a stand-in in tests.
template <class Manager>
void CommitSessionData(TAppForm& form, Manager& manager)
{
    if (!form.Document().Modified() || !manager.allowsInteraction())
        return;
    const bool mayEnd = form.SessionEndQuery();
    manager.release();
    if (!mayEnd)
        manager.cancel();
}
