// SPDX-License-Identifier: GPL-3.0-or-later
// A crayon drawing on dark blue paper: a winged figure rising from a pink lotus on the water,
// under two suns. The band across the upper middle stays dark and quiet for light text.

#include "paint.h"
#include "scenes.h"

#include <cmath>

namespace quorlin::assetgen {

namespace {

constexpr double W = 960, H = 1280;

QPainterPath lotusPetal(QPointF base, double angle, double length, double width)
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(-width, -length * 0.3, -width * 0.6, -length * 0.85, 0, -length);
    path.cubicTo(width * 0.6, -length * 0.85, width, -length * 0.3, 0, 0);
    QTransform t;
    t.translate(base.x(), base.y());
    t.rotate(angle);
    return t.map(path);
}

QPainterPath ellipsePath(QPointF c, double rx, double ry)
{
    QPainterPath p;
    p.addEllipse(c, rx, ry);
    return p;
}

} // namespace

QImage drawLotusAngel(int width, int height)
{
    const double k = width / W;
    // Shown stretched to about 388 x 555, so texture finer than this would never be seen.
    const double cell = width / 388.0;
    QImage img = canvas(width, height);
    paper(img, img.rect(), QColor(34, 36, 84), 1701, cell);
    // Night sky rubbed in with the side of a crayon: broad, soft and uneven.
    {
        QImage sky = canvas(width, height);
        const Noise rub(1705);
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(sky.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const double n = rub.fractal((x + y * 0.5) / (60 * k), (y - x * 0.3) / (18 * k), 2);
                const int a = int(std::clamp((n - 0.35) * 300.0, 0.0, 110.0));
                line[x] = qPremultiply(qRgba(70, 80, 160, a));
            }
        }
        composite(img, sky);
    }
    Random rng(1702);

    QImage layer = canvas(width, height);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        for (int i = 0; i < 40; ++i) {
            const QPointF s(rng.range(20, W - 20), rng.range(H * 0.2, H * 0.8));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(240, 230, 170, int(rng.range(60, 130))));
            p.drawEllipse(s, 2.5, 2.5);
        }

        // Two suns at the top.
        for (double sx : {W * 0.2, W * 0.8}) {
            const QPointF c(sx, H * 0.085);
            crayonFill(p, ellipsePath(c, 66, 66), QColor(255, 214, 60), 0.5, 30, rng);
            crayonFill(p, ellipsePath(c + QPointF(-12, -12), 36, 36), QColor(255, 244, 170), 0.4,
                       80, rng);
            crayon(p, ellipsePath(c, 66, 66), QColor(255, 150, 30), 7, rng, 3);
            for (int i = 0; i < 12; ++i) {
                const double a = i * M_PI / 6 + 0.1;
                QPainterPath ray;
                ray.moveTo(c + QPointF(std::cos(a), std::sin(a)) * 80);
                ray.lineTo(c + QPointF(std::cos(a), std::sin(a)) * 118);
                crayon(p, ray, QColor(255, 190, 50), 8, rng, 3);
            }
        }

        // A soft glow of light around the figure.
        const QPointF heart(W * 0.5, H * 0.64);
        QRadialGradient glow(heart, 330);
        glow.setColorAt(0, QColor(255, 230, 150, 150));
        glow.setColorAt(0.6, QColor(255, 220, 130, 60));
        glow.setColorAt(1, QColor(255, 220, 130, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(heart, 330, 330);

        // Wings, raised and spread.
        for (int side = -1; side <= 1; side += 2) {
            const double d = side;
            std::vector<QPointF> edge{{W * 0.5 + d * 30, H * 0.56},   {W * 0.5 + d * 120, H * 0.47},
                                      {W * 0.5 + d * 260, H * 0.455}, {W * 0.5 + d * 380, H * 0.5},
                                      {W * 0.5 + d * 360, H * 0.56},  {W * 0.5 + d * 300, H * 0.6},
                                      {W * 0.5 + d * 330, H * 0.64},  {W * 0.5 + d * 240, H * 0.66},
                                      {W * 0.5 + d * 250, H * 0.7},   {W * 0.5 + d * 150, H * 0.7},
                                      {W * 0.5 + d * 40, H * 0.64}};
            const QPainterPath wing = smoothPath(edge, true);
            crayonFill(p, wing, QColor(250, 250, 240), 0.45, 60 * d, rng);
            crayonFill(p, wing, QColor(180, 210, 255, 160), 0.12, -30 * d, rng);
            crayon(p, wing, QColor(255, 210, 90), 6, rng, 3);
            for (int f = 0; f < 4; ++f) {
                QPainterPath line;
                line.moveTo(W * 0.5 + d * 50, H * (0.6 + f * 0.006));
                line.quadTo(W * 0.5 + d * (150 + f * 40), H * (0.52 + f * 0.03),
                            W * 0.5 + d * (250 + f * 25), H * (0.5 + f * 0.045));
                crayon(p, line, QColor(230, 190, 110, 200), 3, rng, 2);
            }
        }

        // The body in a long robe, arms lifted.
        QPainterPath robe;
        robe.moveTo(W * 0.5 - 42, H * 0.575);
        robe.cubicTo(W * 0.5 - 70, H * 0.66, W * 0.5 - 120, H * 0.74, W * 0.5 - 110, H * 0.8);
        robe.lineTo(W * 0.5 + 110, H * 0.8);
        robe.cubicTo(W * 0.5 + 120, H * 0.74, W * 0.5 + 70, H * 0.66, W * 0.5 + 42, H * 0.575);
        robe.closeSubpath();
        crayonFill(p, robe, QColor(255, 250, 236), 0.5, 80, rng);
        crayonFill(p, robe, QColor(250, 200, 220, 140), 0.12, 10, rng);
        crayon(p, robe, QColor(240, 150, 180), 6, rng, 3);
        for (int side = -1; side <= 1; side += 2) {
            QPainterPath armPath = smoothPath({{W * 0.5 + side * 40, H * 0.59},
                                               {W * 0.5 + side * 95, H * 0.55},
                                               {W * 0.5 + side * 130, H * 0.5}});
            crayon(p, armPath, QColor(255, 250, 236), 18, rng, 4);
            crayon(p, armPath, QColor(250, 214, 180), 8, rng, 2);
            crayonFill(p, ellipsePath({W * 0.5 + side * 134, H * 0.495}, 14, 14),
                       QColor(250, 214, 180), 0.6, 0, rng);
        }
        const QPointF head(W * 0.5, H * 0.545);
        crayonFill(p, ellipsePath(head, 40, 44), QColor(255, 222, 190), 0.9, 45, rng);
        crayonFill(p, ellipsePath(head, 40, 44), QColor(255, 222, 190), 0.6, -45, rng);
        crayon(p, ellipsePath(head, 40, 44), QColor(200, 130, 90), 4, rng, 2);
        crayon(p,
               smoothPath({head + QPointF(-42, 6), head + QPointF(-38, -36), head + QPointF(0, -50),
                           head + QPointF(38, -36), head + QPointF(42, 6)}),
               QColor(90, 50, 30), 10, rng, 3);
        p.setPen(QPen(QColor(70, 40, 30), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(head.x() - 22, head.y() - 8, 14, 10), 0, 180 * 16);
        p.drawArc(QRectF(head.x() + 8, head.y() - 8, 14, 10), 0, 180 * 16);
        p.drawArc(QRectF(head.x() - 14, head.y() + 6, 28, 18), 200 * 16, 140 * 16);
        crayon(p, ellipsePath(head + QPointF(0, -66), 50, 12), QColor(255, 220, 80), 7, rng, 3);

        // The lotus the figure rises from, with pads and ripples on the water.
        const QPointF base(W * 0.5, H * 0.88);
        for (int layerNo = 0; layerNo < 2; ++layerNo) {
            const int count = layerNo ? 5 : 7;
            for (int i = 0; i < count; ++i) {
                const double spread = layerNo ? 60 : 82;
                const double a = -spread + i * 2 * spread / (count - 1);
                const QPainterPath petal =
                    lotusPetal(base, a, layerNo ? 150 : 190, layerNo ? 48 : 58);
                crayonFill(p, petal, layerNo ? QColor(250, 150, 190) : QColor(230, 100, 160), 0.5,
                           a + 70, rng);
                crayonFill(p, petal, QColor(255, 230, 240, 120), 0.1, a, rng);
                crayon(p, petal, QColor(190, 50, 110), 5, rng, 3);
            }
        }
        for (double px : {W * 0.16, W * 0.84}) {
            const QPainterPath pad = ellipsePath({px, H * 0.92}, 120, 34);
            crayonFill(p, pad, QColor(70, 170, 80), 0.45, 10, rng);
            crayon(p, pad, QColor(30, 110, 50), 6, rng, 3);
        }
        for (int i = 0; i < 9; ++i) {
            const double y = H * 0.9 + i * 14;
            QPainterPath wave;
            wave.moveTo(0, y);
            for (double x = 0; x <= W; x += 60)
                wave.quadTo(x + 30, y - 10 + (i % 2) * 4, x + 60, y);
            crayon(p, wave, QColor(80, 150, 230, 170), 5, rng, 2);
        }
    }
    tooth(layer, 1703, 1.6 * cell, 0.3);
    composite(img, layer);
    vignette(img, 0.2);
    return img;
}

} // namespace quorlin::assetgen
