#include "app/PrintDocument.h"

#include "editor/Memo.h"
#include "document/PrintLayout.h"
#include "platform/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPrinter>
#include <QScreen>

#include <cmath>

namespace {

class PainterSurface : public IPrintSurface {
public:
    PainterSurface(QPainter& painter, QPrinter& printer)
        : m_painter(painter), m_printer(printer), m_metrics(painter.fontMetrics())
    {
    }

    int TextWidth(std::string_view run) override { return m_metrics.horizontalAdvance(TMemo::ToDisplay(run)); }
    int TextHeight(std::string_view) override { return m_metrics.height(); }
    void DrawText(int x, int y, std::string_view run) override
    {
        m_painter.drawText(x, y + m_metrics.ascent(), TMemo::ToDisplay(run));
    }
    void NewPage() override
    {
        if (!m_printer.newPage())
            throw QuorlexError("the printer refused a new page");
    }

    PrintMetrics Metrics() const
    {
        return {m_printer.width(), m_printer.height(), m_metrics.lineSpacing(), m_metrics.averageCharWidth()};
    }

private:
    QPainter& m_painter;
    QPrinter& m_printer;
    QFontMetrics m_metrics;
};

QFont PrinterFont(const QFont& font, const QPrinter& printer)
{
    QFont f = font;
    if (f.pointSizeF() <= 0 && f.pixelSize() > 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const qreal screenDpi = screen ? screen->logicalDotsPerInchY() : 96.0;
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(f.pixelSize() * printer.logicalDpiY() / screenDpi))));
    }
    return f;
}

// "a.txt" -> "a": the base name the print dialog gives a file for a job of that name.
QString ProposedBaseName(const QString& documentName)
{
    const qsizetype dot = documentName.lastIndexOf(u'.');
    return dot > 0 ? documentName.left(dot) : documentName;
}

} // namespace

void NameJobAfterDocument(QPrinter& printer, const QString& documentName)
{
    const QString previous = printer.docName();
    printer.setDocName(documentName);
    const QString file = printer.outputFileName();
    if (file.isEmpty() || previous.isEmpty() || previous == documentName)
        return;
    const QFileInfo info(file);
    if (info.completeBaseName() != ProposedBaseName(previous))
        return;
    // Keeping it would print this document over the previous one's file.
    printer.setOutputFileName(info.dir().filePath(ProposedBaseName(documentName) + u'.' + info.suffix()));
}

void PrintLines(QPrinter& printer, const QFont& font, const QColor& ink, const QString& title, int count,
                const std::function<std::string(int)>& line)
{
    printer.setDocName(title);
    QPainter painter;
    if (!painter.begin(&printer))
        throw QuorlexError("the printer did not begin the job");
    try {
        painter.setFont(PrinterFont(font, printer));
        painter.setPen(ink);
        PainterSurface surface(painter, printer);
        TPrintLayout layout(surface, surface.Metrics());
        for (int i = 0; i < count; ++i) {
            layout.Send(line(i));
            layout.Send("\r\n");
        }
    } catch (...) {
        printer.abort();
        painter.end();
        throw;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw QuorlexError("the printer did not finish the job");
}
