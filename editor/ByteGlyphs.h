#pragma once

#include "editor/RowLayout.h"

#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QRawFont>

#include <array>
#include <memory>
#include <vector>

class QPainter;

// What the editor draws for each of the 256 byte values in one font: the Windows-1254 character
// as a glyph of the font (or of the first installed font that has it), or a small labelled box
// for the bytes no font shows (control bytes, the code page's undefined codes). Positions come
// from this table alone, so the caret and the glyphs always agree.
class ByteGlyphs {
public:
    enum class Kind : std::uint8_t { Glyph, Tab, Box };
    struct Entry {
        Kind kind = Kind::Box;
        std::uint8_t face = 0; // index into the faces
        std::uint32_t glyph = 0;
    };

    // The table of a font, shared by every editor that uses it.
    static std::shared_ptr<ByteGlyphs> For(const QFont& font);
    explicit ByteGlyphs(const QFont& font);

    const Entry& operator[](unsigned char b) const { return m_entries[b]; }
    const QRawFont& Face(int i) const { return m_faces[static_cast<std::size_t>(i)]; }
    const AdvanceTable& Advances() const { return m_advances; }
    int Ascent() const { return m_ascent; }
    int LineHeight() const { return m_lineHeight; }

    // The label of a byte drawn as a box ("NUL", "CR", "81" ...); empty for the others.
    static QString Label(unsigned char b);
    // Draws the box of byte `b` whose advance starts at `left`, in the row whose top is `top`.
    void DrawBox(QPainter& painter, unsigned char b, qreal left, int top, const QColor& color) const;

private:
    void SetGlyph(unsigned char b, const QRawFont& face, std::uint32_t glyph);
    int FaceIndex(const QRawFont& face);

    QFont m_font;
    QFont m_labelFont;
    std::array<Entry, 256> m_entries{};
    std::vector<QRawFont> m_faces;
    AdvanceTable m_advances;
    int m_ascent = 0;
    int m_lineHeight = 1;
    int m_boxHeight = 1;
    mutable QHash<quint64, QPixmap> m_boxes; // by byte, colour and pixel ratio
};
