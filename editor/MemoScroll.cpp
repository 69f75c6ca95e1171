#include "editor/Memo.h"

#include "editor/MemoView.h"

#include <QScrollBar>

#include <algorithm>

// What is in sight. The top of the view is the start of its first row. Without wrap the vertical
// bar counts lines; with wrap it counts bytes (the top row's start), which follows the rows
// closely without ever counting the rows of the whole document.

namespace {

constexpr int kMargin = kMemoMargin;
constexpr std::int64_t kBarLimit = (std::int64_t{1} << 31) - 1;

} // namespace

int TMemo::RowsInSight() const
{
    return std::max(1, viewport()->height() / m_view->glyphs->LineHeight());
}

ViewRow TMemo::TopRow() const { return m_view->layout.RowOf(m_view->top); }

ViewRow TMemo::LastPageTop() const
{
    RowLayout& layout = m_view->layout;
    ViewRow row = layout.RowOf(m_doc->Length());
    layout.Move(row, -(RowsInSight() - 1));
    return row;
}

void TMemo::SetTop(ViewRow row)
{
    View& v = *m_view;
    const ViewRow last = LastPageTop();
    if (last.Before(row))
        row = last;
    const Offset top = v.layout.RowStart(row);
    if (top == v.top)
        return;
    // A step of a few rows (an arrow key held at the edge, the wheel) moves what is drawn
    // already and paints only the rows that come into sight.
    const int rows = RowsInSight();
    int moved = RowIndexInSight(row); // rows the text goes up
    if (moved < 0) {
        const ViewRow oldTop = TopRow();
        v.top = top;
        moved = -RowIndexInSight(oldTop);
    }
    v.top = top;
    UpdateScrollBars();
    if (moved != 0 && std::abs(moved) < rows)
        viewport()->scroll(0, -moved * v.glyphs->LineHeight());
    else
        viewport()->update();
}

void TMemo::ScrollRows(std::int64_t rows)
{
    ViewRow top = TopRow();
    m_view->layout.Move(top, rows);
    SetTop(top);
}

// Row index of `row` counted from the top of the view; -1 above it, RowsInSight() + 1 or more below.
int TMemo::RowIndexInSight(ViewRow row) const
{
    RowLayout& layout = m_view->layout;
    const ViewRow top = TopRow();
    if (row.Before(top))
        return -1;
    const int limit = RowsInSight() + 1;
    if (!layout.Wrapping())
        return static_cast<int>(std::min<std::int64_t>(row.line - top.line, limit));
    if (row.line - top.line > limit)
        return limit;
    ViewRow r = top;
    int index = 0;
    while (!(r == row) && index < limit && layout.Next(r))
        ++index;
    return index;
}

std::int64_t TMemo::TextX(std::int64_t px) const { return (px - kMargin + m_view->xOffset) * 64; }
std::int64_t TMemo::ViewX(std::int64_t fixed) const { return kMargin + fixed / 64 - m_view->xOffset; }

void TMemo::EnsureCaretVisible(bool centre)
{
    View& v = *m_view;
    RowLayout& layout = v.layout;
    const ViewRow caret = layout.RowOf(v.caret);
    const int rows = RowsInSight();
    const int index = RowIndexInSight(caret);
    if (centre && (index < 0 || index >= rows)) {
        ViewRow top = caret;
        layout.Move(top, -(rows / 2));
        SetTop(top);
    } else if (index < 0) {
        SetTop(caret);
    } else if (index >= rows) {
        ViewRow top = caret;
        layout.Move(top, -(rows - 1));
        SetTop(top);
    }
    if (!v.wrap) {
        const std::int64_t x = layout.XOf(caret, v.caret) / 64;
        const std::int64_t width = std::max(1, viewport()->width() - 2 * kMargin);
        v.widest = std::max(v.widest, x + kMargin);
        std::int64_t offset = v.xOffset;
        if (x < offset)
            offset = std::max<std::int64_t>(0, x - width / 3);
        else if (x > offset + width - 1)
            offset = x - width * 2 / 3;
        if (offset != v.xOffset) {
            v.xOffset = offset;
            viewport()->update();
        }
        UpdateScrollBars();
    }
}

void TMemo::UpdateWrapWidth()
{
    View& v = *m_view;
    const std::int64_t width = v.wrap ? std::int64_t{std::max(1, viewport()->width() - 2 * kMargin)} * 64 : 0;
    if (width == v.layout.WrapWidth())
        return;
    v.layout.SetWrapWidth(width);
    // The same text stays at the top.
    v.top = v.layout.RowStart(v.layout.RowOf(v.top));
}

// Byte offsets can pass what a scroll bar holds (an int): the bar then counts in larger units.
int TMemo::BarShift() const
{
    int shift = 0;
    while ((m_doc->Length() >> shift) > kBarLimit)
        ++shift;
    return shift;
}

