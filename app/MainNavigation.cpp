// Go To Line, and the caret's line and column in the status bar.
#include "app/GoToLineDialog.h"
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "editor/Memo.h"

#include <QLabel>
#include <QStatusBar>

void TAppForm::GoToLine1Click()
{
    const ByteDocument& doc = m_document->Bytes();
    // The line view's numbering: a last empty line (behind a final break) is not counted.
    const int lines = std::max(1, m_document->Count());
    const int current = std::min(lines, doc.LineOfOffset(Memo1->CaretOffset()) + 1);
    TGoToLineDialog dialog(lines, current, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    Memo1->GoTo(doc.LineStart(dialog.Line() - 1));
}

void TAppForm::GrowWithText(QLabel* panel, int minimum)
{
    panel->setMinimumWidth(minimum);
    panel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

void TAppForm::AddPositionPanel()
{
    auto* panel = new QLabel(StatusBar);
    panel->setObjectName(QStringLiteral("PanelPosition"));
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    GrowWithText(panel, panel->fontMetrics().horizontalAdvance(tr("Ln %1, Col %2").arg(99).arg(99)) + 10);
    StatusBar->addWidget(panel);
    m_positionPanel = panel;
    connect(Memo1, &TMemo::CaretMoved, this, &TAppForm::ShowCaretPosition);
    ShowCaretPosition();
}

// A column counts bytes, a tab one. Both look-ups cost O(log n) at most: nothing here walks
// the document.
void TAppForm::ShowCaretPosition()
{
    const ByteDocument& doc = m_document->Bytes();
    const std::int64_t caret = Memo1->CaretOffset();
    const int line = doc.LineOfOffset(caret);
    m_positionPanel->setText(
        tr("Ln %1, Col %2").arg(line + 1).arg(caret - doc.LineStart(line) + 1));
    // It does not shrink back, so that the panels right of it do not move with every step.
    if (const int wide = m_positionPanel->sizeHint().width(); wide > m_positionPanel->minimumWidth())
        m_positionPanel->setMinimumWidth(wide);
}
