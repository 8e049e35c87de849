// SPDX-License-Identifier: GPL-3.0-or-later
// Small cards laid out in rings on a round wooden board, photographed from straight above.

#include "paint.h"
#include "scenes.h"

#include <cmath>

namespace quorlin::assetgen {

namespace {

constexpr double W = 720, H = 540;

void woodDisc(QImage &img, QPointF c, double r, double k, std::uint64_t seed)
{
    const Noise noise(seed);
    Random rng(seed + 1);
    const QColor light(196, 140, 84), dark(132, 82, 42);
    for (int y = 0; y < img.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            const double dx = x / k - c.x(), dy = y / k - c.y();
            const double d = std::hypot(dx, dy);
            if (d > r)
                continue;
            const double warp = 60 * noise.fractal(x / (k * 220), y / (k * 60), 3);
            const double stripe =
                0.5 + 0.5 * std::sin((dy + warp) * (0.12 + 0.1 * noise.at(y / (k * 50), 3.5)) +
                                     2.5 * noise.at(x / (k * 70), y / (k * 9)));
            const double fine = noise.at(x / (k * 1.5), y / (k * 14));
            double t = 0.55 * stripe * stripe + 0.3 * fine + 0.1 * rng.uniform();
            QColor col = mix(light, dark, std::clamp(t, 0.0, 1.0));
            // Bevelled rim: lit on the upper left, in shade on the lower right.
            const double rim = smoothstep(r - 14, r, d);
            const double side = (-dx - dy) / (d + 1e-9);
            double f = 1.0 + rim * 0.35 * side - 0.12 * smoothstep(r * 0.4, r, d);
            const double edgeAlpha = std::clamp(r - d, 0.0, 1.0);
            const double a = edgeAlpha;
            const QRgb under = line[x];
            line[x] = qRgba(
                int(std::clamp(col.red() * f, 0.0, 255.0) * a + qRed(under) * (1 - a)),
                int(std::clamp(col.green() * f, 0.0, 255.0) * a + qGreen(under) * (1 - a)),
                int(std::clamp(col.blue() * f, 0.0, 255.0) * a + qBlue(under) * (1 - a)), 255);
        }
    }
}

void card(QPainter &p, QPointF at, double angle, bool faceUp, int style, Random &rng)
{
    static const QColor faces[] = {{236, 110, 90},  {110, 170, 210}, {240, 196, 80},
                                   {140, 190, 110}, {190, 140, 200}, {246, 150, 60}};
    const double w = 24, h = 36;
    p.save();
    p.translate(at);
    p.rotate(angle + rng.range(-5, 5));
    QPainterPath shape;
    shape.addRoundedRect(QRectF(-w / 2, -h / 2, w, h), 2, 2);
    shadow(p, shape, QPointF(2.5, 3.5), 3, QColor(40, 20, 5, 150));
    p.setPen(QPen(QColor(90, 70, 50, 120), 0.6));
    p.setBrush(QColor(250, 246, 236));
    p.drawPath(shape);
    const QRectF inner(-w / 2 + 2.5, -h / 2 + 2.5, w - 5, h - 5);
    p.setPen(Qt::NoPen);
    if (faceUp) {
        // A little painted scene: sky colour, a hill and a sun.
        p.setBrush(faces[style % 6].lighter(130));
        p.drawRect(inner);
        p.setBrush(faces[(style + 3) % 6]);
        p.drawEllipse(QPointF(0, h * 0.28), w * 0.55, h * 0.22);
        p.setBrush(QColor(255, 236, 150));
        p.drawEllipse(QPointF(-w * 0.12, -h * 0.15), w * 0.14, w * 0.14);
    } else {
        QLinearGradient g(inner.topLeft(), inner.bottomRight());
        g.setColorAt(0, QColor(48, 60, 120));
        g.setColorAt(1, QColor(26, 30, 70));
        p.setBrush(g);
        p.drawRect(inner);
        p.setPen(QPen(QColor(222, 184, 96), 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawRect(inner.adjusted(1.5, 1.5, -1.5, -1.5));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(232, 196, 110));
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const double a = -M_PI / 2 + i * M_PI / 5, rr = i % 2 ? 2.2 : 5.5;
            const QPointF pt(std::cos(a) * rr, std::sin(a) * rr);
            i ? star.lineTo(pt) : star.moveTo(pt);
        }
        star.closeSubpath();
        p.drawPath(star);
    }
    p.restore();
}

} // namespace

QImage drawCardBoard(int width, int height)
{
    const double k = width / W;
    // A deep red cloth under the board, with soft folds.
    QImage img = canvas(width, height, QColor(104, 40, 38));
    {
        const Noise folds(305);
        for (int y = 0; y < height; ++y) {
            auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
            for (int x = 0; x < width; ++x) {
                const double f =
                    0.8 + 0.4 * folds.fractal(x / (k * 160) + y / (k * 400), y / (k * 90), 3) +
                    0.05 * std::sin((x + y) / k * 1.7);
                line[x] = qRgb(int(104 * f), int(40 * f), int(38 * f));
            }
        }
    }
    mottle(img, 301, 80 * k, 0.08);
    const QPointF c(W / 2, H / 2);
    const double r = 236;
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        QPainterPath disc;
        disc.addEllipse(c, r, r);
        shadow(p, disc, QPointF(10, 14), 16, QColor(20, 12, 4, 210));
    }
    woodDisc(img, c, r, k, 302);

    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    Random rng(303);
    // Cards in four rings; the inner rings face up, the outer ones show their backs.
    const double radii[] = {62, 112, 160, 206};
    const int counts[] = {7, 13, 19, 25};
    for (int ring = 0; ring < 4; ++ring) {
        const double offset = rng.uniform() * 360;
        for (int i = 0; i < counts[ring]; ++i) {
            const double a = offset + i * 360.0 / counts[ring];
            const double rad = a * M_PI / 180;
            const QPointF at = c + QPointF(std::cos(rad), std::sin(rad)) * radii[ring];
            card(p, at, a + 90, ring < 2, ring * 5 + i, rng);
        }
    }
    // A tea light in the middle of the rings.
    {
        QPainterPath cup;
        cup.addEllipse(c, 22, 22);
        shadow(p, cup, QPointF(3, 4), 5, QColor(30, 15, 0, 160));
        QRadialGradient metal(c + QPointF(-6, -6), 24);
        metal.setColorAt(0, QColor(250, 250, 250));
        metal.setColorAt(1, QColor(150, 150, 155));
        p.setPen(Qt::NoPen);
        p.setBrush(metal);
        p.drawPath(cup);
        p.setBrush(QColor(248, 244, 232));
        p.drawEllipse(c, 18, 18);
        QPainterPath flame;
        flame.addEllipse(c, 5, 5);
        shadow(p, flame, QPointF(0, 0), 14, QColor(255, 190, 80, 200));
        p.setBrush(QColor(255, 244, 200));
        p.drawEllipse(c, 3.5, 3.5);
    }
    p.end();
    {
        QImage light = canvas(width, height);
        QPainter lp(&light);
        QRadialGradient g(QPointF(width * 0.35, height * 0.3), width * 0.8);
        g.setColorAt(0, QColor(255, 240, 210, 70));
        g.setColorAt(1, QColor(255, 240, 210, 0));
        lp.fillRect(light.rect(), g);
        lp.end();
        composite(img, light, QPainter::CompositionMode_Screen);
    }
    vignette(img, 0.3);
    grain(img, 304, 0.015);
    return img;
}

} // namespace quorlin::assetgen
