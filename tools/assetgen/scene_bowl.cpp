// SPDX-License-Identifier: GPL-3.0-or-later
// A dark bronze singing bowl on a round black lacquered table scattered with small cards,
// in the warm light of a window to the upper left.

#include "paint.h"
#include "scenes.h"

#include <algorithm>
#include <cmath>

namespace quorlin::assetgen {

namespace {

constexpr double W = 827, H = 548;

struct Card
{
    double u, v, angle;
    int style;
};

void drawCard(QPainter &p, const Card &c, QPointF at, double flatten, double depth, Random &rng)
{
    static const QColor backs[] = {{140, 40, 44}, {30, 104, 106},  {200, 150, 50},
                                   {52, 64, 122}, {236, 226, 204}, {96, 130, 70}};
    const double cw = 30 * depth, ch = 46 * depth;
    p.save();
    p.translate(at);
    p.scale(1.0, flatten);
    p.rotate(c.angle);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(-cw / 2, -ch / 2, cw, ch), 2.5, 2.5);
    shadow(p, shape, QPointF(3, 4), 3, QColor(0, 0, 0, 170));
    p.setPen(QPen(QColor(40, 30, 22, 120), 0.8));
    p.setBrush(QColor(246, 238, 220));
    p.drawPath(shape);
    const QColor back = backs[c.style % 6];
    const QRectF inner(-cw / 2 + 3, -ch / 2 + 3, cw - 6, ch - 6);
    QLinearGradient g(inner.topLeft(), inner.bottomRight());
    g.setColorAt(0, back.lighter(125));
    g.setColorAt(1, back.darker(120));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(inner);
    // A small emblem on each card: a star, a flower or a sun.
    p.setBrush(QColor(250, 236, 190, 220));
    const double r = cw * 0.17;
    if (c.style % 3 == 0) {
        p.drawEllipse(QPointF(0, 0), r, r);
    } else {
        for (int i = 0; i < 5; ++i) {
            const double a = i * 2 * M_PI / 5 + rng.uniform() * 0.1;
            p.drawEllipse(QPointF(std::cos(a), std::sin(a)) * r * 0.9, r * 0.45, r * 0.45);
        }
    }
    p.restore();
}

} // namespace

