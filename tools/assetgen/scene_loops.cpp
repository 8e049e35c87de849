// SPDX-License-Identifier: GPL-3.0-or-later
// Tangled loops scribbled in blue ballpoint and marker on white paper. The band across the
// upper middle carries only a few pale loops, so that black text over it stays readable.

#include "paint.h"
#include "scenes.h"

#include <cmath>

namespace quorlin::assetgen {

namespace {

// A hand scribbling loops while it drifts through a region: a spinning point on a wandering
// centre, with the radius swelling and shrinking.
QPainterPath scribble(const QRectF &region, int turns, double radius, std::uint64_t seed)
{
    const Noise noise(seed);
    Random rng(seed + 1);
    QPolygonF pts;
    const int steps = turns * 28;
    const double drift = std::max(1.0, turns / 5.0);
    double phase = rng.uniform() * 6.28;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        auto spread = [](double n) { return std::clamp((n - 0.5) * 2.4 + 0.5, 0.0, 1.0); };
        const double cx = region.left() + region.width() * spread(noise.fractal(t * drift, 1.7, 3));
        const double cy =
            region.top() + region.height() * spread(noise.fractal(5.3, t * drift + 9, 3));
        const double r = radius * (0.3 + 1.1 * noise.at(t * turns * 0.4, 3.3));
        const double ecc = 0.35 + 0.65 * noise.at(t * turns * 0.3, 8.1);
        const double tilt = 6.0 * noise.at(t * turns * 0.15, 12.9);
        phase += 2 * M_PI / 28 * (0.7 + 0.6 * noise.at(t * turns, 7.7));
        const double lx = r * std::cos(phase), ly = r * ecc * std::sin(phase);
        pts << QPointF(cx + lx * std::cos(tilt) - ly * std::sin(tilt),
                       cy + lx * std::sin(tilt) + ly * std::cos(tilt));
    }
    QPainterPath path;
    path.addPolygon(pts);
    return path;
}

} // namespace

QImage drawTangledLoops(int width, int height)
{
    const double W = 475, H = 402, k = width / W;
    QImage img = canvas(width, height);
    paper(img, img.rect(), QColor(252, 252, 250), 1801);
    QImage layer = canvas(width, height);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        p.setBrush(Qt::NoBrush);
        auto draw = [&](const QPainterPath &path, QColor c, double w) {
            p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(path);
        };
        // Pale loops that wander over the whole sheet.
        draw(scribble(QRectF(30, 20, W - 60, H - 40), 26, 46, 1802), QColor(120, 170, 230, 90),
             1.6);
        // The dense tangle in the lower half, in two blues and a marker.
        draw(scribble(QRectF(40, H * 0.58, W - 80, H * 0.32), 60, 40, 1803),
             QColor(20, 50, 170, 210), 1.7);
        draw(scribble(QRectF(60, H * 0.6, W - 120, H * 0.3), 40, 30, 1804),
             QColor(40, 110, 220, 200), 2.4);
        draw(scribble(QRectF(90, H * 0.64, W - 180, H * 0.22), 18, 28, 1805),
             QColor(30, 80, 200, 150), 5.0);
        // A smaller knot along the top edge.
        draw(scribble(QRectF(40, H * 0.03, W - 80, H * 0.1), 26, 20, 1806),
             QColor(30, 70, 190, 190), 1.6);
        draw(scribble(QRectF(80, H * 0.04, W - 160, H * 0.08), 12, 16, 1807),
             QColor(60, 130, 230, 160), 3.2);
    }
    composite(img, layer, QPainter::CompositionMode_Multiply);
    {
        QImage light = canvas(width, height);
        QPainter lp(&light);
        QRadialGradient g(QPointF(width * 0.4, height * 0.3), width * 0.9);
        g.setColorAt(0, QColor(255, 255, 255, 0));
        g.setColorAt(1, QColor(120, 120, 140, 60));
        lp.fillRect(light.rect(), g);
        lp.end();
        composite(img, light);
    }
    grain(img, 1808, 0.008);
    return img;
}

} // namespace quorlin::assetgen
