// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/pictureview.h"

#include "platform/look.h"
#include "ui/pictures.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QImageReader>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace quorlin {

namespace {

// A file a drop may offer us: a plain file on this machine. Network shares are left out, since
// reading them can stall the window.
bool isLocalFileUrl(const QUrl &url)
{
    return url.isLocalFile() && url.host().isEmpty();
}

} // namespace

PictureView::PictureView(QWidget *parent) : QWidget(parent)
{
    setAcceptDrops(true);
}

void PictureView::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_load = nullptr;
    m_prefetch = nullptr;
    m_shared = false;
    m_size = picture.size();
    m_scaled = QPixmap();
    update();
}

void PictureView::setPicture(QSize size, std::function<QImage()> load, Prefetch prefetch)
{
    m_picture = QImage();
    m_load = std::move(load);
    m_prefetch = std::move(prefetch);
    m_shared = true;
    m_size = size;
    m_scaled = QPixmap();
    update();
}

void PictureView::prefetch()
{
    if (m_load && m_prefetch)
        std::exchange(m_prefetch, nullptr)(fittedRect(size(), m_size).size());
}

const QImage &PictureView::picture() const
{
    if (m_load) {
        // Taken out first, so that a loader that fails is not tried again on every paint.
        const std::function<QImage()> load = std::move(m_load);
        m_load = nullptr;
        m_picture = load();
        if (m_picture.size() != m_size) {
            m_picture = QImage();
            m_size = QSize();
        }
    }
    return m_picture;
}

QRect PictureView::fittedRect(const QSize &viewSize, const QSize &pictureSize)
{
    const QRectF inner(5, 5, viewSize.width() - 10, viewSize.height() - 10);
    if (pictureSize.isEmpty() || inner.width() <= 0 || inner.height() <= 0)
        return {};
    const double scale =
        std::min(inner.width() / pictureSize.width(), inner.height() / pictureSize.height());
    const double w = pictureSize.width() * scale;
    const double h = pictureSize.height() * scale;
    const double x = inner.left() + (inner.width() - w) / 2;
    const double y = inner.top() + (inner.height() - h) / 2;
    const int left = static_cast<int>(std::lround(x));
    const int top = static_cast<int>(std::lround(y));
    return QRect(QPoint(left, top), QPoint(static_cast<int>(std::lround(x + w)) - 1,
                                           static_cast<int>(std::lround(y + h)) - 1));
}

bool PictureView::openDroppedPicture(const QUrl &url, QImageReader &reader)
{
    if (!isLocalFileUrl(url))
        return false;
    // Regular files only: a directory is no picture, and a pipe or a device would block.
    const QFileInfo info(url.toLocalFile());
    if (!info.isFile() || info.size() <= 0 || info.size() > MaxDroppedFileBytes)
        return false;
    reader.setFileName(info.filePath());
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(DroppedAllocationLimitMb);
    reader.setAutoTransform(true);
    if (!reader.canRead())
        return false;
    // Refuse what the header declares too big to decode in good time, before any pixel is
    // decoded: a small file can declare billions of pixels.
    const QSize declared = reader.size();
    return !declared.isValid() ||
           (!declared.isEmpty() && declared.width() <= MaxDroppedSide &&
            declared.height() <= MaxDroppedSide &&
            qint64(declared.width()) * declared.height() <= MaxDroppedPixels);
}

QImage PictureView::readDroppedPicture(const QUrl &url, QSize largest)
{
    QImageReader reader;
    if (!openDroppedPicture(url, reader))
        return {};
    // A picture larger than the view can show is decoded at the size it can: JPEG and PNG
    // decode straight to it, a row or a block at a time, so a camera's photo needs no memory
    // for its full size.
    const QSize declared = reader.size();
    if (declared.isValid() && !largest.isEmpty()) {
        QSize bound = largest;
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            bound.transpose(); // decoded as stored, then turned upright
        if (declared.width() > bound.width() || declared.height() > bound.height())
            reader.setScaledSize(
                declared.scaled(bound, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    QImage image = reader.read();
    if (image.isNull() || image.width() > MaxDroppedSide || image.height() > MaxDroppedSide)
        return {};
    // Formats that cannot tell their size before decoding are brought down afterwards.
    if (!largest.isEmpty() &&
        (image.width() > largest.width() || image.height() > largest.height()))
        image = image.scaled(largest, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return image;
}

bool PictureView::couldBeDroppedPicture(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    for (qsizetype i = 0; i < std::min<qsizetype>(urls.size(), MaxDroppedFilesTried); ++i) {
        QImageReader reader;
        if (openDroppedPicture(urls.at(i), reader))
            return true;
    }
    return false;
}

void PictureView::dragEnterEvent(QDragEnterEvent *event)
{
    // Decided once per drag, from the files' first bytes, so that the pointer says at once
    // whether a drop would be taken; the moves that follow only repeat the answer.
    m_dragWelcome = couldBeDroppedPicture(event->mimeData());
    if (m_dragWelcome)
        event->acceptProposedAction();
    else
        event->ignore();
}

void PictureView::dragMoveEvent(QDragMoveEvent *event)
{
    if (m_dragWelcome)
        event->acceptProposedAction();
    else
        event->ignore();
}

void PictureView::dropEvent(QDropEvent *event)
{
    // The first file that reads as a picture wins; anything else is passed over in silence.
    const QList<QUrl> urls = event->mimeData() ? event->mimeData()->urls() : QList<QUrl>();
    const QSize largest = (QSizeF(size()) * devicePixelRatioF()).toSize();
    for (qsizetype i = 0; i < std::min<qsizetype>(urls.size(), MaxDroppedFilesTried); ++i) {
        QImage picture = readDroppedPicture(urls.at(i), largest);
        if (!picture.isNull()) {
            setPicture(picture);
            event->acceptProposedAction();
            return;
        }
    }
    event->ignore();
}

void PictureView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(platformLook().pictureFrame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect target = fittedRect(size(), m_size);
    if (target.isEmpty() || picture().isNull())
        return;
    if (m_scaled.size() != target.size())
        m_scaled = m_shared ? sharedScaledPicture(m_picture, target.size())
                            : scaledPicture(m_picture, target.size());
    painter.drawPixmap(target.topLeft(), m_scaled);
}

void PictureView::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void PictureView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        emit clicked();
}

} // namespace quorlin
