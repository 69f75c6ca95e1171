// The Analyze window and the word list.
#include "analysis/WordList.h"
#include "analysis/ui/analyze.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "editor/Memo.h"
#include "document/LineText.h"

#include <memory>

void TAppForm::ToolButton15Click()
{
    std::unique_ptr<TAnalyzetext> form;
    // The statistics read the document where it lies; the window keeps only its tables.
    form = std::make_unique<TAnalyzetext>(LineView(m_document->TextView()), this);
    // Released as soon as it is closed: a kept window would hold its tables for the rest of
    // the run, once more for every analysis.
    form->exec();
}

void TAppForm::Analyzethetext1Click() { ToolButton15Click(); }

void TAppForm::GenerateWordList1Click()
{
    // The document keeps its text until the list takes its place in one change, so a list
    // that cannot be taken leaves the document as it was.
    std::string list = GenerateWordList(LineView(m_document->TextView()));
    const bool empty = list.empty();
    // The list is written over the document even when it is the same text.
    if (!m_document->SetWholeTextNormalized(std::move(list)) && !empty)
        m_document->Touch();
    Memo1->SetSelection(m_document->Length(), 0);
}
