// The Extract Text window.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Memo.h"
#include "extract/ui/extracttext.h"

void TAppForm::Extract1Click()
{
    // Every use starts from a fresh window; the one of the last use goes now.
    delete Extract;
    Extract = new TExtract(this, *this);
    Extract->exec();
}

int TAppForm::DocumentLineCount() const { return Memo1->Count(); }

std::string TAppForm::DocumentLine(int i) const { return Memo1->Get(i); }

void TAppForm::ShowNotice(QWidget* over, const QString& text) { Dialogs().Notice(over, windowTitle(), text); }
