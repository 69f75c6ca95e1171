#include "editor/Memo.h"

#include "editor/MemoView.h"

#include <QApplication>
#include <QGlyphRun>
#include <QPaintEvent>
#include <QPainter>

#include <vector>

namespace {

int Luma(const QColor& c) { return (299 * c.red() + 587 * c.green() + 114 * c.blue()) / 1000; }

int Distance(const QColor& a, const QColor& b)
{
    const int dr = a.red() - b.red();
    const int dg = a.green() - b.green();
    const int db = a.blue() - b.blue();
    return dr * dr + dg * dg + db * db;
}

QColor Mix(const QColor& a, const QColor& b)
{
    return QColor((a.red() + b.red()) / 2, (a.green() + b.green()) / 2, (a.blue() + b.blue()) / 2);
}

// The selection of an editor without the focus: the palette's inactive highlight, or where
// the style gives none of its own (or one lost on this background) the active one paled
// towards the background, so the user can tell that the keys go elsewhere.
QColor InactiveSelection(const QPalette& palette, const QColor& active, const QColor& background)
{
    const QColor inactive = palette.color(QPalette::Inactive, QPalette::Highlight);
    if (inactive == palette.color(QPalette::Active, QPalette::Highlight) || inactive == active ||
        Distance(inactive, background) < 60 * 60)
        return Mix(active, background);
    return inactive;
}

} // namespace

// --- colours and font ---

void TMemo::SetBackgroundColor(const QColor& color)
{
    m_view->background = color;
    QPalette p = palette();
    p.setColor(QPalette::Base, color);
    setPalette(p); // raises PaletteChange, which picks the colours that go with it
    ChooseColors();
    viewport()->update();
}

QColor TMemo::BackgroundColor() const { return m_view->background; }

// The text and the selection must stay readable on whatever background the user picks.
void TMemo::ChooseColors()
{
    View& v = *m_view;
    const QColor& back = v.background;
    const bool dark = Luma(back) < 128;
    v.text = palette().color(QPalette::Active, QPalette::Text);
    if (std::abs(Luma(v.text) - Luma(back)) < 96)
        v.text = dark ? Qt::white : Qt::black;
    v.selection = palette().color(QPalette::Active, QPalette::Highlight);
    if (Distance(v.selection, back) < 120 * 120 || std::abs(Luma(v.selection) - Luma(back)) < 48)
        v.selection = dark ? QColor(0xB4, 0xD5, 0xFF) : QColor(0x1F, 0x4F, 0xA8);
    v.selectedText = Luma(v.selection) < 140 ? Qt::white : Qt::black;
}

void TMemo::ApplyFont()
{
    View& v = *m_view;
    v.glyphs = ByteGlyphs::For(font());
    v.layout.SetAdvances(v.glyphs->Advances());
    v.widest = 0;
    v.measuredTop = -1;
    v.maxAdvance = v.glyphs->Advances().tabStop;
    for (const std::int32_t a : v.glyphs->Advances().advance)
        v.maxAdvance = std::max<Fixed>(v.maxAdvance, a);
    UpdateWrapWidth();
    v.top = v.layout.RowStart(v.layout.RowOf(v.top));
    UpdateScrollBars();
    updateMicroFocus();
    viewport()->update();
}

void TMemo::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange)
        ApplyFont();
    else if (e->type() == QEvent::PaletteChange)
        ChooseColors();
    QAbstractScrollArea::changeEvent(e);
}

void TMemo::resizeEvent(QResizeEvent* e)
{
    View& v = *m_view;
    QAbstractScrollArea::resizeEvent(e);
    // A caret in sight before stays in sight when the rows get narrower or the view shorter.
    const int heightBefore = viewport()->height() - (e->size().height() - e->oldSize().height());
    const int index = RowIndexInSight(v.layout.RowOf(v.caret));
    const bool caretShown = v.wrap && e->oldSize().isValid() && index >= 0 && index < heightBefore / v.glyphs->LineHeight();
    v.measuredTop = -1;
    UpdateWrapWidth();
    UpdateScrollBars();
    if (caretShown)
        EnsureCaretVisible();
}

// --- caret ---

void TMemo::RestartBlink()
{
    View& v = *m_view;
    v.caretOn = true;
    v.sinceInput.restart();
    if (hasFocus() && QApplication::cursorFlashTime() > 0)
        v.blink.start();
}

void TMemo::OnBlink()
{
    View& v = *m_view;
    // After a while without input the caret stays on and the timer stops: idle costs nothing.
    if (v.sinceInput.elapsed() > 15000 || !hasFocus()) {
        v.caretOn = true;
        v.blink.stop();
    } else {
        v.caretOn = !v.caretOn;
    }
    viewport()->update(CaretRect().adjusted(-1, 0, 1, 0));
}

bool TMemo::SelectionVisible() const { return hasFocus() || m_view->popupOpen || m_selectionUnfocused; }

void TMemo::SetShowSelectionUnfocused(bool on)
{
    if (m_selectionUnfocused == on)
        return;
    m_selectionUnfocused = on;
    viewport()->update();
}

// --- painting ---

