#pragma once

// The editor's own state, shared by the files that implement TMemo; nobody else includes it.

#include "editor/ByteGlyphs.h"
#include "editor/Memo.h"
#include "editor/RowLayout.h"

#include <QColor>
#include <QElapsedTimer>
#include <QPoint>
#include <QString>
#include <QTimer>

#include <memory>
#include <string>

// Room left of the text, so that a caret at a line's start is seen.
inline constexpr int kMemoMargin = 4;

// Characters to bytes for typing, pasting and dropping: every kind of line break becomes CR LF,
// and what the code page cannot hold becomes '?' (one for a character outside the BMP).
std::string TypedBytes(QStringView text);

struct TMemo::View {
    using Offset = std::int64_t;
    using Fixed = RowLayout::Fixed;

    explicit View(const ByteDocument& doc) : layout(doc) {}

    std::shared_ptr<ByteGlyphs> glyphs;
    RowLayout layout;
    int listener = 0;
    int pieces = 1;       // the document's pieces as the caches know them

    // Caret and anchor are byte offsets; never between the CR and the LF of a break.
    Offset caret = 0;
    Offset anchor = 0;
    Fixed goalX = -1;     // the x Up and Down keep to; -1: the caret's own
    Offset shownStart = 0;  // the selection last announced
    Offset shownLength = 0;

    // What is in sight: the start of the top row, and how far the text is scrolled right.
    Offset top = 0;
    std::int64_t xOffset = 0; // px, without wrap only
    std::int64_t widest = 0;  // px, the widest line met so far (the horizontal bar's reach)
    std::int64_t reach = 0;   // px, how far the text can be scrolled right
    int hShift = 0;           // the horizontal bar counts 2^hShift px (lines wider than an int)
    Offset measuredTop = -1;  // the top whose lines in sight have been measured
    Fixed maxAdvance = 64;    // the widest byte: a line this many times its length wide cannot be wider
    bool wrap = false;
    bool syncingBars = false;

    QColor background;
    QColor text;
    QColor selection;
    QColor selectedText;

    // Caret blinking stops a while after the last input, so an idle editor uses no CPU.
    QTimer blink;
    QElapsedTimer sinceInput;
    bool caretOn = true;
    bool popupOpen = false; // focus lent to a context menu: the selection stays visible

    int wheelRest = 0;    // wheel turns not yet worth a row

    QTimer wrapIdle;

    QTimer autoScroll;
    QPoint dragPoint;
    bool dragging = false;
    // What a drag of the mouse selects by: characters, or the words or lines of a double or
    // triple click, which [unitStart, unitEnd) first selected.
    enum class Unit : std::uint8_t { Char, Word, Line };
    Unit unit = Unit::Char;
    Offset unitStart = 0;
    Offset unitEnd = 0;
    QElapsedTimer sinceDoubleClick; // a press soon after a double click is a triple click
    QPoint doubleClickPoint;
    // A press inside the selection: moving on drags the text, a release puts the caret there.
    bool pressedInSelection = false;
    QPoint pressPoint;
    Offset dropCaret = -1;   // where dragged text would go; -1 while nothing is dragged over
    bool droppedHere = false; // the text this view dragged was dropped on it
    int zoomRest = 0;        // Ctrl+wheel turns not yet worth a step

    bool overwrite = false;

    QString preedit;
    int preeditCursor = 0;

};
