// SPDX-License-Identifier: GPL-3.0-or-later
// A child's crayon drawing of an orange flower on a green stem, on slightly yellowed paper.

#include "paint.h"
#include "scenes.h"

#include <cmath>

namespace quorlin::assetgen {

namespace {

constexpr double W = 827, H = 548;

QPainterPath petal(QPointF centre, double angle, double length, double width)
{
    QPainterPath path;
    path.moveTo(0, 0);
    path.cubicTo(length * 0.35, -width, length * 0.95, -width * 0.8, length, 0);
    path.cubicTo(length * 0.95, width * 0.8, length * 0.35, width, 0, 0);
    QTransform t;
    t.translate(centre.x(), centre.y());
    t.rotate(angle);
    return t.map(path);
}

QPainterPath leaf(QPointF base, double angle, double length, double width)
{
    return petal(base, angle, length, width);
}

} // namespace

QImage drawCrayonFlower(int width, int height)
{
    const double k = width / W;
    QImage img = canvas(width, height);
    paper(img, img.rect(), QColor(252, 248, 234), 201);

    QImage layer = canvas(width, height);
    Random rng(202);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        const QColor green(52, 150, 60), darkGreen(24, 96, 40), orange(246, 132, 24),
            deepOrange(214, 84, 18), yellow(250, 204, 40), brown(140, 70, 20);

        // Grass along the bottom.
        for (int i = 0; i < 120; ++i) {
            const double x = rng.range(-10, W + 10);
            const double h = rng.range(18, 48);
            QPainterPath blade;
            blade.moveTo(x, H + 4);
            blade.quadTo(x + rng.range(-6, 6), H - h * 0.6, x + rng.range(-12, 12), H - h);
            crayon(p, blade, i % 3 ? green : QColor(120, 180, 60), 3.2, rng, 2);
        }
        // A small sun in the corner, as children draw it.
        const QPointF sun(W * 0.1, H * 0.14);
        crayonFill(
            p,
            [&] {
                QPainterPath s;
                s.addEllipse(sun, 38, 38);
                return s;
            }(),
            yellow, 0.55, 30, rng);
        for (int i = 0; i < 10; ++i) {
            const double a = i * M_PI / 5;
            QPainterPath ray;
            ray.moveTo(sun + QPointF(std::cos(a), std::sin(a)) * 48);
            ray.lineTo(sun + QPointF(std::cos(a), std::sin(a)) * 72);
            crayon(p, ray, QColor(250, 180, 30), 4, rng, 3);
        }

        // Stem and leaves.
        const QPointF head(W * 0.5, H * 0.34);
        QPainterPath stem = smoothPath(
            {{W * 0.49, H + 5}, {W * 0.485, H * 0.8}, {W * 0.505, H * 0.6}, {W * 0.5, H * 0.42}});
        for (int i = 0; i < 3; ++i)
            crayon(p, stem.translated(i * 3.0 - 3, 0), green, 6, rng, 3);
        const QPainterPath leaves[] = {leaf({W * 0.49, H * 0.76}, -150, 120, 34),
                                       leaf({W * 0.5, H * 0.66}, -28, 110, 30),
                                       leaf({W * 0.49, H * 0.9}, -20, 80, 22)};
        for (const QPainterPath &l : leaves) {
            crayonFill(p, l, green, 0.5, 60, rng);
            crayon(p, l, darkGreen, 4, rng, 3);
        }
        // Veins along the middle of the two big leaves.
        const QPointF leafBases[] = {{W * 0.49, H * 0.76}, {W * 0.5, H * 0.66}};
        const double leafAngles[] = {-150, -28}, leafLengths[] = {120, 110};
        for (int i = 0; i < 2; ++i) {
            const double a = leafAngles[i] * M_PI / 180;
            const QPointF dir(std::cos(a), std::sin(a));
            crayon(p,
                   smoothPath({leafBases[i], leafBases[i] + dir * leafLengths[i] * 0.45,
                               leafBases[i] + dir * leafLengths[i] * 0.8}),
                   darkGreen, 2.5, rng, 2);
        }

        // The flower: two rings of petals around a round middle.
        for (int ring = 0; ring < 2; ++ring) {
            const int count = ring == 0 ? 9 : 9;
            for (int i = 0; i < count; ++i) {
                const double a = i * 360.0 / count + (ring ? 20 : 0) + rng.range(-6, 6);
                const QPainterPath pt =
                    petal(head, a, ring ? 118 : 96 + rng.range(-8, 8), ring ? 34 : 30);
                crayonFill(p, pt, ring ? orange : QColor(250, 160, 40), 0.55, a + 90, rng);
                crayon(p, pt, deepOrange, 3.6, rng, 3);
            }
        }
        QPainterPath middle;
        middle.addEllipse(head, 42, 40);
        crayonFill(p, middle, yellow, 0.6, 20, rng);
        crayonFill(p, middle, QColor(230, 140, 30), 0.25, 80, rng);
        crayon(p, middle, brown, 4.5, rng, 3);
        for (int i = 0; i < 26; ++i) {
            const double a = i * 2.4, r = 4 + 30 * std::sqrt(i / 26.0);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(150, 80, 20, 180));
            p.drawEllipse(head + QPointF(std::cos(a) * r, std::sin(a) * r * 0.95), 2.6, 2.6);
        }
        // A small bud on a side shoot.
        const QPointF bud(W * 0.665, H * 0.56);
        crayon(p, smoothPath({{W * 0.503, H * 0.7}, {W * 0.58, H * 0.66}, bud}), green, 4.5, rng,
               3);
        for (int i = 0; i < 5; ++i) {
            const QPainterPath bp = petal(bud, -90 + (i - 2) * 22, 34, 11);
            crayonFill(p, bp, orange, 0.6, 0, rng);
            crayon(p, bp, deepOrange, 2.6, rng, 2);
        }
    }
    tooth(layer, 203, 2.2 * k + 1.0, 0.36);
    composite(img, layer, QPainter::CompositionMode_Multiply);
    composite(img, layer, QPainter::CompositionMode_SourceOver, 0.35);

    // Photographed on a desk: light from the top left.
    {
        QImage light = canvas(width, height);
        QPainter lp(&light);
        QLinearGradient g(0, 0, width, height);
        g.setColorAt(0, QColor(255, 250, 235));
        g.setColorAt(1, QColor(218, 208, 188));
        lp.fillRect(light.rect(), g);
        lp.end();
        composite(img, light, QPainter::CompositionMode_Multiply);
    }
    vignette(img, 0.18);
    grain(img, 204, 0.01);
    return img;
}

} // namespace quorlin::assetgen
