// The Extract Text window.
#include "app/Dialogs.h"
#include "app/MainWindow.h"
#include "app/Translation.h"
#include "document/TextDocument.h"
#include "extract/ui/extracttext.h"

void TAppForm::Extract1Click()
{
    // Every use starts from a fresh window; the one of the last use goes now.
    delete Extract;
    Extract = new TExtract(this, *this);
    // The help page speaks the windows' language, which QUORLEX_LANG may set apart from the locale.
    Extract->Language = TurkishWanted() ? QStringLiteral("tr") : QStringLiteral("en");
    Extract->exec();
}

int TAppForm::DocumentLineCount() const { return m_document->Count(); }

std::string TAppForm::DocumentLine(int i) const { return m_document->Get(i); }

void TAppForm::ShowNotice(QWidget* over, const QString& text) { Dialogs().Notice(over, windowTitle(), text); }
