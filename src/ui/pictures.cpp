// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pictures.h"

#include "base/background.h"
#include "base/exception.h"

#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QMutex>
#include <QPair>

#include <future>
#include <algorithm>
#include <memory>
#include <utility>

namespace quorlin {

namespace {

// Built-in pictures, each decoded once per run and shared by every window that shows it.
// QImage shares its pixels implicitly: a window whose picture is replaced (by a drop) gets its
// own copy, and the others keep the built-in one. A picture may be decoding on a worker thread
// (see prefetchBuiltInPicture), so the cache holds futures and is guarded by a mutex.
class DecodedPictures
{
public:
    std::shared_future<QImage> find(const QString &path)
    {
        const QMutexLocker lock(&m_mutex);
        return m_pictures.value(path);
    }

    // The picture's future, started with start() when nobody has asked for it yet.
    template <typename Start>
    std::shared_future<QImage> findOrStart(const QString &path, Start start)
    {
        const QMutexLocker lock(&m_mutex);
        if (const auto it = m_pictures.constFind(path); it != m_pictures.constEnd())
            return *it;
        std::shared_future<QImage> picture = start();
        m_pictures.insert(path, picture);
        return picture;
    }

private:
    QMutex m_mutex;
    QHash<QString, std::shared_future<QImage>> m_pictures;
};

DecodedPictures &decodedPictures()
{
    static DecodedPictures pictures;
    return pictures;
}

// A reader for a built-in picture, or null when there is no such picture. Built-in pictures
// are all PNG, which Qt decodes itself; naming the format keeps the reader from loading every
// image plugin to sniff the content.
std::unique_ptr<QImageReader> builtInPictureReader(const QString &path)
{
    const QString resource = QStringLiteral(":/") + path;
    if (!QFile::exists(resource))
        return nullptr;
    auto reader = std::make_unique<QImageReader>(resource, "png");
    reader->setAutoDetectImageFormat(false);
    return reader;
}

QImage decodeBuiltInPicture(const QString &path)
{
    const auto reader = builtInPictureReader(path);
    const QImage image = reader ? reader->read() : QImage();
    if (image.isNull())
        throw Exception(QStringLiteral("Picture %1 not found").arg(path));
    return image;
}

// Whether every pixel of a 32-bit ARGB picture (plain or premultiplied) is fully opaque.
bool isOpaque(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return true;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        if (!std::all_of(line, line + image.width(), [](QRgb p) { return qAlpha(p) == 255; }))
            return false;
    }
    return true;
}

using ScaledKey = QPair<qint64, QSize>; // a picture's cache key, and a size

// Shared pictures scaled ahead on a worker thread, until the GUI thread takes them.
struct ScaledAhead
{
    QMutex mutex;
    QHash<ScaledKey, QImage> images;
};

ScaledAhead &scaledAhead()
{
    static ScaledAhead ahead;
    return ahead;
}

} // namespace

QImage builtInPicture(const QString &path)
{
    std::shared_future<QImage> picture = decodedPictures().find(path);
    if (!picture.valid()) {
        // Decoded here, outside the lock; a second caller racing us decodes once more and
        // whichever lands first is kept, which is harmless.
        std::promise<QImage> decoded;
        try {
            decoded.set_value(decodeBuiltInPicture(path));
        } catch (...) {
            decoded.set_exception(std::current_exception());
        }
        picture = decodedPictures().findOrStart(path, [&] { return decoded.get_future().share(); });
    }
    return picture.get();
}

void prefetchBuiltInPicture(const QString &path, QSize drawn)
{
    decodedPictures().findOrStart(path, [&] {
        return runInBackground([path, drawn] {
                   QImage picture = decodeBuiltInPicture(path);
                   scalePictureAhead(picture, drawn);
                   return picture;
               })
            .share();
    });
}

QSize builtInPictureSize(const QString &path)
{
    static QHash<QString, QSize> sizes;
    if (const auto it = sizes.constFind(path); it != sizes.constEnd())
        return *it;
    const auto reader = builtInPictureReader(path);
    const QSize size = reader ? reader->size() : QSize();
    if (!size.isValid() || size.isEmpty())
        throw Exception(QStringLiteral("Picture %1 not found").arg(path));
    sizes.insert(path, size);
    return size;
}

QPixmap scaledPicture(const QImage &picture, QSize size)
{
    // Averaged in the premultiplied form a pixmap keeps anyway: averaging straight alpha
    // pixels rounds the colours of even an opaque picture off by one.
    const QImage source = picture.format() == QImage::Format_ARGB32
                              ? picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                              : picture;
    return QPixmap::fromImage(source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

QPixmap sharedScaledPicture(const QImage &picture, QSize size)
{
    static QHash<ScaledKey, QPixmap> copies;
    const ScaledKey key(picture.cacheKey(), size);
    if (const auto it = copies.constFind(key); it != copies.constEnd())
        return *it;
    QImage ahead;
    {
        const QMutexLocker lock(&scaledAhead().mutex);
        ahead = scaledAhead().images.take(key);
    }
    const QPixmap copy = ahead.isNull() ? scaledPicture(picture, size) : QPixmap::fromImage(ahead);
    copies.insert(key, copy);
    return copy;
}

void scalePictureAhead(const QImage &picture, QSize size)
{
    if (picture.isNull() || size.isEmpty())
        return;
    const ScaledKey key(picture.cacheKey(), size);
    {
        const QMutexLocker lock(&scaledAhead().mutex);
        if (scaledAhead().images.contains(key))
            return;
    }
    // In the form a pixmap keeps it, so that turning it into one on the GUI thread is no more
    // than a copy: opaque pictures without their unused alpha, the others premultiplied. An
    // opaque picture is scaled as such too, which is quicker.
    const bool opaqueSource = picture.format() == QImage::Format_ARGB32 && isOpaque(picture);
    const QImage source = opaqueSource ? QImage(picture.constBits(), picture.width(),
                                                picture.height(), picture.bytesPerLine(),
                                                QImage::Format_RGB32) // the same pixels, not copied
                                       : picture;
    QImage image = source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (image.format() != QImage::Format_RGB32) {
        image.convertTo(QImage::Format_ARGB32_Premultiplied);
        if (isOpaque(image))
            image.reinterpretAsFormat(QImage::Format_RGB32);
    }
    const QMutexLocker lock(&scaledAhead().mutex);
    scaledAhead().images.insert(key, std::move(image));
}

} // namespace quorlin
