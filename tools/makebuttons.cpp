// Paints the 41 toolbar pictures and writes them as data/buttons.bmp: one
// row of 30 x 30 pictures, 24 bits per pixel, the pixel rows directly after
// the 54 header bytes and the image-size field filled in, as the editor
// reads it. Usage: makebuttons [output path]

#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 30;
constexpr int kCount = 41;

const QColor kFace(0xEF, 0xEF, 0xEF);
const QColor kInk(0x2B, 0x33, 0x3B);
const QColor kBlue(0x2F, 0x6F, 0xD0);
const QColor kLightBlue(0xB8, 0xD4, 0xF4);
const QColor kRed(0xD0, 0x30, 0x30);
const QColor kGreen(0x2E, 0x9E, 0x4E);
const QColor kYellow(0xF0, 0xC0, 0x40);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kGrey(0x90, 0x98, 0xA0);

QPen ink(qreal width = 1.6, const QColor& colour = kInk)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPolygonF polygon(std::initializer_list<QPointF> points)
{
    return QPolygonF(QList<QPointF>(points));
}

void page(QPainter& p, qreal x, qreal y, qreal w, qreal h)
{
    const qreal fold = 6;
    p.setPen(ink(1.3));
    p.setBrush(kPaper);
    p.drawPolygon(polygon({{x, y}, {x + w - fold, y}, {x + w, y + fold}, {x + w, y + h}, {x, y + h}}));
    p.drawPolyline(polygon({{x + w - fold, y}, {x + w - fold, y + fold}, {x + w, y + fold}}));
}

void arrowHead(QPainter& p, QPointF tip, qreal angleDegrees, qreal size, const QColor& colour)
{
    const qreal a = qDegreesToRadians(angleDegrees);
    const QPointF back(-std::cos(a) * size, -std::sin(a) * size);
    const QPointF side(-std::sin(a) * size * 0.6, std::cos(a) * size * 0.6);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(polygon({tip, tip + back + side, tip + back - side}));
}

void stitchDots(QPainter& p, const std::vector<QPointF>& points, const QColor& colour)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (const QPointF& point : points)
        p.drawEllipse(point, 1.6, 1.6);
}

void starShape(QPainter& p, QPointF centre, qreal outer, qreal inner, int tips)
{
    QPolygonF star;
    for (int i = 0; i < tips * 2; ++i) {
        const qreal r = i % 2 == 0 ? outer : inner;
        const qreal a = -M_PI / 2 + i * M_PI / tips;
        star << centre + QPointF(std::cos(a) * r, std::sin(a) * r);
    }
    p.drawPolygon(star);
}

void smallSquares(QPainter& p, bool grouped)
{
    p.setPen(ink(1.2));
    p.setBrush(kLightBlue);
    const qreal shift = grouped ? 0 : 3;
    p.drawRect(QRectF(6 - shift, 7 - shift, 8, 8));
    p.setBrush(kYellow);
    p.drawRect(QRectF(15 + shift, 14 + shift, 8, 8));
}

void scissors(QPainter& p, QPointF at, qreal scale)
{
    p.save();
    p.translate(at);
    p.scale(scale, scale);
    p.setPen(ink(1.8, kInk));
    p.drawLine(QPointF(-6, -9), QPointF(4, 6));
    p.drawLine(QPointF(6, -9), QPointF(-4, 6));
    p.setPen(ink(1.6, kRed));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(-5.5, 9), 3.4, 3.4);
    p.drawEllipse(QPointF(5.5, 9), 3.4, 3.4);
    p.restore();
}

