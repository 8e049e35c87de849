// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures.h"

#include "scenes.h"

#include <QPainter>
#include <QPainterPath>

namespace quorlin::assetgen {

const std::vector<Picture> &pictures()
{
    static const std::vector<Picture> all{
        {"home_bowl.png", 827, 548, drawSingingBowl},
        {"topic_flower.png", 827, 548, drawCrayonFlower},
        {"cards_board.png", 720, 540, drawCardBoard},
        {"about_notebook.png", 720, 480, drawAngelNotebook},
        {"about_circle.png", 720, 477, drawSharingCircle},
        {"about_adults.png", 926, 617, drawAdultsGroup},
        {"about_youth.png", 640, 480, drawYouthOutdoors},
        {"review_journal.png", 1296, 968, drawJournalPage},
        {"mascot_scroll.png", 720, 960, drawScrollMascot},
        {"card_about_journal.png", 960, 717, drawHeartAngelGlobePage},
        {"card_angel_page.png", 1600, 1200, drawAngelJournalPage},
        {"topic_result_pages.png", 600, 600, drawFourPages},
        {"angel_result_lotus.png", 960, 1280, drawLotusAngel},
        {"obstacle_result_loops.png", 475, 402, drawTangledLoops},
        {"base_home_bowl.png", 720, 477, drawSingingBowl},
        {"base_topic_flower.png", 720, 477, drawCrayonFlower},
    };
    return all;
}

QImage drawIcon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    // A deep teal round ground, so that the bronze bowl stands out on light and dark desktops.
    QRadialGradient ground(QPointF(100, 84), 190);
    ground.setColorAt(0, QColor(72, 150, 150));
    ground.setColorAt(0.7, QColor(34, 96, 104));
    ground.setColorAt(1, QColor(18, 58, 66));
    p.setPen(QPen(QColor(12, 40, 46), 5));
    p.setBrush(ground);
    p.drawEllipse(QPointF(128, 128), 122, 122);

    // The wooden striker leaning on the rim.
    p.setPen(QPen(QColor(70, 40, 20), size >= 32 ? 4 : 8));
    p.setBrush(QColor(206, 150, 90));
    p.save();
    p.translate(184, 96);
    p.rotate(-50);
    p.drawRoundedRect(QRectF(-70, -11, 140, 22), 11, 11);
    p.restore();

    // The cushion, the bowl's body and its open mouth with a golden lip.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 34, 40));
    p.drawEllipse(QPointF(128, 198), 62, 18);
    QPainterPath body;
    body.moveTo(40, 128);
    body.cubicTo(40, 178, 84, 200, 128, 200);
    body.cubicTo(172, 200, 216, 178, 216, 128);
    body.closeSubpath();
    QLinearGradient metal(40, 0, 216, 0);
    metal.setColorAt(0, QColor(60, 40, 22));
    metal.setColorAt(0.25, QColor(176, 126, 66));
    metal.setColorAt(0.45, QColor(96, 64, 34));
    metal.setColorAt(1, QColor(36, 24, 14));
    p.setBrush(metal);
    p.drawPath(body);
    QRadialGradient inside(QPointF(150, 122), 90);
    inside.setColorAt(0, QColor(200, 150, 80));
    inside.setColorAt(1, QColor(50, 34, 18));
    p.setBrush(inside);
    p.setPen(QPen(QColor(240, 200, 120), size >= 32 ? 6 : 10));
    p.drawEllipse(QPointF(128, 128), 88, 22);
    p.end();
    return img;
}

} // namespace quorlin::assetgen
