// The Analyze window and the word list.
#include "app/MainWindow.h"
#include "app/Memo.h"

void TAppForm::ToolButton15Click() {}
void TAppForm::Analyzethetext1Click() {}
void TAppForm::GenerateWordList1Click() {}
