#include "app/MainWindow.h"

bool TAppForm::SessionEndQuery()
{
    // A save that fails is shown and keeps the session, as Cancel does: nothing is lost.
    bool mayEnd = false;
    RunGuarded([&] { mayEnd = FormCloseQuery(); });
    return mayEnd;
}
