// SPDX-License-Identifier: GPL-3.0-or-later
// Illustrated group scenes: a writing circle seated on a wooden floor, a group of adults, and
// young people on the grass outdoors. Figures are lit from the upper left.

#include "paint.h"
#include "scenes.h"

#include <algorithm>
#include <cmath>

namespace quorlin::assetgen {

namespace {

struct Person
{
    QColor skin, hair, shirt, trousers;
    int hairStyle; // 0 short, 1 long, 2 tied up, 3 cropped
};

const QColor Skins[] = {{236, 196, 160}, {214, 168, 128}, {196, 148, 108},
                        {226, 184, 146}, {176, 124, 88},  {242, 206, 174}};
const QColor Hairs[] = {{26, 20, 18}, {40, 28, 22}, {60, 40, 28}, {30, 24, 22}, {150, 146, 140}};
const QColor Shirts[] = {{236, 236, 230}, {70, 110, 170},  {200, 80, 70},   {240, 190, 80},
                         {90, 150, 110},  {160, 110, 170}, {240, 150, 120}, {60, 60, 70},
                         {120, 180, 210}, {250, 246, 236}};
const QColor Trousers[] = {
    {40, 44, 60}, {70, 60, 50}, {30, 30, 34}, {90, 100, 130}, {150, 130, 100}};

Person randomPerson(Random &rng, bool young)
{
    Person p;
    p.skin = Skins[rng.below(6)];
    p.hair = Hairs[rng.below(young ? 4 : 5)];
    p.shirt = Shirts[rng.below(10)];
    p.trousers = Trousers[rng.below(5)];
    p.hairStyle = rng.below(4);
    return p;
}

QBrush shaded(const QColor &c, const QRectF &r)
{
    QLinearGradient g(r.left(), r.top(), r.right(), r.bottom());
    g.setColorAt(0, c.lighter(118));
    g.setColorAt(0.5, c);
    g.setColorAt(1, c.darker(150));
    return g;
}

void head(QPainter &p, QPointF c, double s, const Person &who, bool back)
{
    const QRectF face(c.x() - s, c.y() - 1.15 * s, 2 * s, 2.3 * s);
    p.setPen(Qt::NoPen);
    if (!back) {
        p.setBrush(who.skin.darker(110));
        p.drawEllipse(QPointF(c.x() - s, c.y() + 0.05 * s), 0.22 * s, 0.3 * s);
        p.drawEllipse(QPointF(c.x() + s, c.y() + 0.05 * s), 0.22 * s, 0.3 * s);
    }
    QRadialGradient skin(c + QPointF(-0.35 * s, -0.45 * s), 1.6 * s);
    skin.setColorAt(0, who.skin.lighter(112));
    skin.setColorAt(0.6, who.skin);
    skin.setColorAt(1, who.skin.darker(135));
    p.setBrush(skin);
    p.drawEllipse(face);
    // Hair on top of the head; from behind it covers all of it.
    QPainterPath hair;
    if (back) {
        hair.addEllipse(
            face.adjusted(-0.06 * s, -0.08 * s, 0.06 * s, who.hairStyle == 3 ? -0.5 * s : 0.1 * s));
    } else {
        hair.moveTo(c.x() - 1.05 * s, c.y() + 0.1 * s);
        hair.cubicTo(c.x() - 1.15 * s, c.y() - 1.4 * s, c.x() + 1.15 * s, c.y() - 1.4 * s,
                     c.x() + 1.05 * s, c.y() + 0.1 * s);
        hair.cubicTo(c.x() + 0.9 * s, c.y() - 0.5 * s, c.x() + 0.2 * s, c.y() - 0.75 * s,
                     c.x() - 0.3 * s, c.y() - 0.55 * s);
        hair.cubicTo(c.x() - 0.7 * s, c.y() - 0.45 * s, c.x() - 0.9 * s, c.y() - 0.3 * s,
                     c.x() - 1.05 * s, c.y() + 0.1 * s);
    }
    if (who.hairStyle == 2)
        hair.addEllipse(QPointF(c.x() + 0.1 * s, c.y() - 1.25 * s), 0.45 * s, 0.35 * s);
    QRadialGradient hg(c + QPointF(-0.4 * s, -0.9 * s), 1.8 * s);
    hg.setColorAt(0, who.hair.lighter(170));
    hg.setColorAt(0.5, who.hair);
    hg.setColorAt(1, who.hair.darker(140));
    p.setBrush(hg);
    p.drawPath(hair);
    if (back)
        return;
    // A friendly face: eyes, brows, a smile and warm cheeks.
    const QColor dark(40, 28, 24);
    p.setBrush(dark);
    p.drawEllipse(QPointF(c.x() - 0.38 * s, c.y() + 0.02 * s), 0.1 * s, 0.13 * s);
    p.drawEllipse(QPointF(c.x() + 0.38 * s, c.y() + 0.02 * s), 0.1 * s, 0.13 * s);
    p.setBrush(QColor(230, 110, 100, 60));
    p.drawEllipse(QPointF(c.x() - 0.55 * s, c.y() + 0.4 * s), 0.22 * s, 0.13 * s);
    p.drawEllipse(QPointF(c.x() + 0.55 * s, c.y() + 0.4 * s), 0.22 * s, 0.13 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dark, std::max(0.8, 0.09 * s), Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - 0.55 * s, c.y() - 0.42 * s, 0.35 * s, 0.2 * s), 30 * 16, 120 * 16);
    p.drawArc(QRectF(c.x() + 0.2 * s, c.y() - 0.42 * s, 0.35 * s, 0.2 * s), 30 * 16, 120 * 16);
    p.setPen(QPen(who.skin.darker(150), std::max(0.8, 0.08 * s), Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - 0.1 * s, c.y() + 0.05 * s, 0.2 * s, 0.3 * s), 200 * 16, 140 * 16);
    p.setPen(QPen(QColor(150, 60, 60), std::max(0.8, 0.1 * s), Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(c.x() - 0.38 * s, c.y() + 0.22 * s, 0.76 * s, 0.46 * s), 200 * 16, 140 * 16);
}

QPainterPath torsoPath(QPointF c, double s, double length, double width)
{
    QPainterPath t;
    const double top = c.y() + 1.3 * s;
    t.moveTo(c.x() - 0.4 * s, top - 0.1 * s);
    t.cubicTo(c.x() - width * 0.4 * s, top, c.x() - width * 0.52 * s, top + 0.2 * s,
              c.x() - width * 0.52 * s, top + 1.0 * s);
    t.lineTo(c.x() - width * 0.46 * s, top + length * s);
    t.lineTo(c.x() + width * 0.46 * s, top + length * s);
    t.lineTo(c.x() + width * 0.52 * s, top + 1.0 * s);
    t.cubicTo(c.x() + width * 0.52 * s, top + 0.2 * s, c.x() + width * 0.4 * s, top,
              c.x() + 0.4 * s, top - 0.1 * s);
    t.closeSubpath();
    return t;
}

// Long hair falls behind the shoulders, so it is drawn before the body.
void hairBehind(QPainter &p, QPointF c, double s, const Person &who)
{
    if (who.hairStyle != 1)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(shaded(who.hair.darker(110), QRectF(c.x() - 1.3 * s, c.y() - s, 2.6 * s, 3.4 * s)));
    QPainterPath h;
    h.moveTo(c.x() - 1.1 * s, c.y() - 0.4 * s);
    h.cubicTo(c.x() - 1.3 * s, c.y() + 1.0 * s, c.x() - 1.5 * s, c.y() + 2.0 * s, c.x() - 1.2 * s,
              c.y() + 2.5 * s);
    h.lineTo(c.x() + 1.2 * s, c.y() + 2.5 * s);
    h.cubicTo(c.x() + 1.5 * s, c.y() + 2.0 * s, c.x() + 1.3 * s, c.y() + 1.0 * s, c.x() + 1.1 * s,
              c.y() - 0.4 * s);
    h.closeSubpath();
    p.drawPath(h);
}

void neck(QPainter &p, QPointF c, double s, const Person &who)
{
    hairBehind(p, c, s, who);
    p.setPen(Qt::NoPen);
    p.setBrush(who.skin.darker(118));
    p.drawRect(QRectF(c.x() - 0.35 * s, c.y() + 0.8 * s, 0.7 * s, 0.8 * s));
}

void standing(QPainter &p, QPointF c, double s, const Person &who, Random &rng)
{
    neck(p, c, s, who);
    // Legs first, then the body over them.
    const double hip = c.y() + 7.6 * s;
    p.setPen(Qt::NoPen);
    p.setBrush(shaded(who.trousers, QRectF(c.x() - 1.6 * s, hip, 3.2 * s, 7 * s)));
    p.drawRoundedRect(QRectF(c.x() - 1.5 * s, hip - 0.5 * s, 1.45 * s, 7.5 * s), 0.5 * s, 0.5 * s);
    p.drawRoundedRect(QRectF(c.x() + 0.05 * s, hip - 0.5 * s, 1.45 * s, 7.5 * s), 0.5 * s, 0.5 * s);
    const QPainterPath body = torsoPath(c, s, 6.6, 3.6 + rng.range(-0.2, 0.4));
    p.setBrush(shaded(who.shirt, body.boundingRect()));
    p.drawPath(body);
    // Arms hanging at the sides, or hands clasped in front.
    const bool clasped = rng.below(2) == 0;
    for (int side = -1; side <= 1; side += 2) {
        if (clasped) {
            const QPainterPath arm = smoothPath({c + QPointF(side * 1.75 * s, 2.0 * s),
                                                 c + QPointF(side * 1.85 * s, 4.4 * s),
                                                 c + QPointF(side * 0.5 * s, 6.4 * s)});
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(who.shirt.darker(125), 1.15 * s, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(arm);
            p.setPen(QPen(who.shirt.darker(104), 0.85 * s, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(arm);
            p.setPen(Qt::NoPen);
        } else {
            const QRectF arm(c.x() + side * 1.9 * s - 0.55 * s, c.y() + 1.7 * s, 1.1 * s, 5.2 * s);
            p.setBrush(shaded(who.shirt.darker(108), arm));
            p.drawRoundedRect(arm, 0.5 * s, 0.5 * s);
            p.setBrush(who.skin);
            p.drawEllipse(QPointF(arm.center().x(), arm.bottom() + 0.3 * s), 0.45 * s, 0.55 * s);
        }
    }
    if (clasped) {
        p.setBrush(who.skin);
        p.drawEllipse(c + QPointF(0, 6.5 * s), 0.75 * s, 0.55 * s);
    }
    p.setPen(QPen(who.shirt.darker(140), std::max(0.8, 0.1 * s)));
    p.drawLine(c + QPointF(-0.45 * s, 1.45 * s), c + QPointF(0, 2.3 * s));
    p.drawLine(c + QPointF(0.45 * s, 1.45 * s), c + QPointF(0, 2.3 * s));
    head(p, c, s, who, false);
}

// Sitting cross-legged, facing the viewer; optionally a notebook open on the lap.
void seated(QPainter &p, QPointF c, double s, const Person &who, bool notebook, bool back)
{
    neck(p, c, s, who);
    const QPainterPath body = torsoPath(c, s, 4.6, 3.5);
    p.setPen(Qt::NoPen);
    const QRectF legs(c.x() - 2.9 * s, c.y() + 5.0 * s, 5.8 * s, 2.2 * s);
    if (!back) {
        p.setBrush(shaded(who.shirt, body.boundingRect()));
        p.drawPath(body);
        p.setBrush(shaded(who.trousers, legs));
        p.drawRoundedRect(legs, 1.1 * s, 1.1 * s);
        p.setBrush(who.skin);
        p.drawEllipse(QPointF(c.x() - 1.3 * s, c.y() + 5.4 * s), 0.45 * s, 0.4 * s);
        p.drawEllipse(QPointF(c.x() + 1.3 * s, c.y() + 5.4 * s), 0.45 * s, 0.4 * s);
        if (notebook) {
            p.setBrush(QColor(250, 248, 240));
            p.drawRect(QRectF(c.x() - 1.2 * s, c.y() + 4.7 * s, 2.4 * s, 0.9 * s));
            p.setPen(QPen(QColor(120, 120, 160), std::max(0.5, 0.06 * s)));
            for (int i = 0; i < 3; ++i)
                p.drawLine(QPointF(c.x() - 1.0 * s, c.y() + (4.9 + i * 0.22) * s),
                           QPointF(c.x() + 1.0 * s, c.y() + (4.9 + i * 0.22) * s));
        }
        // Arms bent down to the lap.
        p.setPen(Qt::NoPen);
        for (int side = -1; side <= 1; side += 2) {
            QPainterPath arm = smoothPath({c + QPointF(side * 1.8 * s, 1.9 * s),
                                           c + QPointF(side * 2.0 * s, 3.6 * s),
                                           c + QPointF(side * 1.35 * s, 5.1 * s)});
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(who.shirt.darker(112), 1.0 * s, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(arm);
        }
        p.setPen(Qt::NoPen);
    } else {
        p.setBrush(shaded(who.trousers, legs));
        p.drawRoundedRect(legs.adjusted(-0.4 * s, -0.6 * s, 0.4 * s, -0.4 * s), 1.1 * s, 1.1 * s);
        p.setBrush(shaded(who.shirt.darker(108), body.boundingRect()));
        p.drawPath(body);
    }
    head(p, c, s, who, back);
}

void groundShadow(QPainter &p, QPointF at, double rx, double ry)
{
    QPainterPath e;
    e.addEllipse(at, rx, ry);
    shadow(p, e, QPointF(0, 0), int(std::max(2.0, ry)), QColor(20, 10, 0, 110));
}

void finish(QImage &img, std::uint64_t seed, QPointF sun, const QColor &warmth)
{
    blur(img, 1); // soften the drawn edges, as paint would
    QImage light = canvas(img.width(), img.height());
    {
        QPainter lp(&light);
        QRadialGradient g(sun, img.width() * 0.9);
        g.setColorAt(0, QColor(warmth.red(), warmth.green(), warmth.blue(), 70));
        g.setColorAt(1, QColor(warmth.red(), warmth.green(), warmth.blue(), 0));
        lp.fillRect(light.rect(), g);
    }
    composite(img, light, QPainter::CompositionMode_Screen);
    mottle(img, seed, img.width() / 12.0, 0.04);
    vignette(img, 0.25);
    grain(img, seed + 1, 0.015);
}

QImage trees(int width, int height, double k, double horizon, std::uint64_t seed, const QColor &sky)
{
    // Opaque from the start: the blur below must not pull transparency in from the ground.
    QImage bg = canvas(width, height, QColor(70, 110, 56));
    QPainter p(&bg);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    const double W = width / k, H = height / k;
    QLinearGradient g(0, 0, 0, horizon);
    g.setColorAt(0, sky);
    g.setColorAt(1, sky.lighter(125));
    p.fillRect(QRectF(0, 0, W, horizon + 2), g);
    Random rng(seed);
    const QColor greens[] = {{60, 110, 60}, {80, 130, 70}, {46, 90, 52}, {100, 140, 80}};
    for (int i = 0; i < 60; ++i) {
        const QPointF c(rng.range(-40, W + 40), horizon - rng.range(10, H * 0.35));
        const double r = rng.range(30, 80);
        QRadialGradient leaf(c + QPointF(-r * 0.3, -r * 0.4), r * 1.3);
        const QColor base = greens[rng.below(4)];
        leaf.setColorAt(0, base.lighter(135));
        leaf.setColorAt(1, base.darker(130));
        p.setPen(Qt::NoPen);
        p.setBrush(leaf);
        p.drawEllipse(c, r, r * 0.85);
    }
    p.setBrush(QColor(80, 60, 40));
    for (int i = 0; i < 6; ++i)
        p.drawRect(QRectF(rng.range(0, W), horizon - 60, 8, 62));
    p.end();
    blur(bg, int(6 * k));
    return bg;
}

} // namespace

QImage drawSharingCircle(int width, int height)
{
    const double W = 720, H = 477, k = width / W;
    QImage img = canvas(width, height);
    woodPlanks(img, k, 501, QColor(196, 150, 102), QColor(146, 100, 60), 40);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    // The far wall with a bright window, out of focus.
    {
        QLinearGradient wall(0, 0, 0, 56);
        wall.setColorAt(0, QColor(236, 226, 206));
        wall.setColorAt(1, QColor(214, 200, 176));
        p.fillRect(QRectF(0, 0, W, 56), wall);
        p.fillRect(QRectF(0, 54, W, 5), QColor(120, 90, 60));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 252, 240));
        p.drawRect(QRectF(420, 0, 160, 44));
    }
    Random rng(502);
    const QPointF centre(W * 0.46, H * 0.57);
    const double rx = W * 0.34, ry = H * 0.29;
    // A cloth in the middle with a candle, flowers and a pile of notebooks.
    {
        QPainterPath mat;
        mat.addEllipse(centre, 90, 46);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(170, 60, 50));
        p.drawPath(mat);
        p.setBrush(QColor(200, 140, 60));
        p.drawEllipse(centre, 70, 34);
        p.setBrush(QColor(250, 246, 236));
        p.drawRect(QRectF(centre.x() - 50, centre.y() - 6, 30, 20));
        p.setBrush(QColor(80, 120, 180));
        p.drawRect(QRectF(centre.x() - 46, centre.y() - 10, 28, 18));
        p.setBrush(QColor(246, 240, 226));
        p.drawRoundedRect(QRectF(centre.x() + 2, centre.y() - 26, 16, 30), 3, 3);
        QPainterPath flame;
        flame.addEllipse(centre + QPointF(10, -32), 4, 7);
        shadow(p, flame, QPointF(0, 0), 10, QColor(255, 200, 90, 220));
        p.setBrush(QColor(255, 236, 170));
        p.drawPath(flame);
        for (int i = 0; i < 7; ++i) {
            p.setBrush(i % 2 ? QColor(250, 200, 60) : QColor(240, 120, 140));
            p.drawEllipse(centre + QPointF(34 + rng.range(-10, 16), rng.range(-12, 12)), 6, 5);
        }
    }
    // People around the circle, from the far side to the near side.
    struct Seat
    {
        double angle;
        Person who;
    };
    std::vector<Seat> seats;
    const int count = 11;
    for (int i = 0; i < count; ++i)
        seats.push_back({-M_PI / 2 + (i + 0.3) * 2 * M_PI / count, randomPerson(rng, false)});
    std::sort(seats.begin(), seats.end(),
              [](const Seat &a, const Seat &b) { return std::sin(a.angle) < std::sin(b.angle); });
    for (const Seat &seat : seats) {
        const double depth = std::sin(seat.angle);
        const double s = 13.5 * (1.0 + 0.22 * depth);
        const QPointF foot(centre.x() + rx * std::cos(seat.angle), centre.y() + ry * depth);
        const QPointF headAt = foot - QPointF(0, 6.0 * s);
        groundShadow(p, foot + QPointF(4, 2), 3.2 * s, 1.0 * s);
        seated(p, headAt, s, seat.who, rng.below(2) == 0, depth > 0.45);
    }
    p.end();
    finish(img, 503, QPointF(width * 0.7, 0), QColor(255, 230, 190));
    return img;
}

QImage drawAdultsGroup(int width, int height)
{
    const double W = 926, H = 617, k = width / W;
    const double horizon = H * 0.5;
    QImage img = trees(width, height, k, horizon, 601, QColor(150, 190, 225));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        // A pale building behind the group, then a lawn.
        p.fillRect(QRectF(W * 0.3, H * 0.18, W * 0.5, horizon - H * 0.18), QColor(232, 222, 200));
        p.fillRect(QRectF(W * 0.3, H * 0.16, W * 0.5, 14), QColor(170, 90, 60));
        for (int i = 0; i < 5; ++i)
            p.fillRect(QRectF(W * 0.34 + i * 90, H * 0.25, 40, 50), QColor(150, 170, 190));
        QLinearGradient lawn(0, horizon, 0, H);
        lawn.setColorAt(0, QColor(120, 160, 80));
        lawn.setColorAt(1, QColor(70, 110, 50));
        p.fillRect(QRectF(0, horizon, W, H - horizon), lawn);
    }
    blur(img, int(2 * k));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    Random rng(602);
    // Back row standing, front row sitting on chairs hidden by their knees.
    const int back = 8, front = 7;
    for (int i = 0; i < back; ++i) {
        const double x = W * 0.1 + i * (W * 0.8) / (back - 1) + rng.range(-8, 8);
        const double s = 21 + rng.range(-1.5, 1.5);
        standing(p, QPointF(x, H * 0.47 + rng.range(-6, 6)), s, randomPerson(rng, false), rng);
    }
    for (int i = 0; i < front; ++i) {
        const double x = W * 0.15 + i * (W * 0.7) / (front - 1) + rng.range(-6, 6);
        const double s = 22;
        const QPointF h(x, H * 0.64 + rng.range(-4, 4));
        groundShadow(p, h + QPointF(6, 9 * s), 3.6 * s, 0.8 * s);
        const Person who = randomPerson(rng, false);
        standing(p, h, s, who, rng);
    }
    p.end();
    finish(img, 603, QPointF(width * 0.2, 0), QColor(255, 236, 200));
    return img;
}

QImage drawYouthOutdoors(int width, int height)
{
    const double W = 640, H = 480, k = width / W;
    const double horizon = H * 0.48;
    QImage img = trees(width, height, k, horizon, 701, QColor(120, 180, 235));
    {
        QPainter p(&img);
        p.scale(k, k);
        QLinearGradient grass(0, horizon, 0, H);
        grass.setColorAt(0, QColor(140, 190, 90));
        grass.setColorAt(1, QColor(80, 140, 60));
        p.fillRect(QRectF(0, horizon, W, H - horizon), grass);
    }
    mottle(img, 704, 30 * k, 0.06);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    Random rng(702);
    // Friends standing at the back and sitting on the grass in front.
    for (int i = 0; i < 6; ++i) {
        const double x = W * 0.12 + i * W * 0.76 / 5 + rng.range(-8, 8);
        standing(p, QPointF(x, H * 0.5 + rng.range(-5, 5)), 16, randomPerson(rng, true), rng);
    }
    for (int i = 0; i < 5; ++i) {
        const double x = W * 0.16 + i * W * 0.68 / 4 + rng.range(-6, 6);
        const QPointF h(x, H * 0.69 + rng.range(-4, 4));
        groundShadow(p, h + QPointF(5, 7 * 18), 3.4 * 18, 0.9 * 18);
        seated(p, h, 18, randomPerson(rng, true), false, false);
    }
    p.end();
    finish(img, 703, QPointF(width * 0.85, 0), QColor(255, 240, 200));
    return img;
}

} // namespace quorlin::assetgen
