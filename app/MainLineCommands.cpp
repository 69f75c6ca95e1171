// Sort, randomize, trim, case conversion and the line-parameter commands.
#include "app/MainWindow.h"
#include "app/Memo.h"

void TAppForm::SortLines1Click() {}
void TAppForm::RandomizeLines1Click() {}
void TAppForm::rimBoth1Click() {}
void TAppForm::rimLeft1Click() {}
void TAppForm::rimRight1Click() {}
void TAppForm::All1Click() {}
void TAppForm::Selected1Click() {}
void TAppForm::All2Click() {}
void TAppForm::Selected2Click() {}
void TAppForm::SeparateLines1Click() {}
void TAppForm::oBeginningOfLines1Click() {}
void TAppForm::oEndOfLines1Click() {}
