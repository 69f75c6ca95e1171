// How the document's file breaks its lines: the document always holds CR LF, a file of
// LF breaks is written back with LF.
#include "app/MainWindow.h"
#include "document/TextDocument.h"
#include "document/TextFile.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>

void TAppForm::CreateLineBreaksMenu(QMenu* file)
{
    QMenu* menu = file->addMenu(tr("&Line Breaks"));
    menu->setObjectName(QStringLiteral("LineBreaks1"));
    auto* group = new QActionGroup(this);
    for (auto [slot, name, caption, hint, lf] :
         {std::tuple{&LineBreaksWindows1, "LineBreaksWindows1", tr("&Windows (CR LF)"),
                     tr("Save the line breaks as CR LF"), false},
          std::tuple{&LineBreaksUnix1, "LineBreaksUnix1", tr("&Unix (LF)"),
                     tr("Save the line breaks as LF"), true}}) {
        QAction* a = *slot = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        a->setStatusTip(hint);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, lf] { RunGuarded([this, lf] { ChooseLineBreaks(lf); }); });
    }
    ShowLineBreaks(m_document->Encoding());
}

// Right of the encoding panel.
void TAppForm::AddLineBreaksPanel()
{
    auto* panel = new QLabel(StatusBar);
    panel->setObjectName(QStringLiteral("Panel5"));
    panel->setFixedWidth(panel->fontMetrics().horizontalAdvance(QStringLiteral("CR LF")) + 12);
    panel->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    StatusBar->addWidget(panel);
    m_panels[5] = panel;
    ShowLineBreaks(m_document->Encoding());
}

void TAppForm::ShowLineBreaks(const FileEncoding& encoding)
{
    const bool lf = encoding.lineBreaks == LineBreaks::Lf;
    if (m_panels[5])
        m_panels[5]->setText(lf ? QStringLiteral("LF") : QStringLiteral("CR LF"));
    if (LineBreaksUnix1) {
        LineBreaksUnix1->setChecked(lf);
        LineBreaksWindows1->setChecked(!lf);
    }
}

void TAppForm::ChooseLineBreaks(bool lf)
{
    // As with the encoding: another choice marks the document modified, the same one nothing.
    FileEncoding next = m_document->Encoding();
    next.lineBreaks = lf ? LineBreaks::Lf : LineBreaks::CrLf;
    m_document->SetEncoding(next);
}
