// SPDX-License-Identifier: GPL-3.0-or-later
#include "paint.h"

#include <algorithm>
#include <cmath>

namespace quorlin::assetgen {

namespace {

int clamp255(double v)
{
    return std::clamp(int(std::lround(v)), 0, 255);
}

// Applies f(x, y, r, g, b) -> brightness factor to every pixel of an image, keeping alpha.
template <typename F> void scalePixels(QImage &image, F factor)
{
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int a = qAlpha(c);
            if (a == 0)
                continue;
            const double f = factor(x, y);
            line[x] =
                qRgba(std::min(clamp255(qRed(c) * f), a), std::min(clamp255(qGreen(c) * f), a),
                      std::min(clamp255(qBlue(c) * f), a), a);
        }
    }
}

void boxPass(std::vector<int> &src, std::vector<int> &dst, int w, int h, int r, bool horizontal)
{
    const int n = horizontal ? w : h;
    const int lines = horizontal ? h : w;
    const int stride = horizontal ? 1 : w;
    const int lineStep = horizontal ? w : 1;
    const int width = 2 * r + 1;
    for (int l = 0; l < lines; ++l) {
        const int base = l * lineStep;
        for (int ch = 0; ch < 4; ++ch) {
            auto at = [&](int i) {
                return src[(base + std::clamp(i, 0, n - 1) * stride) * 4 + ch];
            };
            int sum = 0;
            for (int i = -r; i <= r; ++i)
                sum += at(i);
            for (int i = 0; i < n; ++i) {
                dst[(base + i * stride) * 4 + ch] = (sum + width / 2) / width;
                sum += at(i + r + 1) - at(i - r);
            }
        }
    }
}

} // namespace

Noise::Noise(std::uint64_t seed)
{
    Random rng(seed);
    for (int i = 0; i < 256; ++i)
        m_perm[i] = std::uint8_t(i);
    for (int i = 255; i > 0; --i)
        std::swap(m_perm[i], m_perm[rng.below(i + 1)]);
    for (int i = 0; i < 256; ++i) {
        m_perm[256 + i] = m_perm[i];
        m_value[i] = rng.uniform();
    }
}

double Noise::at(double x, double y) const
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int xi = int(fx) & 255, yi = int(fy) & 255;
    const double tx = x - fx, ty = y - fy;
    const double u = tx * tx * (3 - 2 * tx), v = ty * ty * (3 - 2 * ty);
    auto val = [&](int i, int j) {
        return m_value[m_perm[m_perm[(xi + i) & 255] + ((yi + j) & 255)]];
    };
    const double a = val(0, 0) + (val(1, 0) - val(0, 0)) * u;
    const double b = val(0, 1) + (val(1, 1) - val(0, 1)) * u;
    return a + (b - a) * v;
}

double Noise::fractal(double x, double y, int octaves) const
{
    double sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * at(x, y);
        norm += amp;
        amp *= 0.5;
        x = x * 2.03 + 17.1;
        y = y * 2.03 + 5.3;
    }
    return sum / norm;
}

QImage canvas(int width, int height, const QColor &fill)
{
    QImage img(width, height, QImage::Format_ARGB32_Premultiplied);
    img.fill(fill);
    return img;
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor(clamp255(a.red() + (b.red() - a.red()) * t),
                  clamp255(a.green() + (b.green() - a.green()) * t),
                  clamp255(a.blue() + (b.blue() - a.blue()) * t),
                  clamp255(a.alpha() + (b.alpha() - a.alpha()) * t));
}

