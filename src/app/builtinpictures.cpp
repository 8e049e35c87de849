// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/builtinpictures.h"

#include "base/background.h"
#include "base/exception.h"
#include "ui/pictureview.h"

#include <QFile>
#include <QHash>
#include <QImageReader>
#include <QMutex>

#include <future>
#include <memory>

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
                   PictureView::scaleAhead(picture, drawn);
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

// A built-in picture as a pixmap, converted once per run and shared like the picture itself.
QPixmap builtInPixmap(const QString &path)
{
    static QHash<QString, QPixmap> converted;
    if (const auto it = converted.constFind(path); it != converted.constEnd())
        return *it;
    const QPixmap pixmap = QPixmap::fromImage(builtInPicture(path));
    converted.insert(path, pixmap);
    return pixmap;
}

} // namespace quorlin
