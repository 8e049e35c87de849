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

Person randomPerson(Random &rng)
{
    Person p;
    p.skin = Skins[rng.below(6)];
    p.hair = Hairs[rng.below(5)];
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

// A dome tent pitched on the grass, base the middle of its foot.
void tent(QPainter &p, QPointF base, double w, const QColor &colour)
{
    groundShadow(p, base + QPointF(4, 0), w * 0.55, w * 0.06);
    QPainterPath dome;
    dome.moveTo(base.x() - w / 2, base.y());
    dome.cubicTo(base.x() - w / 2, base.y() - w * 0.78, base.x() + w / 2, base.y() - w * 0.78,
                 base.x() + w / 2, base.y());
    dome.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(shaded(colour, dome.boundingRect()));
    p.drawPath(dome);
    // The poles that cross over it, and the open door.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour.darker(150), std::max(1.0, w / 50)));
    p.drawPath(smoothPath({base + QPointF(-w * 0.42, 0), base + QPointF(-w * 0.1, -w * 0.55),
                           base + QPointF(w * 0.3, -w * 0.5), base + QPointF(w * 0.5, 0)}));
    p.drawPath(smoothPath({base + QPointF(-w * 0.5, 0), base + QPointF(-w * 0.3, -w * 0.5),
                           base + QPointF(w * 0.1, -w * 0.55), base + QPointF(w * 0.42, 0)}));
    QPainterPath door;
    door.moveTo(base.x() - w * 0.17, base.y());
    door.quadTo(base.x(), base.y() - w * 0.7, base.x() + w * 0.17, base.y());
    door.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(230));
    p.drawPath(door);
}

// The camp's cloth banner tied between two trees, its name painted on by hand, and a string of
// little flags above it.
void campBanner(QPainter &p, const QRectF &r)
{
    const QColor flags[] = {{230, 70, 70}, {250, 200, 60}, {70, 150, 220}, {110, 190, 90},
                            {240, 140, 190}};
    const QPainterPath string =
        smoothPath({QPointF(-10, 20), QPointF(160, 44), QPointF(320, 50), QPointF(480, 44),
                    QPointF(650, 20)});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(80, 70, 60), 1.2));
    p.drawPath(string);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 24; ++i) {
        const double t = (i + 0.5) / 24;
        const QPointF at = string.pointAtPercent(t);
        QPainterPath flag;
        flag.moveTo(at + QPointF(-8, 0));
        flag.lineTo(at + QPointF(8, 0));
        flag.lineTo(at + QPointF(0, 17));
        flag.closeSubpath();
        p.setBrush(flags[i % 5]);
        p.drawPath(flag);
    }
    p.setPen(QPen(QColor(110, 90, 70), 1.6));
    p.drawLine(r.topLeft() + QPointF(2, 4), QPointF(r.left() - 90, r.top() - 6));
    p.drawLine(r.topRight() + QPointF(-2, 4), QPointF(r.right() + 90, r.top() - 6));
    QPainterPath cloth;
    cloth.moveTo(r.topLeft());
    cloth.quadTo(r.center().x(), r.top() + 6, r.right(), r.top());
    cloth.lineTo(r.bottomRight());
    cloth.quadTo(r.center().x(), r.bottom() + 8, r.left(), r.bottom());
    cloth.closeSubpath();
    shadow(p, cloth, QPointF(3, 4), 4, QColor(0, 0, 0, 90));
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, QColor(40, 100, 150));
    g.setColorAt(0.6, QColor(30, 80, 130));
    g.setColorAt(1, QColor(24, 62, 104));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(cloth);
    Random rng(711);
    Handwriting paint;
    paint.ink = QColor(255, 250, 236);
    paint.size = 34;
    paint.weight = 1.6;
    paint.slant = 0.04;
    const QString name = QStringLiteral("ค่ายเขียนบันทึก");
    handwritingLine(p, QPointF(r.center().x() - handwritingWidth(name, paint) / 2,
                               r.center().y() + paint.size * 0.3),
                    name, paint, rng);
}

// Teenagers: larger heads for their bodies, rounder faces with bigger eyes, the camp's yellow
// T-shirt with its badge, a name tag on a lanyard, sneakers.
struct Teen
{
    QColor skin, hair, bottoms, overshirt, cap, notebook;
    int hairStyle; // 0 short and spiky, 1 ponytail, 2 bob with a fringe, 3 cap
    int pose;      // 0 arms down, 1 a notebook held to the chest, 2 a peace sign
    bool shorts, overshirtOn, nameTag;
};

