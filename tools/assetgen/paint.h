// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "handwriting.h"
#include "random.h"

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <array>
#include <vector>

// Painting helpers shared by the pictures: noise textures, blur, soft shadows, crayon and ink
// strokes, and the angel and other doodles that several journal pages carry.

namespace quorlin::assetgen {

// Smooth value noise on a lattice, with octaves for cloudy textures. Values lie in about [0, 1].
class Noise
{
public:
    explicit Noise(std::uint64_t seed);
    double at(double x, double y) const;
    double fractal(double x, double y, int octaves) const;

private:
    std::array<std::uint8_t, 512> m_perm{};
    std::array<double, 256> m_value{};
};

QImage canvas(int width, int height, const QColor &fill = Qt::transparent);
QColor mix(const QColor &a, const QColor &b, double t);
double smoothstep(double e0, double e1, double x);

// Three box-blur passes, close to a Gaussian of deviation ~radius.
void blur(QImage &image, int radius);
// Brightness noise, like film grain or paper tooth. Pictures shown much smaller than they are
// get a coarser grain (cell > 1): finer grain would not be seen, yet would bloat the PNG.
void grain(QImage &image, std::uint64_t seed, double amount, double cell = 1.0);
// Large soft blotches of light and shade, as on painted or photographed surfaces.
void mottle(QImage &image, std::uint64_t seed, double scale, double amount);
// Darkens towards the corners.
void vignette(QImage &image, double strength);
// Warm or cool cast over the whole image.
void tint(QImage &image, const QColor &color, double amount);
// Lets the paper show through a crayon layer where its tooth is low.
void tooth(QImage &layer, std::uint64_t seed, double scale, double bite);
// Draws a transparent layer over the target.
void composite(QImage &target, const QImage &layer,
               QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver,
               double opacity = 1.0);

// A soft blurred shadow of a shape, drawn into the painter's device.
void shadow(QPainter &p, const QPainterPath &shape, QPointF offset, int radius,
            const QColor &color);
// Catmull-Rom curve through the points.
QPainterPath smoothPath(const std::vector<QPointF> &points, bool closed = false);
// A crayon line: several slightly wandering passes of a dry, semi-transparent stroke.
void crayon(QPainter &p, const QPainterPath &path, const QColor &color, double width, Random &rng,
            int passes = 4);
// A crayon-filled area: dense hatching clipped to the shape.
void crayonFill(QPainter &p, const QPainterPath &shape, const QColor &color, double density,
                double angle, Random &rng);

// A hand-drawn angel: head with halo, dress, spread feathered wings; size is its height.
void angelDoodle(QPainter &p, QPointF centre, double size, const QPen &pen, const QColor &dress,
                 const QColor &wings, Random &rng);
// A hand-drawn heart and globe for journal pages.
void heartDoodle(QPainter &p, QPointF centre, double size, const QPen &pen, const QColor &fill);
void globeDoodle(QPainter &p, QPointF centre, double radius, const QPen &pen, const QColor &sea,
                 const QColor &land, Random &rng);
void sunDoodle(QPainter &p, QPointF centre, double radius, const QPen &pen, const QColor &fill,
               Random &rng);

// Paper of a journal page: off-white with fibres and tooth, cell as for grain().
void paper(QImage &image, const QRectF &area, const QColor &base, std::uint64_t seed,
           double cell = 1.0);

} // namespace quorlin::assetgen

namespace quorlin::assetgen {

// A wooden surface of horizontal planks with grain, filling the image.
void woodPlanks(QImage &image, double scale, std::uint64_t seed, const QColor &light,
                const QColor &dark, double plankHeight);

} // namespace quorlin::assetgen
