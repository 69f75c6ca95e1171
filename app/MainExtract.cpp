// The Extract Text window.
#include "app/MainWindow.h"
#include "extract/ui/extracttext.h"

void TAppForm::Extract1Click()
{
    // Every use starts from a fresh window; the one of the last use goes now.
    delete Extract;
    Extract = new TExtract(this);
    Extract->exec();
}