const QColor CampShirt(244, 198, 66);

Teen randomTeen(Random &rng, int index)
{
    // Hair and poses by place in the group, so that the mix is the same every time.
    static const int styles[] = {1, 0, 2, 3, 1, 0, 2, 0, 1, 3, 2};
    static const int poses[] = {0, 2, 1, 0, 2, 1, 0, 0, 0, 0, 0};
    const QColor overshirts[] = {{70, 110, 180}, {190, 60, 60}, {80, 140, 100}};
    const QColor notebooks[] = {{200, 70, 80}, {60, 120, 190}, {90, 160, 90}, {240, 150, 60}};
    Teen t;
    t.skin = Skins[rng.below(6)];
    t.hair = Hairs[rng.below(4)];
    t.bottoms = Trousers[rng.below(5)];
    t.overshirt = overshirts[rng.below(3)];
    t.cap = rng.below(2) ? QColor(230, 90, 60) : QColor(40, 60, 110);
    t.notebook = notebooks[rng.below(4)];
    t.hairStyle = styles[index % 11];
    t.pose = poses[index % 11];
    t.shorts = rng.below(2) == 0;
    t.overshirtOn = index == 1 || index == 4 || index == 8;
    t.nameTag = rng.below(4) != 0;
    return t;
}

void teenHead(QPainter &p, QPointF c, double s, const Teen &who)
{
    auto at = [&](double x, double y) { return c + QPointF(x * s, y * s); };
    QRadialGradient hg(at(-0.4, -0.9), 1.9 * s);
    hg.setColorAt(0, who.hair.lighter(180));
    hg.setColorAt(0.5, who.hair);
    hg.setColorAt(1, who.hair.darker(140));
    p.setPen(Qt::NoPen);
    // Hair that falls behind the face: a bob's sides, a ponytail.
    if (who.hairStyle == 2) {
        p.setBrush(hg);
        p.drawRoundedRect(QRectF(at(-1.28, -1.2), at(1.28, 0.95)), 0.9 * s, 0.9 * s);
    } else if (who.hairStyle == 1) {
        QPainterPath tail;
        tail.moveTo(at(0.6, -0.95));
        tail.cubicTo(at(1.7, -0.9), at(1.8, 0.3), at(1.35, 1.4));
        tail.cubicTo(at(1.2, 0.7), at(1.1, 0.0), at(0.8, -0.3));
        tail.closeSubpath();
        p.setBrush(hg);
        p.drawPath(tail);
        p.setBrush(QColor(230, 80, 120));
        p.drawEllipse(at(1.08, -0.72), 0.2 * s, 0.16 * s);
    }
    p.setBrush(who.skin.darker(110));
    p.drawEllipse(at(-1.02, 0.12), 0.2 * s, 0.28 * s);
    p.drawEllipse(at(1.02, 0.12), 0.2 * s, 0.28 * s);
    QRadialGradient skin(at(-0.3, -0.4), 1.6 * s);
    skin.setColorAt(0, who.skin.lighter(112));
    skin.setColorAt(0.6, who.skin);
    skin.setColorAt(1, who.skin.darker(130));
    p.setBrush(skin);
    p.drawEllipse(QRectF(at(-1.05, -1.1), at(1.05, 1.12)));
    // Hair, or a cap, on top.
    QPainterPath top;
    switch (who.hairStyle) {
    case 0: // short, standing up in tufts over the forehead
        top.moveTo(at(-1.08, -0.05));
        top.cubicTo(at(-1.2, -1.55), at(1.2, -1.55), at(1.08, -0.05));
        for (int j = 0; j <= 6; ++j)
            top.lineTo(at(0.98 - j * 0.327, j % 2 ? -0.66 : -0.36));
        top.closeSubpath();
        break;
    case 1: // pulled back, parted at the side
        top.moveTo(at(-1.07, 0.0));
        top.cubicTo(at(-1.15, -1.5), at(1.15, -1.5), at(1.07, 0.0));
        top.cubicTo(at(0.8, -0.6), at(-0.1, -0.85), at(-0.35, -0.7));
        top.cubicTo(at(-0.8, -0.55), at(-0.95, -0.3), at(-1.07, 0.0));
        break;
    case 2: // a straight fringe
        top.moveTo(at(-1.12, 0.25));
        top.cubicTo(at(-1.2, -1.5), at(1.2, -1.5), at(1.12, 0.25));
        top.lineTo(at(0.93, 0.25));
        top.lineTo(at(0.9, -0.38));
        top.lineTo(at(-0.9, -0.38));
        top.lineTo(at(-0.93, 0.25));
        top.closeSubpath();
        break;
    default: // close-cut under a cap
        top.addEllipse(at(-0.95, -0.2), 0.2 * s, 0.35 * s);
        top.addEllipse(at(0.95, -0.2), 0.2 * s, 0.35 * s);
        break;
    }
    p.setBrush(hg);
    p.drawPath(top);
    if (who.hairStyle == 3) {
        QPainterPath crown;
        crown.moveTo(at(-1.1, -0.35));
        crown.cubicTo(at(-1.1, -1.6), at(1.1, -1.6), at(1.1, -0.35));
        crown.closeSubpath();
        p.setBrush(shaded(who.cap, crown.boundingRect()));
        p.drawPath(crown);
        p.setBrush(who.cap.darker(135));
        p.drawEllipse(at(0.25, -0.36), 1.05 * s, 0.2 * s);
        p.setBrush(Qt::white);
        p.drawEllipse(at(-0.1, -0.85), 0.28 * s, 0.2 * s); // the camp's badge on the front
    }
    // A young face: big bright eyes set low, thin brows, warm cheeks and an open smile.
    const QColor dark(36, 26, 22);
    p.setBrush(dark);
    p.drawEllipse(at(-0.4, 0.14), 0.14 * s, 0.18 * s);
    p.drawEllipse(at(0.4, 0.14), 0.14 * s, 0.18 * s);
    p.setBrush(Qt::white);
    p.drawEllipse(at(-0.36, 0.08), 0.05 * s, 0.05 * s);
    p.drawEllipse(at(0.44, 0.08), 0.05 * s, 0.05 * s);
    p.setBrush(QColor(240, 110, 110, 70));
    p.drawEllipse(at(-0.6, 0.5), 0.22 * s, 0.13 * s);
    p.drawEllipse(at(0.6, 0.5), 0.22 * s, 0.13 * s);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(who.hair.darker(110), std::max(0.7, 0.07 * s), Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(at(-0.62, -0.22), at(-0.2, -0.06)), 30 * 16, 120 * 16);
    p.drawArc(QRectF(at(0.2, -0.22), at(0.62, -0.06)), 30 * 16, 120 * 16);
    QPainterPath mouth;
    mouth.moveTo(at(-0.34, 0.52));
    mouth.quadTo(at(0, 1.0), at(0.34, 0.52));
    mouth.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 50, 56));
    p.drawPath(mouth);
    p.save();
    p.setClipPath(mouth);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(at(-0.4, 0.5), at(0.4, 0.62)));
    p.restore();
}

