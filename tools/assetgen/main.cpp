// SPDX-License-Identifier: GPL-3.0-or-later
// Writes every built-in picture, the program icons and the bell into a folder laid out like the
// repository's assets/ folder, or a contact sheet of all pictures for looking them over.

#include "bell.h"
#include "handwriting.h"
#include "pictures.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <png.h>

#include <algorithm>

using namespace quorlin::assetgen;

namespace {

constexpr int IconSizes[] = {16, 32, 48, 64, 128, 256};

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        QTextStream(stderr) << "cannot write " << path << ": " << file.errorString() << '\n';
        return false;
    }
    return true;
}

// Rounds colour channels to even values: invisible in these painted scenes, but it roughly
// halves what the PNG has to store for their soft gradients and textures.
QImage evenLevels(QImage rgba)
{
    for (int y = 0; y < rgba.height(); ++y) {
        uchar *line = rgba.scanLine(y);
        for (int x = 0; x < rgba.width() * 4; x += 4) {
            for (int c = 0; c < 3; ++c)
                line[x + c] = uchar(std::min(254, (line[x + c] + 1) & ~1));
        }
    }
    return rgba;
}

// Images are written as 8-bit RGBA, not interlaced, each row filtered with none, "sub" or "up"
// (whichever libpng finds smallest) and compressed at zlib's best. Leaving out the "average"
// and "Paeth" filters makes the files a little smaller here and about twice as fast to decode,
// which the program does for every picture it shows.
bool writePng(const QString &path, const QImage &image)
{
    const QImage rgba = evenLevels(image.convertToFormat(QImage::Format_RGBA8888));
    QByteArray bytes;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        QTextStream(stderr) << "cannot encode " << path << '\n';
        return false;
    }
    png_set_write_fn(
        png, &bytes,
        [](png_structp p, png_bytep data, size_t length) {
            static_cast<QByteArray *>(png_get_io_ptr(p))
                ->append(reinterpret_cast<const char *>(data), qsizetype(length));
        },
        [](png_structp) {});
    png_set_IHDR(png, info, png_uint_32(rgba.width()), png_uint_32(rgba.height()), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_pHYs(png, info, png_uint_32(rgba.dotsPerMeterX()), png_uint_32(rgba.dotsPerMeterY()),
                 PNG_RESOLUTION_METER);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE | PNG_FILTER_SUB | PNG_FILTER_UP);
    png_set_compression_level(png, 9);
    png_write_info(png, info);
    for (int y = 0; y < rgba.height(); ++y)
        png_write_row(png, rgba.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return writeFile(path, bytes);
}

bool selected(const QStringList &only, const QString &fileName)
{
    return only.isEmpty() || std::any_of(only.begin(), only.end(),
                                         [&](const QString &o) { return fileName.startsWith(o); });
}

int writeAssets(const QString &outDir, const QStringList &only)
{
    const QDir root(outDir);
    if (!root.mkpath("pictures") || !root.mkpath("icons")) {
        QTextStream(stderr) << "cannot create folders under " << outDir << '\n';
        return 1;
    }
    bool ok = true;
    if (selected(only, "80578_634166-lq.wav"))
        ok &= writeFile(root.filePath("80578_634166-lq.wav"), bellWav());
    for (const Picture &p : pictures()) {
        if (!selected(only, p.fileName))
            continue;
        const QImage image = p.draw(p.width, p.height);
        Q_ASSERT(image.width() == p.width && image.height() == p.height);
        ok &= writePng(root.filePath("pictures/" + p.fileName), image);
    }
    if (selected(only, "quorlin-")) {
        for (int size : IconSizes)
            ok &=
                writePng(root.filePath(QString("icons/quorlin-%1.png").arg(size)), drawIcon(size));
    }
    return ok ? 0 : 1;
}

// All pictures as thumbnails on a grey sheet, each with its name, and the icons in a row below.
// Each thumbnail also gets a box showing the part a 388 x 458 page sees of a 690-wide drawing.
int writeContactSheet(const QString &path)
{
    constexpr int Cell = 360, Columns = 4, Label = 22;
    const auto &all = pictures();
    const int rows = int(all.size() + Columns - 1) / Columns;
    QImage sheet(Columns * Cell, rows * (Cell + Label) + 280, QImage::Format_ARGB32);
    sheet.fill(QColor(120, 120, 124));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    for (size_t i = 0; i < all.size(); ++i) {
        const Picture &pic = all[i];
        const QImage img = pic.draw(pic.width, pic.height);
        const QSize fitted = img.size().scaled(Cell - 16, Cell - 16, Qt::KeepAspectRatio);
        const int x = int(i % Columns) * Cell + (Cell - fitted.width()) / 2;
        const int y = int(i / Columns) * (Cell + Label) + (Cell - fitted.height()) / 2;
        p.fillRect(QRect(QPoint(x, y), fitted), QColor(200, 60, 200)); // shows transparency
        p.drawImage(QRect(QPoint(x, y), fitted), img);
        // The page's middle crop of a 690-wide drawing, where that applies.
        const double s = double(fitted.width()) / 690.0;
        const QRectF crop(x + fitted.width() / 2.0 - 194 * s, y + fitted.height() / 2.0 - 229 * s,
                          388 * s, 458 * s);
        p.setPen(QPen(QColor(255, 255, 0, 160), 1, Qt::DashLine));
        p.drawRect(crop.intersected(QRectF(QPoint(x, y), fitted)));
        p.setPen(Qt::white);
        p.drawText(QRect(int(i % Columns) * Cell, int(i / Columns) * (Cell + Label) + Cell - 6,
                         Cell, Label),
                   Qt::AlignCenter,
                   QString("%1  %2x%3").arg(pic.fileName).arg(pic.width).arg(pic.height));
    }
    int x = 20;
    for (int size : IconSizes) {
        p.drawImage(x, rows * (Cell + Label) + 10, drawIcon(size));
        x += size + 20;
    }
    p.end();
    return writePng(path, sheet) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    // Offscreen, so the generator runs on build machines without a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString error;
    if (!args.isEmpty() && !handwritingAvailable(&error)) {
        QTextStream(stderr) << "quorlin_assetgen: " << error << '\n';
        return 1;
    }
    if (args.size() == 2 && args[0] == "--contact-sheet")
        return writeContactSheet(args[1]);
    if (!args.isEmpty() && !args[0].startsWith("--"))
        return writeAssets(args[0], args.mid(1));
    QTextStream(stderr) << "usage: quorlin_assetgen <output folder> [name prefix...]\n"
                           "       quorlin_assetgen --contact-sheet <file.png>\n";
    return 2;
}
