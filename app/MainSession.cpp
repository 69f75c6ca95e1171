#include "app/MainWindow.h"

#include "app/BackgroundSave.h"

bool TAppForm::SessionEndQuery()
{
    // A save that fails is shown and keeps the session, as Cancel does: nothing is lost.
    // The session cannot wait for the event loop: a save that runs ends first.
    background_save::WaitForEnd();
    bool mayEnd = false;
    RunGuarded([&] { mayEnd = FormCloseQuery(); });
    return mayEnd;
}
