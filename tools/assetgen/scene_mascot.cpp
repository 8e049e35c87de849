// SPDX-License-Identifier: GPL-3.0-or-later
// The mascot: a smiling green paper scroll with arms, cut out on a transparent background.

#include "paint.h"
#include "scenes.h"

#include <cmath>

namespace quorlin::assetgen {

namespace {

constexpr double W = 720, H = 960;
const QColor Outline(30, 84, 34);

// A horizontal paper roll: a shaded cylinder with a spiral on each end.
void roll(QPainter &p, double y, double left, double right, double radius)
{
    const QRectF body(left, y - radius, right - left, 2 * radius);
    QLinearGradient g(0, body.top(), 0, body.bottom());
    g.setColorAt(0, QColor(176, 228, 140));
    g.setColorAt(0.35, QColor(130, 204, 96));
    g.setColorAt(1, QColor(58, 130, 52));
    p.setPen(QPen(Outline, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawRoundedRect(body, radius * 0.5, radius);
    for (double x : {left, right}) {
        const QPointF c(x, y);
        QRadialGradient cap(c + QPointF(-radius * 0.2, -radius * 0.3), radius);
        cap.setColorAt(0, QColor(214, 246, 190));
        cap.setColorAt(1, QColor(140, 206, 104));
        p.setBrush(cap);
        p.setPen(QPen(Outline, 10));
        p.drawEllipse(c, radius * 0.55, radius);
        QPainterPath spiral;
        for (int i = 0; i <= 60; ++i) {
            const double t = i / 60.0, a = t * 4.2 * M_PI, rr = (1 - t) * 0.8;
            const QPointF pt =
                c + QPointF(std::cos(a) * radius * 0.55 * rr, std::sin(a) * radius * rr);
            i ? spiral.lineTo(pt) : spiral.moveTo(pt);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(60, 124, 56), 5, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(spiral);
    }
}

void arm(QPainter &p, const std::vector<QPointF> &path, QPointF hand, double handAngle)
{
    const QPainterPath a = smoothPath(path);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Outline, 40, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(a);
    p.setPen(QPen(QColor(112, 190, 80), 24, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(a);
    // A round white cartoon hand with a thumb.
    p.save();
    p.translate(hand);
    p.rotate(handAngle);
    p.setPen(QPen(Outline, 9));
    QRadialGradient g(QPointF(-12, -14), 60);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(214, 226, 214));
    p.setBrush(g);
    p.drawEllipse(QPointF(0, 0), 44, 40);
    p.drawEllipse(QPointF(-36, -22), 15, 20);
    p.setPen(QPen(Outline, 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(-4, -30), QPointF(-4, -6));
    p.drawLine(QPointF(14, -28), QPointF(14, -6));
    p.restore();
}

} // namespace

QImage drawScrollMascot(int width, int height)
{
    const double k = width / W;
    QImage img = canvas(width, height);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);

    const double left = 190, right = 530, top = 190, bottom = 770;
    // Arms behind the sheet: the left one waves, the right one rests on the side.
    arm(p, {{220, 420}, {140, 380}, {100, 270}, {110, 200}}, {112, 168}, -15);
    arm(p, {{500, 470}, {600, 520}, {630, 610}, {600, 660}}, {588, 690}, 160);

    // The unrolled sheet, slightly wavy at the sides.
    QPainterPath sheet;
    sheet.moveTo(left, top);
    sheet.cubicTo(left - 14, top + 200, left + 14, bottom - 200, left, bottom);
    sheet.lineTo(right, bottom);
    sheet.cubicTo(right + 14, bottom - 200, right - 14, top + 200, right, top);
    sheet.closeSubpath();
    QLinearGradient sg(left, 0, right, 0);
    sg.setColorAt(0, QColor(150, 214, 112));
    sg.setColorAt(0.3, QColor(190, 236, 156));
    sg.setColorAt(1, QColor(112, 184, 84));
    p.setPen(QPen(Outline, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(sg);
    p.drawPath(sheet);
    // Shade under the top roll.
    p.save();
    p.setClipPath(sheet);
    QLinearGradient under(0, top, 0, top + 60);
    under.setColorAt(0, QColor(30, 80, 30, 110));
    under.setColorAt(1, QColor(30, 80, 30, 0));
    p.fillRect(QRectF(left - 20, top, right - left + 40, 60), under);
    p.restore();

    // A few lines of writing on the lower part of the sheet.
    Random rng(1201);
    Handwriting hw;
    hw.ink = QColor(60, 120, 56);
    hw.size = 38;
    hw.weight = 2.5;
    hw.slant = 0.1;
    const QString lines[] = {QStringLiteral("วันนี้ขอบคุณ"), QStringLiteral("ลมเย็นตอนเช้า"),
                             QStringLiteral("และตัวเอง")};
    for (int i = 0; i < 3; ++i)
        handwritingLine(p,
                        QPointF((left + right - handwritingWidth(lines[i], hw)) / 2, 614 + i * 50),
                        lines[i], hw, rng);

    // The face.
    const QPointF eyes[] = {{300, 410}, {422, 410}};
    for (const QPointF &e : eyes) {
        p.setPen(QPen(Outline, 8));
        p.setBrush(Qt::white);
        p.drawEllipse(e, 40, 50);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(28, 36, 30));
        p.drawEllipse(e + QPointF(6, 8), 24, 30);
        p.setBrush(Qt::white);
        p.drawEllipse(e + QPointF(14, -4), 9, 10);
        p.drawEllipse(e + QPointF(-2, 22), 4, 4);
    }
    p.setBrush(QColor(255, 140, 140, 150));
    p.drawEllipse(QPointF(252, 488), 30, 18);
    p.drawEllipse(QPointF(470, 488), 30, 18);
    QPainterPath mouth;
    mouth.moveTo(300, 480);
    mouth.cubicTo(320, 560, 402, 560, 422, 480);
    mouth.quadTo(361, 500, 300, 480);
    p.setPen(QPen(Outline, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(140, 34, 40));
    p.drawPath(mouth);
    p.save();
    p.setClipPath(mouth);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(240, 110, 110));
    p.drawEllipse(QPointF(361, 548), 40, 24);
    p.restore();
    p.setPen(QPen(Outline, 7, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(262, 330, 70, 30), 30 * 16, 120 * 16);
    p.drawArc(QRectF(390, 330, 70, 30), 30 * 16, 120 * 16);

    roll(p, bottom + 10, left - 40, right + 40, 44);
    roll(p, top - 10, left - 40, right + 40, 44);
    p.end();
    return img;
}

} // namespace quorlin::assetgen
