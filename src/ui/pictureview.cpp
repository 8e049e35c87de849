#include "ui/pictureview.h"

#include "platform/look.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace quorlin {

PictureView::PictureView(QWidget *parent) : QWidget(parent) {}

void PictureView::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_scaled = QPixmap();
    update();
}

QRect PictureView::fittedRect(const QSize &viewSize, const QSize &pictureSize)
{
    const QRectF inner(5, 5, viewSize.width() - 10, viewSize.height() - 10);
    if (pictureSize.isEmpty() || inner.width() <= 0 || inner.height() <= 0)
        return {};
    const double scale = std::min(inner.width() / pictureSize.width(),
                                  inner.height() / pictureSize.height());
    const double w = pictureSize.width() * scale;
    const double h = pictureSize.height() * scale;
    const double x = inner.left() + (inner.width() - w) / 2;
    const double y = inner.top() + (inner.height() - h) / 2;
    const int left = static_cast<int>(std::lround(x));
    const int top = static_cast<int>(std::lround(y));
    return QRect(QPoint(left, top),
                 QPoint(static_cast<int>(std::lround(x + w)) - 1,
                        static_cast<int>(std::lround(y + h)) - 1));
}

void PictureView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(platformLook().pictureFrame);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect target = fittedRect(size(), m_picture.size());
    if (target.isEmpty())
        return;
    if (m_scaled.size() != target.size())
        m_scaled = QPixmap::fromImage(m_picture.scaled(target.size(), Qt::IgnoreAspectRatio,
                                                       Qt::SmoothTransformation));
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
