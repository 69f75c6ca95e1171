#include "app/AppIcon.h"

#include <QColor>
#include <QPainter>

#include <optional>
#include <vector>

namespace {

// On a 32-unit square. Strokes use Qt's default square caps and bevel joins; the SVG says so.
struct Shape {
    enum Kind { Rect, Line, Circle } kind;
    double a, b, c, d; // rect: x, y, w, h; line: x1, y1, x2, y2; circle: cx, cy, r, unused
    QColor stroke;
    double width;
    std::optional<QColor> fill;
};

std::vector<Shape> Drawing()
{
    const QColor ink(40, 40, 40), text(150, 150, 150), q(40, 90, 180);
    std::vector<Shape> shapes{{Shape::Rect, 5.5, 2.5, 20, 27, ink, 1, QColor(Qt::white)}};
    for (int i = 0; i < 5; ++i)
        shapes.push_back({Shape::Line, 9, 7.5 + 3 * i, 22, 7.5 + 3 * i, text, 1, std::nullopt});
    shapes.push_back({Shape::Circle, 19, 22, 6, 0, q, 2.5, std::nullopt});
    shapes.push_back({Shape::Line, 22, 25, 28, 31, q, 2.5, std::nullopt});
    return shapes;
}

QByteArray Number(double v) { return QByteArray::number(v, 'g', 6); }

} // namespace

QImage ApplicationIconImage(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    for (const Shape& s : Drawing()) {
        p.setPen(QPen(s.stroke, s.width));
        p.setBrush(s.fill ? QBrush(*s.fill) : QBrush(Qt::NoBrush));
        switch (s.kind) {
        case Shape::Rect: p.drawRect(QRectF(s.a, s.b, s.c, s.d)); break;
        case Shape::Line: p.drawLine(QPointF(s.a, s.b), QPointF(s.c, s.d)); break;
        case Shape::Circle: p.drawEllipse(QPointF(s.a, s.b), s.c, s.c); break;
        }
    }
    return image;
}

QByteArray ApplicationIconSvg()
{
    QByteArray svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                     "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"32\" height=\"32\" viewBox=\"0 0 32 32\">\n";
    for (const Shape& s : Drawing()) {
        const QByteArray paint = " fill=\"" + (s.fill ? s.fill->name().toLatin1() : QByteArray("none")) +
                                 "\" stroke=\"" + s.stroke.name().toLatin1() + "\" stroke-width=\"" + Number(s.width) +
                                 "\" stroke-linecap=\"square\" stroke-linejoin=\"bevel\"/>\n";
        switch (s.kind) {
        case Shape::Rect:
            svg += "  <rect x=\"" + Number(s.a) + "\" y=\"" + Number(s.b) + "\" width=\"" + Number(s.c) +
                   "\" height=\"" + Number(s.d) + "\"" + paint;
            break;
        case Shape::Line:
            svg += "  <line x1=\"" + Number(s.a) + "\" y1=\"" + Number(s.b) + "\" x2=\"" + Number(s.c) + "\" y2=\"" +
                   Number(s.d) + "\"" + paint;
            break;
        case Shape::Circle:
            svg += "  <circle cx=\"" + Number(s.a) + "\" cy=\"" + Number(s.b) + "\" r=\"" + Number(s.c) + "\"" + paint;
            break;
        }
    }
    return svg + "</svg>\n";
}