QImage drawSingingBowl(int width, int height)
{
    const double k = width / W;
    QImage img = canvas(width, height, QColor(30, 20, 14));
    Random rng(101);

    // The room behind, out of focus: warm walls, a bright window, little lamps.
    {
        QImage bg = canvas(width, height);
        QPainter p(&bg);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        QLinearGradient g(0, 0, 0, H);
        g.setColorAt(0, QColor(70, 46, 28));
        g.setColorAt(0.45, QColor(40, 26, 17));
        g.setColorAt(1, QColor(16, 11, 8));
        p.fillRect(QRectF(0, 0, W, H), g);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 214, 150, 150));
        p.drawRect(QRectF(40, -20, 130, 170));
        p.setBrush(QColor(255, 228, 170, 120));
        p.drawRect(QRectF(185, -20, 60, 170));
        QRadialGradient glow(QPointF(W * 0.18, H * 0.08), W * 0.55);
        glow.setColorAt(0, QColor(255, 190, 120, 140));
        glow.setColorAt(1, QColor(255, 190, 120, 0));
        p.fillRect(QRectF(0, 0, W, H), glow);
        // A dark wooden shelf along the back wall.
        p.setBrush(QColor(24, 15, 10));
        p.drawRect(QRectF(0, 200, W, 22));
        for (int i = 0; i < 16; ++i) {
            const QPointF c(rng.range(260, W - 10), rng.range(30, 190));
            const double r = rng.range(6, 20);
            QColor col = i % 3 ? QColor(255, 176, 90) : QColor(255, 222, 150);
            col.setAlpha(int(rng.range(40, 110)));
            p.setBrush(col);
            p.drawEllipse(c, r, r);
        }
        p.end();
        blur(bg, int(9 * k));
        composite(img, bg);
    }

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);

    // The round table, seen from a low angle: lacquered black top and a thick edge.
    const QPointF tc(W / 2, H * 0.71);
    const double rx = W * 0.47, ry = H * 0.245;
    {
        QPainterPath edge;
        edge.addEllipse(tc + QPointF(0, 20), rx, ry);
        shadow(p, edge, QPointF(0, 14), 16, QColor(0, 0, 0, 200));
        QLinearGradient eg(tc.x() - rx, 0, tc.x() + rx, 0);
        eg.setColorAt(0, QColor(28, 24, 22));
        eg.setColorAt(0.3, QColor(44, 38, 34));
        eg.setColorAt(1, QColor(8, 7, 7));
        p.setPen(Qt::NoPen);
        p.setBrush(eg);
        p.drawPath(edge);
        QRadialGradient top(tc + QPointF(-rx * 0.25, -ry * 0.45), rx * 1.05);
        top.setColorAt(0, QColor(58, 52, 50));
        top.setColorAt(0.45, QColor(22, 20, 20));
        top.setColorAt(1, QColor(6, 6, 7));
        p.setBrush(top);
        p.drawEllipse(tc, rx, ry);
        // Sheen of the window on the lacquer.
        QPainterPath sheen;
        sheen.addEllipse(tc + QPointF(-rx * 0.45, -ry * 0.5), rx * 0.32, ry * 0.18);
        shadow(p, sheen, QPointF(0, 0), 18, QColor(255, 220, 170, 70));
        p.setPen(QPen(QColor(150, 120, 90, 90), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(tc.x() - rx, tc.y() - ry, 2 * rx, 2 * ry), 190 * 16, 160 * 16);
    }

    // Cards scattered over the table, back to front, leaving room for the bowl.
    std::vector<Card> cards;
    while (cards.size() < 30) {
        const double u = rng.symmetric() * 0.9, v = rng.symmetric() * 0.82;
        if (u * u + v * v > 0.8)
            continue;
        if (std::abs(u) < 0.36 && v > -0.55 && v < 0.42)
            continue;
        bool crowded = false;
        for (const Card &o : cards)
            crowded |= std::hypot((o.u - u) * 2.0, o.v - v) < 0.2;
        if (crowded)
            continue;
        cards.push_back({u, v, rng.range(-50, 50), rng.below(6)});
    }
    std::sort(cards.begin(), cards.end(), [](const Card &a, const Card &b) { return a.v < b.v; });
    for (const Card &c : cards)
        drawCard(p, c, tc + QPointF(c.u * rx, c.v * ry), 0.5, 1.0 + 0.25 * c.v, rng);

    // The bowl.
    const double cx = W / 2, rimY = H * 0.415, baseY = H * 0.655, Rx = 132, Ry = 38;
    // Its round cushion.
    {
        QPainterPath cushion;
        cushion.addEllipse(QPointF(cx, baseY + 2), Rx * 0.86, 24);
        shadow(p, cushion, QPointF(0, 8), 10, QColor(0, 0, 0, 220));
        QRadialGradient cg(QPointF(cx - 30, baseY - 8), Rx);
        cg.setColorAt(0, QColor(150, 40, 44));
        cg.setColorAt(0.7, QColor(86, 18, 24));
        cg.setColorAt(1, QColor(40, 8, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(cg);
        p.drawPath(cushion);
    }
    QPainterPath body;
    // Rolled front edge of the ring cushion, drawn over the foot of the bowl.
    auto cushionFront = [&] {
        QLinearGradient rg(0, baseY - 4, 0, baseY + 26);
        rg.setColorAt(0, QColor(168, 52, 54));
        rg.setColorAt(0.5, QColor(110, 26, 32));
        rg.setColorAt(1, QColor(46, 8, 12));
        p.setPen(QPen(QBrush(rg), 20, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(cx - Rx * 0.82, baseY - 20, Rx * 1.64, 36), 192 * 16, 156 * 16);
    };
    body.moveTo(cx - Rx, rimY);
    body.cubicTo(cx - Rx * 1.0, rimY + 70, cx - Rx * 0.7, baseY + 4, cx, baseY + 6);
    body.cubicTo(cx + Rx * 0.7, baseY + 4, cx + Rx * 1.0, rimY + 70, cx + Rx, rimY);
    body.arcTo(QRectF(cx - Rx, rimY - Ry, 2 * Rx, 2 * Ry), 0, 180);
    body.closeSubpath();
    shadow(p, body, QPointF(-10, 12), 14, QColor(0, 0, 0, 160));
    {
        QLinearGradient bg(cx - Rx, 0, cx + Rx, 0);
        bg.setColorAt(0.0, QColor(16, 12, 9));
        bg.setColorAt(0.14, QColor(56, 40, 25));
        bg.setColorAt(0.24, QColor(108, 78, 46));
        bg.setColorAt(0.34, QColor(40, 29, 19));
        bg.setColorAt(0.62, QColor(19, 14, 10));
        bg.setColorAt(0.86, QColor(46, 33, 21));
        bg.setColorAt(1.0, QColor(10, 8, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(bg);
        p.drawPath(body);
        p.save();
        p.setClipPath(body);
        QLinearGradient shade(0, rimY, 0, baseY + 6);
        shade.setColorAt(0, QColor(0, 0, 0, 0));
        shade.setColorAt(1, QColor(0, 0, 0, 150));
        p.fillRect(QRectF(cx - Rx, rimY - Ry, 2 * Rx, baseY - rimY + 2 * Ry), shade);
        // Two engraved bands below the lip.
        for (double off : {16.0, 24.0, 60.0}) {
            p.setPen(QPen(QColor(190, 150, 96, off > 50 ? 60 : 110), 1.3));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(cx - Rx, rimY - Ry + off, 2 * Rx, 2 * Ry), 180 * 16, 180 * 16);
            p.setPen(QPen(QColor(0, 0, 0, 120), 1.0));
            p.drawArc(QRectF(cx - Rx, rimY - Ry + off + 1.6, 2 * Rx, 2 * Ry), 180 * 16, 180 * 16);
        }
        // Soft highlight of the window on the metal.
        QPainterPath highlight;
        highlight.addEllipse(QPointF(cx - Rx * 0.6, rimY + 52), 9, 34);
        shadow(p, highlight, QPointF(0, 0), 8, QColor(255, 226, 180, 170));
        p.restore();
    }
    // The inside of the bowl and its lip.
    {
        const QRectF rim(cx - Rx, rimY - Ry, 2 * Rx, 2 * Ry);
        QRadialGradient in(QPointF(cx + Rx * 0.25, rimY - Ry * 0.35), Rx * 1.1);
        in.setColorAt(0, QColor(132, 98, 58));
        in.setColorAt(0.35, QColor(66, 48, 29));
        in.setColorAt(0.8, QColor(24, 17, 12));
        in.setColorAt(1, QColor(12, 9, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(in);
        p.drawEllipse(rim.adjusted(4, 3, -4, -3));
        QPainterPath dark;
        dark.addEllipse(QPointF(cx - Rx * 0.1, rimY + Ry * 0.35), Rx * 0.6, Ry * 0.45);
        shadow(p, dark, QPointF(0, 0), 10, QColor(0, 0, 0, 130));
        QLinearGradient lip(rim.left(), 0, rim.right(), 0);
        lip.setColorAt(0, QColor(210, 168, 108));
        lip.setColorAt(0.35, QColor(150, 110, 66));
        lip.setColorAt(0.7, QColor(70, 50, 32));
        lip.setColorAt(1, QColor(160, 120, 76));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QBrush(lip), 5.5));
        p.drawEllipse(rim.adjusted(2, 1.5, -2, -1.5));
        p.setPen(QPen(QColor(255, 228, 180, 150), 1.2));
        p.drawArc(rim.adjusted(0, 0, 0, 0), 100 * 16, 110 * 16);
    }

    cushionFront();

    // The wooden striker, wrapped in suede at one end, lying in front of the bowl.
    {
        p.save();
        p.translate(cx + 130, H * 0.83);
        p.rotate(-14);
        QPainterPath stick;
        stick.addRoundedRect(QRectF(-110, -8, 220, 16), 8, 8);
        shadow(p, stick, QPointF(4, 9), 6, QColor(0, 0, 0, 200));
        QLinearGradient sg(0, -8, 0, 8);
        sg.setColorAt(0, QColor(214, 160, 100));
        sg.setColorAt(0.4, QColor(160, 104, 56));
        sg.setColorAt(1, QColor(70, 40, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(sg);
        p.drawPath(stick);
        QLinearGradient wg(0, -9, 0, 9);
        wg.setColorAt(0, QColor(120, 80, 60));
        wg.setColorAt(1, QColor(48, 30, 22));
        p.setBrush(wg);
        p.drawRoundedRect(QRectF(40, -9, 72, 18), 9, 9);
        p.restore();
    }
    p.end();

    // Warm window light over the scene and a lens-like fall-off to the corners.
    {
        QImage light = canvas(width, height);
        QPainter lp(&light);
        lp.scale(k, k);
        QRadialGradient g(QPointF(W * 0.2, H * 0.1), W * 0.8);
        g.setColorAt(0, QColor(255, 200, 140, 60));
        g.setColorAt(1, QColor(255, 200, 140, 0));
        lp.fillRect(QRectF(0, 0, W, H), g);
        lp.end();
        composite(img, light, QPainter::CompositionMode_Screen);
    }
    mottle(img, 102, 60 * k, 0.05);
    vignette(img, 0.35);
    grain(img, 103, 0.018);
    return img;
}

} // namespace quorlin::assetgen
