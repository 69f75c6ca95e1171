// Find and replace, insertion at the caret, date stamps and the KeyPress simulator.
#include "app/MainWindow.h"
#include "app/Memo.h"

#include <QKeyEvent>

void TAppForm::Find1Click() {}
void TAppForm::Replace1Click() {}
void TAppForm::ToolButton12Click() {}
void TAppForm::ToolButton13Click() {}
void TAppForm::Add(const std::string&, std::int64_t) {}
void TAppForm::AddDate1Click() {}
void TAppForm::N8Click() {}
void TAppForm::N9Click() {}
void TAppForm::N10Click() {}
void TAppForm::N11Click() {}
void TAppForm::N12Click() {}
void TAppForm::N13Click() {}
void TAppForm::KeyPressSimulator1Click() {}
bool TAppForm::Memo1KeyPress(QKeyEvent*) { return false; }
void TAppForm::StopSimulator() {}