void orderArrow(QPainter& p, bool toStart)
{
    // Three list lines and an arrow to the first or the last place.
    p.setPen(ink(2, kGrey));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(13, 8 + i * 7), QPointF(25, 8 + i * 7));
    p.setPen(ink(2.2, kBlue));
    p.drawLine(QPointF(6, 22), QPointF(6, 8));
    const qreal barY = toStart ? 5 : 25;
    p.drawLine(QPointF(2, barY), QPointF(10, barY));
    if (toStart) {
        p.drawLine(QPointF(6, 22), QPointF(6, 10));
        arrowHead(p, {6, 7.5}, -90, 5, kBlue);
    } else {
        p.drawLine(QPointF(6, 8), QPointF(6, 20));
        arrowHead(p, {6, 22.5}, 90, 5, kBlue);
    }
}

void curvedArrow(QPainter& p, bool left)
{
    QPainterPath path;
    if (left) {
        path.moveTo(23, 22);
        path.cubicTo(26, 10, 14, 5, 8, 12);
    } else {
        path.moveTo(7, 22);
        path.cubicTo(4, 10, 16, 5, 22, 12);
    }
    p.setPen(ink(2.6, kBlue));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    arrowHead(p, left ? QPointF(5.5, 15) : QPointF(24.5, 15), left ? 125 : 55, 7, kBlue);
}

using Painter = std::function<void(QPainter&)>;