// The camp T-shirt, or the shirt left open over it, from the shoulders at top down length.
void teenTorso(QPainter &p, QPointF c, double s, double top, double length, const Teen &who)
{
    auto at = [&](double x, double y) { return QPointF(c.x() + x * s, top + y * s); };
    p.setPen(Qt::NoPen);
    p.setBrush(who.skin.darker(118));
    p.drawRect(QRectF(at(-0.28, -0.5), at(0.28, 0.2)));
    QPainterPath body;
    body.moveTo(at(-0.5, 0));
    body.cubicTo(at(-1.4, 0), at(-1.7, 0.15), at(-1.7, 0.9));
    body.lineTo(at(-1.5, length));
    body.lineTo(at(1.5, length));
    body.lineTo(at(1.7, 0.9));
    body.cubicTo(at(1.7, 0.15), at(1.4, 0), at(0.5, 0));
    body.closeSubpath();
    p.setBrush(shaded(CampShirt, body.boundingRect()));
    p.drawPath(body);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(CampShirt.darker(135), std::max(0.7, 0.12 * s)));
    p.drawArc(QRectF(at(-0.5, -0.35), at(0.5, 0.35)), 180 * 16, 180 * 16);
    p.setPen(Qt::NoPen);
    // The camp's badge: a white round with a pen across it.
    p.setBrush(Qt::white);
    p.drawEllipse(at(-0.72, 1.25), 0.34 * s, 0.34 * s);
    p.setPen(QPen(QColor(40, 90, 140), std::max(0.6, 0.1 * s), Qt::SolidLine, Qt::RoundCap));
    p.drawLine(at(-0.92, 1.45), at(-0.52, 1.05));
    p.setPen(Qt::NoPen);
    if (who.overshirtOn) {
        for (int side = -1; side <= 1; side += 2) {
            QPainterPath panel;
            panel.moveTo(at(side * 0.5, -0.05));
            panel.cubicTo(at(side * 1.45, 0), at(side * 1.78, 0.15), at(side * 1.78, 0.9));
            panel.lineTo(at(side * 1.58, length + 0.15));
            panel.lineTo(at(side * 0.82, length + 0.15));
            panel.lineTo(at(side * 0.6, 1.2));
            panel.closeSubpath();
            p.setBrush(shaded(who.overshirt, panel.boundingRect()));
            p.drawPath(panel);
        }
    }
    if (who.nameTag && who.pose != 1) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(40, 60, 120), std::max(0.6, 0.09 * s)));
        p.drawPolyline(QPolygonF{at(-0.4, -0.1), at(0.1, 1.9), at(0.4, -0.1)});
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(250, 250, 246));
        p.drawRect(QRectF(at(-0.32, 1.85), at(0.52, 2.9)));
        p.setBrush(QColor(60, 130, 190));
        p.drawRect(QRectF(at(-0.32, 1.85), at(0.52, 2.12)));
    }
}