void TMemo::UpdateScrollBars()
{
    View& v = *m_view;
    RowLayout& layout = v.layout;
    QScrollBar* vbar = verticalScrollBar();
    QScrollBar* hbar = horizontalScrollBar();
    const int rows = RowsInSight();
    // Setting a range can move a bar, and showing one resizes the view: neither may scroll.
    const bool wasSyncing = v.syncingBars;
    v.syncingBars = true;
    const ViewRow last = LastPageTop();
    ViewRow top = TopRow();
    if (last.Before(top)) {
        top = last;
        v.top = layout.RowStart(top);
    }
    if (!v.wrap) {
        vbar->setRange(0, last.line);
        vbar->setPageStep(rows);
        vbar->setSingleStep(1);
        vbar->setValue(top.line);
        MeasureSight(top, rows);
        const std::int64_t width = std::max(1, viewport()->width() - 2 * kMargin);
        v.reach = std::max<std::int64_t>(0, v.widest + 1 - width);
        v.hShift = 0;
        while ((v.reach >> v.hShift) > kBarLimit)
            ++v.hShift;
        hbar->setRange(0, static_cast<int>(v.reach >> v.hShift));
        hbar->setPageStep(static_cast<int>(std::max<std::int64_t>(1, width >> v.hShift)));
        hbar->setSingleStep(static_cast<int>(std::max<std::int64_t>(1, (v.glyphs->Advances().advance['x'] / 64) >> v.hShift)));
        v.xOffset = std::min(v.xOffset, v.reach);
        hbar->setValue(static_cast<int>(v.xOffset >> v.hShift));
    } else {
        const int shift = BarShift();
        ViewRow bottom = top;
        layout.Move(bottom, rows);
        const std::int64_t inSight = layout.RowStart(bottom) - v.top;
        vbar->setRange(0, static_cast<int>(layout.RowStart(last) >> shift));
        vbar->setPageStep(static_cast<int>(std::max<std::int64_t>(1, inSight >> shift)));
        vbar->setSingleStep(1);
        vbar->setValue(static_cast<int>(v.top >> shift));
        hbar->setRange(0, 0);
        v.xOffset = 0;
        // A huge line is wrapped where it is seen; the rest of its rows are worked out while idle.
        if (layout.WrapPending() && !v.wrapIdle.isActive())
            v.wrapIdle.start();
    }
    v.syncingBars = wasSyncing;
}

// One slice of the idle wrap, short enough that keys and paints between slices are not held up.
void TMemo::OnWrapIdle()
{
    View& v = *m_view;
    QElapsedTimer clock;
    clock.start();
    RowLayout::Progress step;
    bool moved = false;
    do {
        step = v.layout.WrapSome(std::int64_t{1} << 18);
        moved |= step.moved;
    } while (step.more && clock.elapsed() < 8);
    if (moved) {
        UpdateScrollBars();
        viewport()->update();
    } else if (step.more) {
        v.wrapIdle.start();
    }
}

// The horizontal bar reaches as far as the widest line met so far: the lines in sight are measured
// when the view moves, the caret's line after every edit. Nothing measures the whole document.
void TMemo::MeasureSight(ViewRow top, int rows)
{
    View& v = *m_view;
    RowLayout& layout = v.layout;
    auto measure = [&](int line) {
        const Offset bytes = m_doc->LineEnd(line) - m_doc->LineStart(line);
        if (bytes * v.maxAdvance / 64 + kMargin > v.widest)
            v.widest = std::max(v.widest, layout.LineWidth(line) / 64 + kMargin);
    };
    if (v.measuredTop != v.top) {
        v.measuredTop = v.top;
        ViewRow row = top;
        for (int i = 0; i <= rows; ++i) {
            measure(row.line);
            if (!layout.Next(row))
                break;
        }
    }
    measure(m_doc->LineOfOffset(v.caret));
}

// With wrap, the bar's own steps (bytes) mean nothing to the eye: arrows and page clicks move rows.
void TMemo::OnVerticalAction(int action)
{
    View& v = *m_view;
    if (!v.wrap)
        return;
    std::int64_t rows = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        rows = 1;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        rows = -1;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        rows = std::max(1, RowsInSight() - 1);
        break;
    case QAbstractSlider::SliderPageStepSub:
        rows = -std::max(1, RowsInSight() - 1);
        break;
    default:
        return;
    }
    ScrollRows(rows);
    verticalScrollBar()->setSliderPosition(static_cast<int>(v.top >> BarShift()));
}

void TMemo::scrollContentsBy(int, int)
{
    View& v = *m_view;
    if (v.syncingBars)
        return;
    RowLayout& layout = v.layout;
    const int value = verticalScrollBar()->value();
    if (!v.wrap) {
        if (value != TopRow().line)
            v.top = m_doc->LineStart(value);
        const int h = horizontalScrollBar()->value();
        if (h != static_cast<int>(v.xOffset >> v.hShift))
            v.xOffset = static_cast<std::int64_t>(h) << v.hShift;
        UpdateScrollBars(); // lines come into sight that may be wider
    } else {
        const int shift = BarShift();
        if (value != static_cast<int>(v.top >> shift)) {
            ViewRow row = layout.RowOf(static_cast<Offset>(value) << shift);
            const ViewRow last = LastPageTop();
            if (last.Before(row))
                row = last;
            v.top = layout.RowStart(row);
        }
    }
    viewport()->update();
}

// Overwriting, the caret is a block as wide as the character it would replace (a blank's width
// at a line's end).
QRect TMemo::CaretRect() const
{
    View& v = *m_view;
    QRect r = OffsetRect(v.caret);
    if (v.overwrite) {
        const Offset lineEnd = m_doc->LineEnd(m_doc->LineOfOffset(v.caret));
        const unsigned char b = v.caret < lineEnd ? m_doc->At(v.caret) : ' ';
        const ViewRow row = v.layout.RowOf(v.caret);
        r.setWidth(std::max(2, static_cast<int>(v.layout.Advance(b, v.layout.XOf(row, v.caret)) / 64)));
    }
    return r;
}

// Where a caret at `offset` is drawn, in viewport coordinates (above or below it when out of sight).
QRect TMemo::OffsetRect(std::int64_t offset) const
{
    View& v = *m_view;
    const ViewRow row = v.layout.RowOf(offset);
    const int index = RowIndexInSight(row);
    const int height = v.glyphs->LineHeight();
    const std::int64_t x = ViewX(v.layout.XOf(row, offset));
    const int y = index < 0 ? -height : index * height;
    return QRect(static_cast<int>(std::clamp<std::int64_t>(x, -1000000, 1000000)), y, 1, height);
}
