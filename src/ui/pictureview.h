#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

namespace quorlin {

// Display-only picture view: a framed white panel with the picture fitted inside, aspect kept.
class PictureView : public QWidget
{
    Q_OBJECT

public:
    explicit PictureView(QWidget *parent = nullptr);

    void setPicture(const QImage &picture);
    const QImage &picture() const { return m_picture; }

    // Where the picture is drawn for a view of the given size: the inner area (less 5 on
    // every side), fitted with its aspect ratio kept, centred, edges snapped to whole units.
    static QRect fittedRect(const QSize &viewSize, const QSize &pictureSize);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_picture;
    QPixmap m_scaled; // the picture at the size it is drawn
    bool m_pressed = false;
};

} // namespace quorlin
