// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"
#include "app/formdata.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

#include <cstdlib>

namespace quorlin::test {

// A window declared inline by a test, built like any other window.
class ProbeForm : public Form
{
public:
    ProbeForm(QString className, QString source)
        : Form(std::move(className)), m_source(std::move(source))
    {
    }
    FormData declaredData() const override { return parseFormData(m_source, className()); }

private:
    QString m_source;
};

// The window as drawn, one image pixel per logical unit.
inline QImage rendered(QWidget *w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline QString describe(const QColor &c)
{
    return c.name(QColor::HexRgb);
}

// Whether two colours differ by at most `tolerance` in each of red, green and blue.
inline bool near(const QColor &a, const QColor &b, int tolerance)
{
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

inline QColor at(const QImage &image, int x, int y)
{
    return image.pixelColor(x, y);
}

// The mean colour of a block of a picture.
inline QColor blockMean(const QImage &image, const QRect &block)
{
    const QRect r = block & image.rect();
    qint64 red = 0, green = 0, blue = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            red += c.red();
            green += c.green();
            blue += c.blue();
        }
    const qint64 n = qint64(r.width()) * r.height();
    return QColor(int(red / n), int(green / n), int(blue / n));
}

} // namespace quorlin::test

// Compares a probed pixel with a colour, naming the place and both colours when they differ.
#define QUORLIN_PROBE(image, x, y, expected, tolerance)                                            \
    do {                                                                                           \
        const QColor probed_ = quorlin::test::at((image), (x), (y));                               \
        QVERIFY2(quorlin::test::near(probed_, (expected), (tolerance)),                            \
                 qPrintable(                                                                       \
                     QStringLiteral("at (%1, %2): %3, expected %4 (±%5)")                          \
                         .arg(x)                                                                   \
                         .arg(y)                                                                   \
                         .arg(quorlin::test::describe(probed_), quorlin::test::describe(expected)) \
                         .arg(tolerance)));                                                        \
    } while (false)