std::vector<Painter> pictures()
{
    std::vector<Painter> list(kCount);

    list[0] = [](QPainter& p) { // New design
        page(p, 7, 4, 16, 22);
        p.setPen(Qt::NoPen);
        p.setBrush(kYellow);
        starShape(p, {21, 22}, 6, 2.6, 5);
    };
    list[1] = [](QPainter& p) { // Open
        p.setPen(ink(1.3));
        p.setBrush(kYellow.darker(115));
        p.drawPolygon(polygon({{3, 8}, {10, 8}, {12, 10}, {25, 10}, {25, 24}, {3, 24}}));
        p.setBrush(kYellow);
        p.drawPolygon(polygon({{3, 24}, {7, 14}, {28, 14}, {25, 24}}));
        p.setPen(ink(2, kGreen));
        p.drawLine(QPointF(20, 9), QPointF(20, 3));
        arrowHead(p, {20, 1.5}, -90, 4, kGreen);
    };
    list[2] = [](QPainter& p) { // Delete the current object: waste bin
        p.setPen(ink(1.3));
        p.setBrush(kGrey.lighter(140));
        p.drawPolygon(polygon({{8, 9}, {22, 9}, {20, 26}, {10, 26}}));
        p.drawLine(QPointF(6, 8), QPointF(24, 8));
        p.drawLine(QPointF(12, 5), QPointF(18, 5));
        p.drawLine(QPointF(12.5, 12), QPointF(13, 23));
        p.drawLine(QPointF(17.5, 12), QPointF(17, 23));
        p.setPen(ink(2.4, kRed));
        p.drawLine(QPointF(18, 17), QPointF(27, 26));
        p.drawLine(QPointF(27, 17), QPointF(18, 26));
    };
    list[3] = [](QPainter& p) { // Save: floppy disk
        p.setPen(ink(1.3));
        p.setBrush(kBlue);
        p.drawPolygon(polygon({{4, 4}, {23, 4}, {26, 7}, {26, 26}, {4, 26}}));
        p.setBrush(kPaper);
        p.drawRect(QRectF(8, 15, 14, 11));
        p.setBrush(kLightBlue);
        p.drawRect(QRectF(9, 4, 11, 7));
        p.setBrush(kInk);
        p.drawRect(QRectF(16, 5, 2.5, 5));
        p.setPen(ink(1, kGrey));
        p.drawLine(QPointF(10, 19), QPointF(20, 19));
        p.drawLine(QPointF(10, 22), QPointF(20, 22));
    };
    list[4] = [](QPainter& p) { // Apply the parameters: tick
        p.setPen(ink(3.2, kGreen));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(polygon({{6, 15}, {12, 22}, {24, 7}}));
    };
    list[5] = [](QPainter& p) { // Export stitches: stitched page and an arrow out
        page(p, 3, 4, 15, 21);
        p.setPen(ink(1.2, kRed));
        p.drawPolyline(polygon({{6, 10}, {14, 12}, {6, 15}, {14, 17}, {6, 20}, {14, 22}}));
        p.setPen(ink(2.6, kBlue));
        p.drawLine(QPointF(16, 15), QPointF(25, 15));
        arrowHead(p, {28.5, 15}, 0, 6, kBlue);
    };
    list[6] = [](QPainter& p) { // Select tool: pointer
        p.setPen(ink(1.3));
        p.setBrush(kPaper);
        p.drawPolygon(
            polygon({{9, 4}, {9, 24}, {13.5, 19.5}, {17, 27}, {20, 25.5}, {16.5, 18.5}, {22.5, 18.5}}));
    };
    list[7] = [](QPainter& p) { // Running line
        p.setPen(QPen(kBlue, 2.2, Qt::DashLine, Qt::RoundCap));
        QPainterPath path({4, 24});
        path.cubicTo(10, 2, 18, 30, 26, 6);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        stitchDots(p, {{4, 24}, {26, 6}}, kInk);
    };
    list[8] = [](QPainter& p) { // Column along one centre line
        QPainterPath centre({5, 24});
        centre.cubicTo(9, 6, 20, 24, 25, 6);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kLightBlue, 9, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(centre);
        p.setPen(QPen(kBlue, 1.2, Qt::DashLine, Qt::RoundCap));
        p.drawPath(centre);
    };
    list[9] = [](QPainter& p) { // Satin column between two edges
        p.setPen(ink(1.4));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(4, 8), QPointF(26, 4));
        p.drawLine(QPointF(4, 26), QPointF(26, 18));
        p.setPen(ink(1, kRed));
        QPolygonF zigzag;
        for (int i = 0; i <= 10; ++i) {
            const qreal t = i / 10.0;
            const qreal x = 4 + 22 * t;
            zigzag << QPointF(x, i % 2 == 0 ? 8 - 4 * t : 26 - 8 * t);
        }
        p.drawPolyline(zigzag);
    };
    list[10] = [](QPainter& p) { // Star
        p.setPen(ink(1.3));
        p.setBrush(kYellow);
        starShape(p, {15, 16}, 12, 5, 5);
    };
    list[11] = [](QPainter& p) { // Circle
        p.setPen(ink(1.6, kBlue));
        p.setBrush(kLightBlue);
        p.drawEllipse(QPointF(15, 15), 11, 11);
    };
    list[12] = [](QPainter& p) { // Fill area between two edges
        const QPolygonF area = polygon({{4, 9}, {25, 4}, {26, 24}, {6, 26}});
        p.setPen(Qt::NoPen);
        p.setBrush(kLightBlue);
        p.drawPolygon(area);
        p.setClipRegion(QRegion(area.toPolygon()));
        p.setPen(ink(1, kBlue));
        for (int i = -30; i < 30; i += 4)
            p.drawLine(QPointF(i, 30), QPointF(i + 30, 0));
        p.setClipping(false);
        p.setPen(ink(1.4));
        p.setBrush(Qt::NoBrush);
        p.drawPolygon(area);
    };
    list[13] = [](QPainter& p) { // Stitch view: an eye over stitches
        p.setPen(ink(1.2, kRed));
        p.drawPolyline(polygon({{3, 24}, {8, 20}, {13, 25}, {18, 20}, {23, 25}, {27, 21}}));
        QPainterPath eye({3, 11});
        eye.quadTo(15, 0, 27, 11);
        eye.quadTo(15, 22, 3, 11);
        p.setPen(ink(1.3));
        p.setBrush(kPaper);
        p.drawPath(eye);
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(15, 11), 4, 4);
        p.setBrush(kInk);
        p.drawEllipse(QPointF(15, 11), 1.6, 1.6);
    };
    list[14] = [](QPainter& p) { // Insert a point
        p.setPen(ink(1.4, kGrey));
        p.drawLine(QPointF(3, 22), QPointF(27, 22));
        p.setPen(ink(1.2));
        p.setBrush(kYellow);
        p.drawRect(QRectF(11, 18, 7, 7));
        p.setPen(ink(2.4, kGreen));
        p.drawLine(QPointF(14.5, 3), QPointF(14.5, 13));
        p.drawLine(QPointF(9.5, 8), QPointF(19.5, 8));
    };
    list[15] = [](QPainter& p) { // Underlay: layers
        for (int i = 0; i < 3; ++i) {
            p.setPen(ink(1.2));
            p.setBrush(i == 0 ? kBlue : (i == 1 ? kLightBlue : kPaper));
            const qreal y = 19 - i * 6;
            p.drawPolygon(polygon({{15, y - 5}, {27, y}, {15, y + 5}, {3, y}}));
        }
    };
    list[16] = [](QPainter& p) { // Tie-in and tie-off: a knot
        QPainterPath knot({3, 20});
        knot.cubicTo(12, 20, 22, 4, 15, 4);
        knot.cubicTo(8, 4, 18, 20, 27, 20);
        p.setPen(ink(2.2, kRed));
        p.setBrush(Qt::NoBrush);
        p.drawPath(knot);
        stitchDots(p, {{3, 20}, {27, 20}}, kInk);
    };
    list[17] = [](QPainter& p) { // Density: lines closing up
        p.setPen(ink(1.3, kBlue));
        qreal x = 4;
        for (qreal gap = 6; x < 27; gap *= 0.72) {
            p.drawLine(QPointF(x, 5), QPointF(x, 25));
            x += std::max<qreal>(gap, 2);
        }
    };
    list[18] = [](QPainter& p) { // Print
        p.setPen(ink(1.2));
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 3, 12, 9));
        p.setBrush(kGrey.lighter(130));
        p.drawRoundedRect(QRectF(4, 11, 22, 10), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 17, 12, 10));
        p.setPen(ink(1, kGrey));
        p.drawLine(QPointF(11, 21), QPointF(19, 21));
        p.drawLine(QPointF(11, 24), QPointF(19, 24));
    };
    list[19] = [](QPainter& p) { // Join objects: two chain links
        p.setBrush(Qt::NoBrush);
        p.setPen(ink(2.4, kBlue));
        p.drawRoundedRect(QRectF(3, 10, 14, 9), 4.5, 4.5);
        p.setPen(ink(2.4, kGreen));
        p.drawRoundedRect(QRectF(13, 11, 14, 9), 4.5, 4.5);
    };
    list[20] = [](QPainter& p) { // Optimise the stitching order: a short path through points
        p.setPen(ink(1.4, kGrey));
        p.drawPolyline(polygon({{5, 24}, {9, 8}, {18, 21}, {25, 6}}));
        stitchDots(p, {{5, 24}, {9, 8}, {18, 21}, {25, 6}}, kBlue);
        p.setPen(ink(2, kGreen));
        p.drawLine(QPointF(16, 27), QPointF(26, 27));
        arrowHead(p, {28.5, 27}, 0, 4, kGreen);
    };
    list[21] = [](QPainter& p) { // Fill pattern
        p.setPen(ink(1.2));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4, 4, 22, 22));
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        for (int row = 0; row < 4; ++row)
            for (int col = 0; col < 4; ++col)
                if ((row + col) % 2 == 0)
                    p.drawRect(QRectF(5 + col * 5, 5 + row * 5, 5, 5));
    };
    list[22] = [](QPainter& p) { // Edit nodes: a curve and its handles
        QPainterPath curve({4, 24});
        curve.cubicTo(8, 6, 22, 6, 26, 24);
        p.setPen(ink(1.6, kBlue));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
        p.setPen(ink(1, kGrey));
        p.drawLine(QPointF(4, 24), QPointF(8, 6));
        p.drawLine(QPointF(26, 24), QPointF(22, 6));
        p.setPen(ink(1));
        p.setBrush(kRed);
        for (const QPointF& point : {QPointF(8, 6), QPointF(22, 6)})
            p.drawRect(QRectF(point.x() - 2.5, point.y() - 2.5, 5, 5));
        p.setBrush(kPaper);
        for (const QPointF& point : {QPointF(4, 24), QPointF(26, 24)})
            p.drawRect(QRectF(point.x() - 2.5, point.y() - 2.5, 5, 5));
    };
    list[23] = [](QPainter& p) { // Edit the object: pencil
        p.setPen(ink(1.2));
        p.setBrush(kYellow);
        p.drawPolygon(polygon({{8, 26}, {4, 26}, {4, 22}, {20, 6}, {24, 10}}));
        p.setBrush(kRed);
        p.drawPolygon(polygon({{20, 6}, {23, 3}, {27, 7}, {24, 10}}));
        p.setBrush(kInk);
        p.drawPolygon(polygon({{4, 26}, {4, 23.5}, {6.5, 26}}));
    };
    list[24] = [](QPainter& p) { // Column width
        p.setPen(QPen(kLightBlue, 8, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(15, 4), QPointF(15, 26));
        p.setPen(ink(1.2, kInk));
        p.drawLine(QPointF(4, 4), QPointF(4, 26));
        p.drawLine(QPointF(26, 4), QPointF(26, 26));
        p.setPen(ink(1.8, kBlue));
        p.drawLine(QPointF(9, 15), QPointF(21, 15));
        arrowHead(p, {5.5, 15}, 180, 5, kBlue);
        arrowHead(p, {24.5, 15}, 0, 5, kBlue);
    };
    list[25] = [](QPainter& p) { // Stitch quality: magnifier over stitches
        p.setPen(ink(1.2, kRed));
        p.drawPolyline(polygon({{4, 14}, {8, 8}, {12, 14}, {16, 8}, {20, 14}}));
        p.setPen(ink(1.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 11), 8, 8);
        p.setPen(ink(3.4));
        p.drawLine(QPointF(18, 17), QPointF(26, 25));
    };
    list[26] = [](QPainter& p) { // Motif: a leaf made of stitches
        QPainterPath leaf({5, 25});
        leaf.cubicTo(4, 10, 14, 4, 26, 4);
        leaf.cubicTo(26, 16, 20, 26, 5, 25);
        p.setPen(ink(1.4, kGreen.darker(130)));
        p.setBrush(kGreen);
        p.drawPath(leaf);
        p.setPen(QPen(kPaper, 1.2, Qt::DashLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 24), QPointF(23, 7));
    };
    list[27] = [](QPainter& p) { // Group objects
        smallSquares(p, true);
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 4, 23, 21));
    };
    list[28] = [](QPainter& p) { // Ungroup objects
        smallSquares(p, false);
        p.setPen(ink(1.4, kRed));
        p.drawLine(QPointF(6, 26), QPointF(24, 4));
    };
    list[29] = [](QPainter& p) { // Flip: mirrored triangles
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.drawLine(QPointF(15, 3), QPointF(15, 27));
        p.setPen(ink(1.2));
        p.setBrush(kBlue);
        p.drawPolygon(polygon({{12, 6}, {12, 24}, {3, 24}}));
        p.setBrush(kPaper);
        p.drawPolygon(polygon({{18, 6}, {18, 24}, {27, 24}}));
    };
    list[30] = [](QPainter& p) { // Trim: scissors cutting the thread
        p.setPen(QPen(kRed, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(2, 8), QPointF(11, 8));
        p.drawLine(QPointF(19, 8), QPointF(28, 8));
        scissors(p, {15, 12}, 0.8);
    };
    list[31] = [](QPainter& p) { // Colour: three threads
        p.setPen(ink(1.2));
        const QColor colours[] = {kRed, kGreen, kBlue};
        const QPointF centres[] = {{11, 11}, {19, 11}, {15, 19}};
        for (int i = 0; i < 3; ++i) {
            p.setBrush(colours[i]);
            p.drawEllipse(centres[i], 7, 7);
        }
    };
    list[32] = [](QPainter& p) { curvedArrow(p, true); };  // Undo
    list[33] = [](QPainter& p) { curvedArrow(p, false); }; // Redo
    list[34] = [](QPainter& p) {                           // Copy
        page(p, 4, 3, 14, 18);
        page(p, 12, 9, 14, 18);
    };
    list[35] = [](QPainter& p) { // Paste: clipboard and a page
        p.setPen(ink(1.2));
        p.setBrush(kYellow.darker(120));
        p.drawRoundedRect(QRectF(4, 5, 17, 21), 2, 2);
        p.setBrush(kGrey);
        p.drawRect(QRectF(9, 3, 7, 4));
        page(p, 13, 11, 14, 16);
    };
    list[36] = [](QPainter& p) { orderArrow(p, true); };  // To the start of the order
    list[37] = [](QPainter& p) { orderArrow(p, false); }; // To the end of the order
    list[38] = [](QPainter& p) {                          // Cross-hair
        p.setPen(ink(1.4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(15, 15), 8, 8);
        p.drawLine(QPointF(15, 2), QPointF(15, 28));
        p.drawLine(QPointF(2, 15), QPointF(28, 15));
        p.setPen(ink(1.4, kRed));
        p.drawEllipse(QPointF(15, 15), 1.5, 1.5);
    };
    list[39] = [](QPainter& p) { // Grid
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(3, 3, 24, 24));
        p.setPen(QPen(QColor(255, 255, 0), 1.2, Qt::DashLine));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(QPointF(3 + i * 6, 4), QPointF(3 + i * 6, 26));
            p.drawLine(QPointF(4, 3 + i * 6), QPointF(26, 3 + i * 6));
        }
    };
    list[40] = [](QPainter& p) { // Cut
        p.setPen(QPen(kGrey, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(3, 2, 24, 12));
        scissors(p, {15, 13}, 1.0);
    };
    return list;
}

