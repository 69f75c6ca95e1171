#include "app/ToolImages.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(40, 40, 40);
const QColor kPaper(255, 255, 255);
const QColor kBlue(40, 90, 180);

void Page(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - 3, r.top());
    path.lineTo(r.right(), r.top() + 3);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
}

void Lines(QPainter& p, const QRectF& r, int count)
{
    p.setPen(QPen(QColor(120, 120, 120), 1));
    for (int i = 0; i < count; ++i) {
        const qreal y = r.top() + 3 + i * 2;
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
    }
}

void Lens(QPainter& p, const QPointF& c)
{
    p.setPen(QPen(kInk, 1.5));
    p.setBrush(QColor(200, 225, 255));
    p.drawEllipse(c, 3.5, 3.5);
    p.drawLine(c + QPointF(2.5, 2.5), c + QPointF(6, 6));
}

void Draw(QPainter& p, int index)
{
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0: // cut
        p.setPen(QPen(kInk, 1.3));
        p.drawLine(QPointF(5, 1), QPointF(10, 10));
        p.drawLine(QPointF(11, 1), QPointF(6, 10));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 40, 40), 1.5));
        p.drawEllipse(QPointF(5, 12.5), 2.5, 2.5);
        p.drawEllipse(QPointF(11, 12.5), 2.5, 2.5);
        break;
    case 1: // copy
        Page(p, QRectF(1.5, 1.5, 8, 10));
        Page(p, QRectF(6.5, 4.5, 8, 10));
        Lines(p, QRectF(6.5, 4.5, 8, 10), 3);
        break;
    case 2: // paste
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(190, 140, 70));
        p.drawRect(QRectF(2.5, 2.5, 9, 12));
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(QRectF(5, 1, 4, 3));
        Page(p, QRectF(7.5, 6.5, 7, 8));
        break;
    case 3: { // undo
        p.setPen(QPen(kBlue, 2));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 9, 9), 90 * 16, -240 * 16);
        QPolygonF head({QPointF(1, 6), QPointF(7, 2), QPointF(7, 9)});
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(head);
        break;
    }
    case 8: // redo: the undo arrow, mirrored
        p.translate(16, 0);
        p.scale(-1, 1);
        Draw(p, 3);
        break;
    case 4: // delete
        p.setPen(QPen(QColor(200, 30, 30), 2.2));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
        break;
    case 5: // new
        Page(p, QRectF(3.5, 1.5, 9, 13));
        break;
    case 6: // open
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(235, 195, 80));
        p.drawRect(QRectF(1.5, 4.5, 12, 9));
        p.drawRect(QRectF(1.5, 3, 5, 2));
        p.setBrush(QColor(250, 220, 120));
        p.drawPolygon(QPolygonF({QPointF(3.5, 7.5), QPointF(15, 7.5), QPointF(13.5, 13.5), QPointF(1.5, 13.5)}));
        break;
    case 7: // save
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 1.5, 8, 5));
        p.setBrush(QColor(200, 200, 200));
        p.drawRect(QRectF(4, 9.5, 8, 5));
        break;
    case 11: // find
        Page(p, QRectF(1.5, 1.5, 9, 12));
        Lines(p, QRectF(1.5, 1.5, 9, 12), 4);
        Lens(p, QPointF(9, 8));
        break;
    case 12: // replace
        Page(p, QRectF(1.5, 1.5, 9, 12));
        Lines(p, QRectF(1.5, 1.5, 9, 12), 4);
        p.setPen(QPen(QColor(30, 140, 60), 1.8));
        p.drawLine(QPointF(8, 11), QPointF(14, 11));
        p.drawLine(QPointF(11.5, 8.5), QPointF(14, 11));
        p.drawLine(QPointF(11.5, 13.5), QPointF(14, 11));
        break;
    case 13: // print
        Page(p, QRectF(4.5, 1.5, 7, 6));
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(170, 170, 170));
        p.drawRect(QRectF(1.5, 6.5, 13, 6));
        Page(p, QRectF(4.5, 10.5, 7, 4));
        break;
    case 14: { // analyze: a small bar chart
        p.setPen(Qt::NoPen);
        const QColor bars[] = {kBlue, QColor(30, 140, 60), QColor(200, 120, 30)};
        const qreal heights[] = {7, 12, 4};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(bars[i]);
            p.drawRect(QRectF(2 + i * 4.5, 14 - heights[i], 3.5, heights[i]));
        }
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
        break;
    }
    default: // spare images
        Page(p, QRectF(3.5, 1.5, 9, 13));
        Lines(p, QRectF(3.5, 1.5, 9, 13), 5);
        break;
    }
}

} // namespace

QIcon ToolImage(int index)
{
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(16 * scale, 16 * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        Draw(p, index);
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