// An arm as a sleeve, then the bare forearm and hand, through the given points (in units).
void teenArm(QPainter &p, QPointF c, double s, const std::vector<QPointF> &units, const Teen &who)
{
    std::vector<QPointF> pts;
    for (const QPointF &u : units)
        pts.push_back(c + u * s);
    const QPainterPath arm = smoothPath(pts);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(who.skin.darker(108), 0.72 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(arm);
    // Short camp sleeves, or the open shirt's long ones.
    const QColor sleeve = who.overshirtOn ? who.overshirt : CampShirt;
    QPainterPath covered;
    covered.moveTo(pts[0]);
    const double reach = who.overshirtOn ? 0.9 : 0.3;
    for (int i = 1; i <= 20; ++i)
        covered.lineTo(arm.pointAtPercent(reach * i / 20));
    p.setPen(QPen(sleeve.darker(112), 1.0 * s, Qt::SolidLine, Qt::FlatCap));
    p.drawPath(covered);
    p.setPen(Qt::NoPen);
    p.setBrush(who.skin);
    p.drawEllipse(pts.back(), 0.42 * s, 0.46 * s);
}

// A white sneaker seen from the side, with a coloured stripe.
void sneaker(QPainter &p, QPointF at, double s)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 246, 244));
    p.drawEllipse(at, 0.9 * s, 0.42 * s);
    p.setBrush(QColor(200, 60, 60));
    p.drawEllipse(at + QPointF(0, -0.12 * s), 0.55 * s, 0.12 * s);
}

