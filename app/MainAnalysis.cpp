// The Analyze window and the word list.
#include "analysis/WordList.h"
#include "analysis/ui/analyze.h"
#include "app/MainWindow.h"
#include "app/Memo.h"
#include "document/LineText.h"

#include <memory>

void TAppForm::ToolButton15Click()
{
    std::unique_ptr<TAnalyzetext> form;
    {
        // The copy of the text is only needed while the statistics are computed.
        const std::string text = Memo1->Text();
        form = std::make_unique<TAnalyzetext>(LineView(text), this);
    }
    // Released as soon as it is closed: a kept window would hold its tables for the rest of
    // the run, once more for every analysis.
    form->exec();
}

void TAppForm::Analyzethetext1Click() { ToolButton15Click(); }

void TAppForm::GenerateWordList1Click()
{
    std::string text = Memo1->Text();
    std::string list = GenerateWordList(LineView(text));
    Memo1->Clear();
    try {
        Memo1->AdoptText(std::move(list));
    } catch (...) {
        // The document must not stay empty when the list cannot take its place.
        Memo1->SetTextRaw(text);
        throw;
    }
    Memo1->SetSelection(Memo1->ByteLength(), 0);
}