QImage paintStrip()
{
    QImage strip(kSize * kCount, kSize, QImage::Format_RGB32);
    strip.fill(kFace);
    const std::vector<Painter> list = pictures();
    for (int k = 0; k < kCount; ++k) {
        QPainter painter(&strip);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(k * kSize, 0);
        painter.setClipRect(0, 0, kSize, kSize);
        list[std::size_t(k)](painter);
    }
    return strip;
}

void put16(std::string& out, uint32_t v)
{
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::string bmpBytes(const QImage& image)
{
    const uint32_t width = uint32_t(image.width());
    const uint32_t height = uint32_t(image.height());
    const uint32_t stride = (width * 3 + 3) / 4 * 4;
    const uint32_t imageSize = stride * height;
    std::string out;
    out += "BM";
    put32(out, 54 + imageSize);
    put32(out, 0);
    put32(out, 54);
    put32(out, 40);
    put32(out, width);
    put32(out, height); // bottom-up rows
    put16(out, 1);
    put16(out, 24);
    put32(out, 0);
    put32(out, imageSize);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    for (int y = int(height) - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        std::string line;
        for (uint32_t x = 0; x < width; ++x) {
            line += char(qBlue(row[x]));
            line += char(qGreen(row[x]));
            line += char(qRed(row[x]));
        }
        line.resize(stride, '\0');
        out += line;
    }
    return out;
}

} // namespace

int main(int argc, char* argv[])
{
    const char* path = argc > 1 ? argv[1] : "buttons.bmp";
    const std::string bytes = bmpBytes(paintStrip());
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "makebuttons: cannot write %s\n", path);
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "makebuttons: writing %s failed\n", path);
        return 1;
    }
    return 0;
}