void TMemo::paintEvent(QPaintEvent* e)
{
    View& v = *m_view;
    RowLayout& layout = v.layout;
    QPainter painter(viewport());
    const QRect clip = e->rect();
    painter.fillRect(clip, v.background);
    const int height = v.glyphs->LineHeight();
    const int first = std::max(0, clip.top() / height);
    const int last = clip.bottom() / height;
    ViewRow row = TopRow();
    if (layout.Move(row, first) == first) {
        for (int i = first; i <= last; ++i) {
            PaintRow(painter, row, i * height, clip);
            if (!layout.Next(row))
                break;
        }
    }
    if (v.dropCaret >= 0)
        painter.fillRect(OffsetRect(v.dropCaret).adjusted(0, 0, 1, 0), v.text);
    if (!hasFocus()) {
        // A steady caret shows where a Replace left off.
        if (m_selectionUnfocused)
            painter.fillRect(CaretRect(), v.text);
        return;
    }
    const QRect caret = CaretRect();
    if (!v.preedit.isEmpty()) {
        // What the input method composes sits at the caret until it is committed.
        QFont underlined = font();
        underlined.setUnderline(true);
        const QFontMetrics metrics(underlined);
        const QRect box(caret.x(), caret.y(), metrics.horizontalAdvance(v.preedit) + 1, height);
        painter.fillRect(box, v.background);
        painter.setFont(underlined);
        painter.setPen(v.text);
        painter.drawText(QPoint(box.x(), box.y() + v.glyphs->Ascent()), v.preedit);
        const int at = metrics.horizontalAdvance(v.preedit.left(v.preeditCursor));
        painter.fillRect(caret.translated(at, 0), v.text);
    } else if (v.caretOn) {
        QColor ink = v.text;
        if (v.overwrite)
            ink.setAlpha(110); // the character under the block stays readable
        painter.fillRect(caret, ink);
    }
}

void TMemo::PaintRow(QPainter& painter, ViewRow row, int top, const QRect& clip)
{
    View& v = *m_view;
    RowLayout& layout = v.layout;
    const ByteGlyphs& glyphs = *v.glyphs;
    const Offset rowStart = layout.RowStart(row);
    const Offset rowEnd = layout.RowEnd(row);
    const Fixed right = TextX(clip.right() + 1);
    auto [from, x] = layout.Seek(row, std::max<Fixed>(0, TextX(clip.left())));
    (void)rowStart;

    const Offset selStart = SelStart();
    const Offset selEnd = selStart + SelLength();
    const bool selection = SelectionVisible() && selEnd > selStart && selStart <= rowEnd && selEnd > rowStart;
    auto viewX = [&](Fixed fx) { return kMemoMargin + static_cast<qreal>(fx) / 64.0 - static_cast<qreal>(v.xOffset); };
    QColor selectionBack = v.selection;
    QColor selectedText = v.selectedText;
    if (selection && !hasFocus() && !v.popupOpen) {
        selectionBack = InactiveSelection(palette(), v.selection, v.background);
        selectedText = Luma(selectionBack) < 140 ? Qt::white : Qt::black;
    }
    if (selection) {
        const Offset a = std::max(selStart, rowStart);
        const Offset b = std::min(selEnd, rowEnd);
        const Fixed xa = a == from ? x : layout.XOf(row, a);
        const Fixed xb = layout.XOf(row, b);
        // A selected line break shows as a blank's width behind the line.
        const bool breakSelected = selEnd > rowEnd && rowEnd < m_doc->Length() && layout.IsLastRowOfLine(row);
        const qreal extra = breakSelected ? glyphs.Advances().advance[' '] / 64.0 : 0;
        painter.fillRect(QRectF(viewX(xa), top, viewX(xb) - viewX(xa) + extra, glyphs.LineHeight()), selectionBack);
    }

    const int baseline = top + glyphs.Ascent();
    const QFont& f = font();
    int face = -1;
    bool selected = false;
    QList<quint32> indexes;
    QList<QPointF> positions;
    struct Box {
        qreal x;
        unsigned char byte;
        bool selected;
    };
    std::vector<Box> boxes;
    auto flush = [&] {
        if (indexes.isEmpty())
            return;
        QGlyphRun run;
        run.setRawFont(glyphs.Face(face));
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        run.setUnderline(f.underline());
        run.setStrikeOut(f.strikeOut());
        painter.setPen(selected ? selectedText : v.text);
        painter.drawGlyphRun(QPointF(0, 0), run);
        indexes.clear();
        positions.clear();
    };
    ForEachByte(m_doc->Bytes(), from, rowEnd, [&](unsigned char b, Offset i) {
        if (x >= right)
            return false;
        const ByteGlyphs::Entry& entry = glyphs[b];
        const bool inSelection = selection && i >= selStart && i < selEnd;
        if (entry.kind == ByteGlyphs::Kind::Glyph) {
            if (entry.face != face || inSelection != selected) {
                flush();
                face = entry.face;
                selected = inSelection;
            }
            indexes.append(entry.glyph);
            positions.append(QPointF(viewX(x), baseline));
        } else if (entry.kind == ByteGlyphs::Kind::Box) {
            boxes.push_back({viewX(x), b, inSelection});
        }
        x += layout.Advance(b, x);
        return true;
    });
    flush();
    for (const Box& box : boxes)
        glyphs.DrawBox(painter, box.byte, box.x, top, box.selected ? selectedText : v.text);
}