double smoothstep(double e0, double e1, double x)
{
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

void blur(QImage &image, int radius)
{
    if (radius < 1)
        return;
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int w = image.width(), h = image.height();
    std::vector<int> a(size_t(w) * h * 4), b(a.size());
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            int *px = &a[(size_t(y) * w + x) * 4];
            px[0] = qAlpha(line[x]);
            px[1] = qRed(line[x]);
            px[2] = qGreen(line[x]);
            px[3] = qBlue(line[x]);
        }
    }
    const int r = std::max(1, int(radius * 0.58));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(a, b, w, h, r, true);
        boxPass(b, a, w, h, r, false);
    }
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int *px = &a[(size_t(y) * w + x) * 4];
            line[x] = qRgba(std::min(px[1], px[0]), std::min(px[2], px[0]), std::min(px[3], px[0]),
                            px[0]);
        }
    }
}

void grain(QImage &image, std::uint64_t seed, double amount, double cell)
{
    // Smooth noise a little over a pixel wide reads as grain but compresses far better in a
    // PNG than independent per-pixel noise.
    const Noise noise(seed);
    const double c = std::max(cell, 1.6);
    scalePixels(image,
                [&](int x, int y) { return 1.0 + amount * 2.0 * (noise.at(x / c, y / c) - 0.5); });
}

void mottle(QImage &image, std::uint64_t seed, double scale, double amount)
{
    const Noise noise(seed);
    scalePixels(image, [&](int x, int y) {
        return 1.0 + amount * 2.0 * (noise.fractal(x / scale, y / scale, 4) - 0.5);
    });
}

void vignette(QImage &image, double strength)
{
    const double cx = image.width() / 2.0, cy = image.height() / 2.0;
    scalePixels(image, [&](int x, int y) {
        const double dx = (x - cx) / cx, dy = (y - cy) / cy;
        const double d = (dx * dx + dy * dy) / 2.0;
        return 1.0 - strength * d * d * 1.6 - strength * 0.2 * d;
    });
}

void tint(QImage &image, const QColor &color, double amount)
{
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Multiply);
    p.setOpacity(amount);
    p.fillRect(image.rect(), color);
}

void tooth(QImage &layer, std::uint64_t seed, double scale, double bite)
{
    const Noise noise(seed);
    Random rng(seed ^ 0xabcdefu);
    if (layer.format() != QImage::Format_ARGB32_Premultiplied)
        layer = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // Premultiplied: alpha and colour fall together, so the paper shows through.
    for (int y = 0; y < layer.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(layer.scanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            const QRgb c = line[x];
            if (qAlpha(c) == 0)
                continue;
            // Speckle at the pixel level, or at a coarser cell for pictures shown reduced.
            const double fine =
                scale >= 2.5 ? noise.at(x / (scale * 0.4) + 50, y / (scale * 0.4)) : rng.uniform();
            const double n = 0.55 * noise.fractal(x / scale, y / (scale * 0.7), 2) + 0.45 * fine;
            const double f = smoothstep(bite - 0.18, bite + 0.18, n);
            line[x] = qRgba(clamp255(qRed(c) * f), clamp255(qGreen(c) * f), clamp255(qBlue(c) * f),
                            clamp255(qAlpha(c) * f));
        }
    }
}

void composite(QImage &target, const QImage &layer, QPainter::CompositionMode mode, double opacity)
{
    QPainter p(&target);
    p.setCompositionMode(mode);
    p.setOpacity(opacity);
    p.drawImage(0, 0, layer);
}

void shadow(QPainter &p, const QPainterPath &shape, QPointF offset, int radius, const QColor &color)
{
    const QRectF bounds = p.transform().map(shape).boundingRect().adjusted(
        -3 * radius - 2, -3 * radius - 2, 3 * radius + 2, 3 * radius + 2);
    const QRect area = bounds.toAlignedRect();
    if (area.isEmpty())
        return;
    QImage layer = canvas(area.width(), area.height());
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.translate(-area.topLeft());
        lp.setTransform(p.transform(), true);
        lp.fillPath(shape, color);
    }
    blur(layer, radius);
    p.save();
    p.resetTransform();
    p.drawImage(area.topLeft() + offset, layer);
    p.restore();
}