void teenStanding(QPainter &p, QPointF c, double s, const Teen &who, Random &rng)
{
    const double top = c.y() + 1.4 * s, hem = top + 5.0 * s, feet = c.y() + 13.0 * s;
    groundShadow(p, QPointF(c.x() + 4, feet + 0.3 * s), 2.2 * s, 0.5 * s);
    // Legs: shorts with bare knees, or jeans, and sneakers.
    p.setPen(Qt::NoPen);
    for (int side = -1; side <= 1; side += 2) {
        const double x = c.x() + side * 0.72 * s;
        if (who.shorts) {
            p.setBrush(who.skin.darker(106));
            p.drawRoundedRect(QRectF(x - 0.42 * s, hem + 1.5 * s, 0.84 * s, feet - hem - 1.6 * s),
                              0.4 * s, 0.4 * s);
            p.setBrush(Qt::white);
            p.drawRect(QRectF(x - 0.42 * s, feet - 0.9 * s, 0.84 * s, 0.5 * s));
            p.setBrush(shaded(who.bottoms, QRectF(x - 0.7 * s, hem - 0.4 * s, 1.4 * s, 2.4 * s)));
            p.drawRoundedRect(QRectF(x - 0.7 * s, hem - 0.4 * s, 1.4 * s, 2.4 * s), 0.3 * s,
                              0.3 * s);
        } else {
            p.setBrush(shaded(who.bottoms, QRectF(x - 0.6 * s, hem - 0.4 * s, 1.2 * s, 7 * s)));
            p.drawRoundedRect(QRectF(x - 0.6 * s, hem - 0.4 * s, 1.2 * s, feet - hem), 0.4 * s,
                              0.4 * s);
        }
        sneaker(p, QPointF(x + side * 0.2 * s, feet), s);
    }
    // A raised arm goes behind the head; the others in front of the body.
    if (who.pose == 2) {
        teenArm(p, c, s, {{1.82, 1.9}, {2.6, 0.6}, {2.25, -1.0}}, who);
        p.setPen(QPen(who.skin, 0.2 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c + QPointF(2.15 * s, -1.3 * s), c + QPointF(1.95 * s, -2.05 * s));
        p.drawLine(c + QPointF(2.35 * s, -1.3 * s), c + QPointF(2.6 * s, -2.0 * s));
    }
    teenTorso(p, c, s, top, 5.2, who);
    const double lean = rng.range(-0.1, 0.1);
    if (who.pose == 1) {
        p.save();
        p.translate(c + QPointF(0, 3.9 * s));
        p.rotate(-8);
        p.setPen(Qt::NoPen);
        p.setBrush(shaded(who.notebook, QRectF(-1.0 * s, -1.3 * s, 2.0 * s, 2.6 * s)));
        p.drawRoundedRect(QRectF(-1.0 * s, -1.3 * s, 2.0 * s, 2.6 * s), 0.12 * s, 0.12 * s);
        p.setBrush(QColor(250, 248, 240));
        p.drawRect(QRectF(-0.6 * s, -0.9 * s, 1.2 * s, 0.45 * s));
        p.restore();
        teenArm(p, c, s, {{-1.82, 1.9}, {-1.7, 3.9}, {-0.5, 4.3}}, who);
        teenArm(p, c, s, {{1.82, 1.9}, {1.7, 3.6}, {0.7, 3.3}}, who);
    } else {
        teenArm(p, c, s, {{-1.84, 1.9}, {-2.0 - lean, 3.9}, {-1.9, 5.9}}, who);
        if (who.pose == 0)
            teenArm(p, c, s, {{1.84, 1.9}, {2.0 + lean, 3.9}, {1.9, 5.9}}, who);
    }
    teenHead(p, c, s, who);
}

// Sitting cross-legged with a notebook open on the lap and a pen in hand.
void teenSeated(QPainter &p, QPointF c, double s, const Teen &who, Random &rng)
{
    const double top = c.y() + 1.4 * s;
    groundShadow(p, c + QPointF(4, 6.4 * s), 3.2 * s, 0.7 * s);
    for (int side = -1; side <= 1; side += 2) {
        const QPointF hip = c + QPointF(side * 0.8 * s, 5.3 * s);
        const QPointF knee = c + QPointF(side * 2.45 * s, 5.9 * s);
        const QPointF ankle = c + QPointF(-side * 0.55 * s, 6.45 * s);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(who.shorts ? who.skin.darker(106) : who.bottoms.darker(108), 1.05 * s,
                      Qt::SolidLine, Qt::RoundCap));
        p.drawLine(knee, ankle);
        p.setPen(QPen(who.bottoms, 1.5 * s, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(hip, who.shorts ? (hip + knee) / 2 + QPointF(side * 0.3 * s, 0) : knee);
        p.setPen(Qt::NoPen);
        sneaker(p, ankle + QPointF(-side * 0.55 * s, 0.05 * s), s * 0.8);
    }
    teenTorso(p, c, s, top, 3.9, who);
    // The notebook open on the lap, lines written on its pages.
    const double tilt = rng.range(-6, 6);
    p.save();
    p.translate(c + QPointF(0, 5.1 * s));
    p.rotate(tilt);
    p.setBrush(who.notebook);
    p.drawRect(QRectF(-1.65 * s, -0.62 * s, 3.3 * s, 1.2 * s));
    p.setBrush(QColor(252, 250, 242));
    p.drawRect(QRectF(-1.55 * s, -0.55 * s, 1.52 * s, 1.05 * s));
    p.drawRect(QRectF(0.03 * s, -0.55 * s, 1.52 * s, 1.05 * s));
    p.setPen(QPen(QColor(70, 80, 140), std::max(0.5, 0.06 * s)));
    for (int i = 0; i < 3; ++i) {
        const double y = -0.3 * s + i * 0.26 * s;
        p.drawLine(QPointF(-1.4 * s, y), QPointF(-0.2 * s, y));
        p.drawLine(QPointF(0.2 * s, y), QPointF((i == 2 ? 0.8 : 1.4) * s, y));
    }
    p.restore();
    teenArm(p, c, s, {{-1.84, 1.9}, {-2.0, 3.6}, {-1.2, 5.0}}, who);
    teenArm(p, c, s, {{1.84, 1.9}, {1.95, 3.6}, {0.9, 4.9}}, who);
    p.setPen(QPen(QColor(40, 40, 50), 0.16 * s, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(0.8 * s, 4.95 * s), c + QPointF(1.3 * s, 4.2 * s));
    teenHead(p, c, s, who);
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
        seats.push_back({-M_PI / 2 + (i + 0.3) * 2 * M_PI / count, randomPerson(rng)});
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
        standing(p, QPointF(x, H * 0.47 + rng.range(-6, 6)), s, randomPerson(rng), rng);
    }
    for (int i = 0; i < front; ++i) {
        const double x = W * 0.15 + i * (W * 0.7) / (front - 1) + rng.range(-6, 6);
        const double s = 22;
        const QPointF h(x, H * 0.64 + rng.range(-4, 4));
        groundShadow(p, h + QPointF(6, 9 * s), 3.6 * s, 0.8 * s);
        const Person who = randomPerson(rng);
        standing(p, h, s, who, rng);
    }
    p.end();
    finish(img, 603, QPointF(width * 0.2, 0), QColor(255, 236, 200));
    return img;
}

// Teenagers at a writing camp, posing for the group photograph on its last day: the camp's
// banner between the trees, tents behind, the ones in front sitting on a mat with their
// notebooks open.
QImage drawYouthOutdoors(int width, int height)
{
    const double W = 640, H = 480, k = width / W;
    const double horizon = H * 0.46;
    QImage img = trees(width, height, k, horizon, 701, QColor(120, 180, 235));
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(k, k);
        QLinearGradient grass(0, horizon, 0, H);
        grass.setColorAt(0, QColor(140, 190, 90));
        grass.setColorAt(1, QColor(80, 140, 60));
        p.fillRect(QRectF(0, horizon, W, H - horizon), grass);
        tent(p, QPointF(96, horizon + 16), 74, QColor(236, 120, 50));
        tent(p, QPointF(548, horizon + 12), 80, QColor(50, 150, 160));
        tent(p, QPointF(330, horizon + 4), 56, QColor(110, 170, 80));
    }
    blur(img, int(2 * k)); // the background is out of focus
    mottle(img, 704, 30 * k, 0.06);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    campBanner(p, QRectF(140, 62, 280, 58));
    Random rng(702);
    // The back row stands; the front row sits cross-legged on a striped mat.
    for (int i = 0; i < 6; ++i) {
        const double x = W * 0.14 + i * W * 0.72 / 5 + rng.range(-6, 6);
        const Teen who = randomTeen(rng, i);
        teenStanding(p, QPointF(x, H * 0.43 + rng.range(-4, 4)), 15 + rng.range(-0.6, 0.6), who,
                     rng);
    }
    {
        QPainterPath mat;
        mat.addRoundedRect(QRectF(40, 400, 560, 76), 10, 10);
        groundShadow(p, QPointF(320, 440), 280, 28);
        p.save();
        p.setClipPath(mat);
        p.fillRect(mat.boundingRect(), QColor(238, 232, 214));
        for (int i = 0; i < 16; ++i)
            p.fillRect(QRectF(40 + i * 36, 400, 18, 76), QColor(196, 70, 70, 150));
        p.restore();
    }
    for (int i = 0; i < 5; ++i) {
        const double x = W * 0.17 + i * W * 0.66 / 4 + rng.range(-5, 5);
        const Teen who = randomTeen(rng, 6 + i);
        teenSeated(p, QPointF(x, H * 0.685 + rng.range(-3, 3)), 16.5, who, rng);
    }
    p.end();
    finish(img, 703, QPointF(width * 0.85, 0), QColor(255, 240, 200));
    return img;
}

} // namespace quorlin::assetgen
