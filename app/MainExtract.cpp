// The Extract Text window.
#include "app/MainWindow.h"
#include "app/Memo.h"

void TAppForm::Extract1Click() {}