QPainterPath smoothPath(const std::vector<QPointF> &pts, bool closed)
{
    QPainterPath path;
    const int n = int(pts.size());
    if (n == 0)
        return path;
    path.moveTo(pts[0]);
    if (n == 1) {
        path.lineTo(pts[0] + QPointF(0.01, 0));
        return path;
    }
    auto at = [&](int i) {
        if (closed)
            return pts[(i % n + n) % n];
        return pts[std::clamp(i, 0, n - 1)];
    };
    const int segments = closed ? n : n - 1;
    for (int i = 0; i < segments; ++i) {
        const QPointF p0 = at(i - 1), p1 = at(i), p2 = at(i + 1), p3 = at(i + 2);
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    if (closed)
        path.closeSubpath();
    return path;
}

void crayon(QPainter &p, const QPainterPath &path, const QColor &color, double width, Random &rng,
            int passes)
{
    const double length = path.length();
    const int steps = std::max(4, int(length / 3.0));
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int pass = 0; pass < passes; ++pass) {
        QPolygonF line;
        const double phase = rng.uniform() * 10.0, wobble = width * 0.35;
        for (int i = 0; i <= steps; ++i) {
            const double t = double(i) / steps;
            const QPointF pt = path.pointAtPercent(t);
            line << pt + QPointF(wobble * std::sin(phase + t * length / 23.0),
                                 wobble * std::cos(phase * 1.7 + t * length / 19.0));
        }
        QColor c = color;
        c.setAlphaF(color.alphaF() * 0.55);
        p.setPen(
            QPen(c, width * rng.range(0.55, 0.95), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(line);
    }
    p.restore();
}

void crayonFill(QPainter &p, const QPainterPath &shape, const QColor &color, double density,
                double angle, Random &rng)
{
    const QRectF b = shape.boundingRect();
    const double diag = std::hypot(b.width(), b.height());
    const QPointF c = b.center();
    const double spacing = 1.0 / density;
    p.save();
    p.setClipPath(shape, Qt::IntersectClip);
    QColor col = color;
    for (int dir = 0; dir < 2; ++dir) {
        const double a = (angle + dir * 14.0) * M_PI / 180.0;
        const QPointF along(std::cos(a), std::sin(a)), across(-along.y(), along.x());
        for (double off = -diag / 2; off <= diag / 2; off += spacing * rng.range(0.7, 1.3)) {
            col.setAlphaF(color.alphaF() * rng.range(0.35, 0.7));
            p.setPen(QPen(col, spacing * rng.range(0.8, 1.6), Qt::SolidLine, Qt::RoundCap));
            const QPointF m = c + across * off;
            p.drawLine(m - along * diag / 2, m + along * diag / 2);
        }
    }
    p.restore();
}

void angelDoodle(QPainter &p, QPointF c, double s, const QPen &pen, const QColor &dress,
                 const QColor &wings, Random &rng)
{
    p.save();
    p.setPen(pen);
    auto j = [&](double x, double y) {
        return c + QPointF((x + rng.gauss() * 0.006) * s, (y + rng.gauss() * 0.006) * s);
    };
    // Wings first, behind the body.
    for (int side = -1; side <= 1; side += 2) {
        const double d = side;
        std::vector<QPointF> outline{j(0.03 * d, -0.18), j(0.16 * d, -0.36), j(0.34 * d, -0.46),
                                     j(0.46 * d, -0.42), j(0.44 * d, -0.28)};
        QPainterPath wing = smoothPath(outline);
        // Scalloped feather edge back to the body.
        QPointF prev = outline.back();
        const int scallops = 4;
        for (int i = 1; i <= scallops; ++i) {
            const double t = double(i) / scallops;
            const QPointF next = j((0.44 - 0.38 * t) * d, -0.28 + 0.3 * t);
            const QPointF mid = (prev + next) / 2 + QPointF(0.05 * d * s * 0.2, 0.05 * s);
            wing.quadTo(mid, next);
            prev = next;
        }
        wing.closeSubpath();
        p.setBrush(wings);
        p.drawPath(wing);
        QPen feather = pen;
        feather.setWidthF(pen.widthF() * 0.6);
        p.save();
        p.setClipPath(wing, Qt::IntersectClip);
        p.setPen(feather);
        for (int i = 1; i <= 3; ++i) {
            const double t = i / 4.0;
            p.drawLine(j(0.1 * d, -0.16), j((0.16 + 0.26 * t) * d, -0.38 + 0.28 * t));
        }
        p.restore();
    }
    // Dress: a bell shape from the neck to a wavy hem.
    QPainterPath body;
    body.moveTo(j(-0.05, -0.22));
    body.cubicTo(j(-0.1, -0.05), j(-0.16, 0.2), j(-0.2, 0.38));
    body.quadTo(j(-0.1, 0.42), j(0.0, 0.38));
    body.quadTo(j(0.1, 0.42), j(0.2, 0.38));
    body.cubicTo(j(0.16, 0.2), j(0.1, -0.05), j(0.05, -0.22));
    body.closeSubpath();
    p.setBrush(dress);
    p.drawPath(body);
    // Arms folded at the chest, hands together.
    p.setBrush(Qt::NoBrush);
    p.drawPath(smoothPath({j(-0.07, -0.17), j(-0.1, -0.06), j(-0.02, -0.05), j(0.0, -0.1)}));
    p.drawPath(smoothPath({j(0.07, -0.17), j(0.1, -0.06), j(0.02, -0.05), j(0.0, -0.1)}));
    // Head, hair, face, halo.
    p.setBrush(QColor(250, 226, 200));
    const double hr = 0.085 * s;
    const QPointF head = j(0.0, -0.31);
    p.drawEllipse(head, hr, hr * 1.05);
    QPen thin = pen;
    thin.setWidthF(pen.widthF() * 0.7);
    p.setPen(thin);
    for (int i = 0; i < 5; ++i) {
        const double a = M_PI * (1.1 + 0.2 * i);
        const QPointF on = head + QPointF(std::cos(a) * hr, std::sin(a) * hr);
        p.drawArc(QRectF(on - QPointF(hr * 0.3, hr * 0.3), QSizeF(hr * 0.6, hr * 0.6)), 0,
                  180 * 16);
    }
    p.setBrush(pen.color());
    p.drawEllipse(head + QPointF(-hr * 0.35, -hr * 0.05), hr * 0.08, hr * 0.1);
    p.drawEllipse(head + QPointF(hr * 0.35, -hr * 0.05), hr * 0.08, hr * 0.1);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(head + QPointF(-hr * 0.35, -hr * 0.1), QSizeF(hr * 0.7, hr * 0.6)), 200 * 16,
              140 * 16);
    QPen halo(QColor(214, 168, 40), pen.widthF() * 1.3);
    p.setPen(halo);
    p.drawEllipse(head + QPointF(0, -hr * 1.45), hr * 0.95, hr * 0.28);
    p.restore();
}

void heartDoodle(QPainter &p, QPointF c, double s, const QPen &pen, const QColor &fill)
{
    QPainterPath h;
    h.moveTo(c + QPointF(0, 0.35 * s));
    h.cubicTo(c + QPointF(-0.55 * s, -0.05 * s), c + QPointF(-0.35 * s, -0.5 * s),
              c + QPointF(0, -0.2 * s));
    h.cubicTo(c + QPointF(0.35 * s, -0.5 * s), c + QPointF(0.55 * s, -0.05 * s),
              c + QPointF(0, 0.35 * s));
    p.save();
    p.setPen(pen);
    p.setBrush(fill);
    p.drawPath(h);
    p.restore();
}

void globeDoodle(QPainter &p, QPointF c, double r, const QPen &pen, const QColor &sea,
                 const QColor &land, Random &rng)
{
    p.save();
    p.setPen(pen);
    p.setBrush(sea);
    p.drawEllipse(c, r, r);
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    p.setClipPath(disc);
    p.setBrush(land);
    const QPointF centres[] = {{-0.35, -0.3}, {0.3, -0.15}, {0.05, 0.45}, {-0.45, 0.35}};
    for (const QPointF &lc : centres) {
        std::vector<QPointF> blob;
        const double br = r * rng.range(0.22, 0.38);
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4.0;
            const double rr = br * rng.range(0.6, 1.2);
            blob.push_back(c + lc * r + QPointF(std::cos(a) * rr, std::sin(a) * rr * 0.8));
        }
        p.drawPath(smoothPath(blob, true));
    }
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    QPen thin = pen;
    thin.setWidthF(pen.widthF() * 0.6);
    p.setPen(thin);
    p.drawEllipse(c, r * 0.45, r);
    p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
    p.drawArc(QRectF(c.x() - r * 0.95, c.y() - r * 0.75, r * 1.9, r * 0.5), 180 * 16, 180 * 16);
    p.drawArc(QRectF(c.x() - r * 0.95, c.y() + r * 0.25, r * 1.9, r * 0.5), 0, 180 * 16);
    p.restore();
}

