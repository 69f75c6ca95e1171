#include "editor/ByteGlyphs.h"

#include "platform/Cp1254.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace {

constexpr const char* kControlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                           "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                           "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                           "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

bool IsUndefined(unsigned char b)
{
    return b == 0x81 || b == 0x8D || b == 0x8E || b == 0x8F || b == 0x90 || b == 0x9D || b == 0x9E;
}

std::int32_t ToFixed(qreal px) { return static_cast<std::int32_t>(std::lround(px * 64)); }

// Raw fonts must go before the application's font database does.
QHash<QString, std::shared_ptr<ByteGlyphs>>* g_tables = nullptr;

void DropTables()
{
    delete g_tables;
    g_tables = nullptr;
}

} // namespace

std::shared_ptr<ByteGlyphs> ByteGlyphs::For(const QFont& font)
{
    // A few fonts are enough: the editor's, and the ones just tried in the font dialog.
    if (!g_tables) {
        g_tables = new QHash<QString, std::shared_ptr<ByteGlyphs>>;
        qAddPostRoutine(DropTables);
    }
    const QString key = font.key();
    if (auto it = g_tables->find(key); it != g_tables->end())
        return it.value();
    if (g_tables->size() >= 8)
        g_tables->clear();
    auto table = std::make_shared<ByteGlyphs>(font);
    g_tables->insert(key, table);
    return table;
}

QString ByteGlyphs::Label(unsigned char b)
{
    if (b < 32)
        return b == '\t' ? QString() : QString::fromLatin1(kControlNames[b]);
    if (b == 0x7F)
        return QStringLiteral("DEL");
    if (IsUndefined(b))
        return QString::number(b, 16).toUpper();
    return {};
}

ByteGlyphs::ByteGlyphs(const QFont& font) : m_font(font)
{
    const QFontMetrics metrics(font);
    m_ascent = metrics.ascent();
    m_lineHeight = std::max(1, metrics.lineSpacing());
    m_boxHeight = std::max(4, metrics.ascent() + metrics.descent() - 2);
    m_labelFont = font;
    m_labelFont.setUnderline(false);
    m_labelFont.setStrikeOut(false);
    m_labelFont.setItalic(false);
    m_labelFont.setBold(false);
    m_labelFont.setPixelSize(std::max(6, m_boxHeight * 3 / 5));
    const QFontMetrics labelMetrics(m_labelFont);
    m_advances.tabStop = std::max(64, 8 * ToFixed(std::max(1, metrics.averageCharWidth())));

    m_faces.push_back(QRawFont::fromFont(font));
    const QRawFont& primary = m_faces.front();
    for (int i = 0; i < 256; ++i) {
        const auto b = static_cast<unsigned char>(i);
        const QString label = Label(b);
        if (b == '\t') {
            m_entries[b].kind = Kind::Tab;
            continue;
        }
        if (!label.isEmpty()) {
            m_entries[b].kind = Kind::Box;
            m_advances.advance[b] = ToFixed(labelMetrics.horizontalAdvance(label) + 6);
            continue;
        }
        const QString ch(QChar(cp1254::ToUnicode(b)));
        if (primary.isValid() && primary.supportsCharacter(ch.at(0))) {
            const QList<quint32> glyphs = primary.glyphIndexesForString(ch);
            if (!glyphs.isEmpty() && glyphs.front() != 0) {
                SetGlyph(b, primary, glyphs.front());
                continue;
            }
        }
        // The font lacks it: ask the font matching of the platform which installed font has it.
        QTextLayout layout(ch, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        bool found = false;
        for (const QGlyphRun& run : layout.glyphRuns()) {
            if (!run.glyphIndexes().isEmpty() && run.glyphIndexes().front() != 0 && run.rawFont().isValid()) {
                SetGlyph(b, run.rawFont(), run.glyphIndexes().front());
                found = true;
                break;
            }
        }
        if (!found) {
            // No font at all: its number, never a blank or a missing-glyph box.
            m_entries[b].kind = Kind::Box;
            m_advances.advance[b] = ToFixed(labelMetrics.horizontalAdvance(QStringLiteral("FF")) + 6);
        }
    }
}

int ByteGlyphs::FaceIndex(const QRawFont& face)
{
    for (std::size_t i = 0; i < m_faces.size(); ++i)
        if (m_faces[i] == face)
            return static_cast<int>(i);
    m_faces.push_back(face);
    return static_cast<int>(m_faces.size()) - 1;
}

void ByteGlyphs::SetGlyph(unsigned char b, const QRawFont& face, std::uint32_t glyph)
{
    Entry& e = m_entries[b];
    e.kind = Kind::Glyph;
    e.face = static_cast<std::uint8_t>(FaceIndex(face));
    e.glyph = glyph;
    QPointF advance;
    const quint32 index = glyph;
    face.advancesForGlyphIndexes(&index, &advance, 1);
    m_advances.advance[b] = ToFixed(advance.x());
}

void ByteGlyphs::DrawBox(QPainter& painter, unsigned char b, qreal left, int top, const QColor& color) const
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const quint64 key = (quint64(color.rgba()) << 16) | (quint64(std::lround(ratio * 8)) << 8) | b;
    auto it = m_boxes.constFind(key);
    if (it == m_boxes.constEnd()) {
        if (m_boxes.size() > 1024)
            m_boxes.clear();
        const int width = std::max(4, static_cast<int>(m_advances.advance[b] / 64) - 2);
        QPixmap pixmap(QSize(static_cast<int>(std::ceil(width * ratio)), static_cast<int>(std::ceil(m_boxHeight * ratio))));
        pixmap.setDevicePixelRatio(ratio);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        QColor fill = color;
        fill.setAlpha(40);
        QColor edge = color;
        edge.setAlpha(170);
        p.setPen(QPen(edge, 1));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, m_boxHeight - 1), 2.5, 2.5);
        p.setFont(m_labelFont);
        p.setPen(color);
        QString label = Label(b);
        if (label.isEmpty())
            label = QString::number(b, 16).toUpper().rightJustified(2, u'0');
        p.drawText(QRectF(0, 0, width, m_boxHeight), Qt::AlignCenter, label);
        p.end();
        it = m_boxes.insert(key, pixmap);
    }
    const int boxTop = top + (m_lineHeight - m_boxHeight) / 2;
    painter.drawPixmap(QPointF(left + 1, boxTop), it.value());
}
