// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QUrl>
#include <QWidget>

#include <functional>

class QImageReader;
class QMimeData;

namespace quorlin {

// Display-only picture view: a framed white panel with the picture fitted inside, aspect kept.
// A picture file dropped on it from the desktop replaces its picture for as long as it lives.
class PictureView : public QWidget
{
    Q_OBJECT

public:
    explicit PictureView(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    // A picture of a known size, decoded only when it is first drawn or asked for: windows
    // hold pictures on tab pages nobody may open, and pictures the layout later replaces.
    // A loader that fails leaves the view empty. Such a picture is taken to be shared by many
    // views (a built-in one), so its scaled copies are shared too. prefetch, when given,
    // starts the decoding elsewhere so that load finds it done; it is told the size the
    // picture will be drawn at, so that it can scale it there too (scalePictureAhead).
    using Prefetch = std::function<void(QSize drawn)>;
    void setPicture(QSize size, std::function<QImage()> load, Prefetch prefetch = {});
    // Asks for a deferred picture ahead of its first paint (a window about to be shown).
    void prefetch();
    const QImage &picture() const;
    QSize pictureSize() const { return m_size; }

    // Where the picture is drawn for a view of the given size: the inner area (less 5 on
    // every side), fitted with its aspect ratio kept, centred, edges snapped to whole units.
    static QRect fittedRect(const QSize &viewSize, const QSize &pictureSize);

    // A dropped file's picture, or a null image when the file is not one we take: not a
    // plain local file, too big on disk, not a picture, damaged, or declaring more pixels
    // than we are willing to decode. One larger than `largest` (the view's size in device
    // pixels) is decoded at a reduced size that fits it, its aspect kept.
    static QImage readDroppedPicture(const QUrl &url, QSize largest = {});
    // Whether any of the dragged files could be a picture we take, judged from its first bytes
    // (its header) alone.
    static bool couldBeDroppedPicture(const QMimeData *data);

    static constexpr qint64 MaxDroppedFileBytes = 64 * 1024 * 1024;
    static constexpr int MaxDroppedSide = 65535;
    // Pixels a header may declare: a medium-format camera's photo (about 100 million) passes,
    // a small file declaring billions does not, and is refused before any decoding.
    static constexpr qint64 MaxDroppedPixels = 120'000'000;
    // What a decoder may allocate at once; the picture decoded at a reduced size is far less.
    static constexpr int DroppedAllocationLimitMb = 128;
    static constexpr int MaxDroppedFilesTried = 16;

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Checks a dropped file up to its header and leaves the reader ready to decode it.
    static bool openDroppedPicture(const QUrl &url, QImageReader &reader);

    mutable QImage m_picture;
    mutable std::function<QImage()> m_load; // set while the picture is not decoded yet
    Prefetch m_prefetch;
    bool m_shared = false; // the picture is a built-in one, shown by other views as well
    mutable QSize m_size;
    QPixmap m_scaled; // the picture at the size it is drawn
    bool m_pressed = false;
    bool m_dragWelcome = false; // the drag in progress offers a file that could be a picture
};

} // namespace quorlin