void sunDoodle(QPainter &p, QPointF c, double r, const QPen &pen, const QColor &fill, Random &rng)
{
    p.save();
    p.setPen(pen);
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6.0 + rng.symmetric() * 0.06;
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * r * 1.25,
                   c + QPointF(std::cos(a), std::sin(a)) * r * rng.range(1.6, 1.85));
    }
    p.setBrush(fill);
    p.drawEllipse(c, r, r);
    p.restore();
}

void paper(QImage &image, const QRectF &area, const QColor &base, std::uint64_t seed, double cell)
{
    const Noise noise(seed);
    Random rng(seed + 7);
    const QRect r = area.toAlignedRect().intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
            // Fibres are only drawn where they can be seen: pictures shown reduced skip them.
            const double fibre = cell <= 1.0 ? 0.02 * (noise.at(x / 2.5, y / 1.5) - 0.5) : 0.0;
            const double f =
                1.0 + 0.05 * (noise.fractal(x / (90.0 * cell), y / (90.0 * cell), 3) - 0.5) + fibre;
            line[x] = qRgba(clamp255(base.red() * f), clamp255(base.green() * f),
                            clamp255(base.blue() * f), 255);
        }
    }
}

} // namespace quorlin::assetgen

namespace quorlin::assetgen {

void woodPlanks(QImage &image, double scale, std::uint64_t seed, const QColor &light,
                const QColor &dark, double plankHeight)
{
    const Noise noise(seed);
    Random rng(seed + 3);
    const int planks = int(image.height() / (plankHeight * scale)) + 2;
    std::vector<double> shade(static_cast<size_t>(planks)), shift(static_cast<size_t>(planks));
    for (int i = 0; i < planks; ++i) {
        shade[size_t(i)] = rng.range(0.85, 1.1);
        shift[size_t(i)] = rng.range(0, 200);
    }
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        const double ly = y / scale;
        const int plank = int(ly / plankHeight);
        const double inPlank = ly - plank * plankHeight;
        for (int x = 0; x < image.width(); ++x) {
            const double lx = x / scale + shift[size_t(plank)];
            const double warp = 14 * noise.fractal(lx / 300, (ly + plank * 50) / 30, 3);
            const double g =
                0.5 + 0.5 * std::sin((inPlank + warp) * 0.9 + 4 * noise.at(lx / 120, ly / 12));
            const double fine = noise.at(lx / 40, ly / 2.5);
            const double t = std::clamp(0.55 * g * g + 0.4 * fine, 0.0, 1.0);
            double f = shade[size_t(plank)];
            if (inPlank < 1.5 || inPlank > plankHeight - 1.0)
                f *= 0.55; // the joint between planks
            const QColor c = mix(light, dark, t);
            line[x] = qRgb(clamp255(c.red() * f), clamp255(c.green() * f), clamp255(c.blue() * f));
        }
    }
}

} // namespace quorlin::assetgen
