// SPDX-License-Identifier: GPL-3.0-or-later
// Photographs of journal pages: handwriting in ink on ruled paper lying on a wooden desk, some
// with drawings (angels, a heart, a globe, a sun), and an open notebook full of angels.

#include "paint.h"
#include "scenes.h"

#include <cmath>

namespace quorlin::assetgen {

namespace {

const QColor BlueInk(28, 44, 118);
const QColor BlackInk(36, 34, 40);

// A loose page: tinted paper, pale blue rules and a red margin line.
QImage sheet(QSize size, std::uint64_t seed, double ruleGap, double cell,
             const QColor &tone = {250, 247, 236})
{
    QImage s = canvas(size.width(), size.height(), tone);
    paper(s, s.rect(), tone, seed, cell);
    QPainter p(&s);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(120, 160, 210, 110), std::max(1.0, ruleGap / 30)));
    for (double y = ruleGap * 2.2; y < size.height() - ruleGap * 0.5; y += ruleGap)
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
    p.setPen(QPen(QColor(220, 90, 90, 120), std::max(1.0, ruleGap / 26)));
    p.drawLine(QPointF(ruleGap * 2.4, 0), QPointF(ruleGap * 2.4, size.height()));
    return s;
}

// Draws a transparent drawing layer onto paper as coloured pencil: the paper's tooth shows.
void pencilOnto(QImage &target, QImage &layer, std::uint64_t seed, double toothScale)
{
    tooth(layer, seed, toothScale, 0.28);
    composite(target, layer, QPainter::CompositionMode_Multiply);
}

// Lays a page on the scene with a soft shadow, a slight turn and a curl of light across it.
void placeSheet(QImage &scene, const QImage &page, QPointF centre, double angle, double shadowSize)
{
    QPainter p(&scene);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.translate(centre);
    p.rotate(angle);
    const QRectF r(-page.width() / 2.0, -page.height() / 2.0, page.width(), page.height());
    QPainterPath outline;
    outline.addRect(r);
    shadow(p, outline, QPointF(shadowSize * 0.5, shadowSize * 0.8), int(shadowSize),
           QColor(20, 10, 0, 190));
    p.drawImage(r, page);
    QLinearGradient curl(r.topLeft(), r.bottomRight());
    curl.setColorAt(0, QColor(255, 255, 255, 30));
    curl.setColorAt(0.55, QColor(0, 0, 0, 0));
    curl.setColorAt(1, QColor(60, 40, 10, 50));
    p.fillRect(r, curl);
}

// Warm desk-lamp light from one side, fall-off to the corners and a little film grain.
void deskLight(QImage &img, QPointF lamp, std::uint64_t seed, double cell)
{
    QImage light = canvas(img.width(), img.height());
    {
        QPainter lp(&light);
        QRadialGradient g(lamp, img.width() * 0.9);
        g.setColorAt(0, QColor(255, 236, 200, 50));
        g.setColorAt(1, QColor(255, 236, 200, 0));
        lp.fillRect(light.rect(), g);
    }
    composite(img, light, QPainter::CompositionMode_Screen);
    tint(img, QColor(255, 240, 220), 0.4);
    vignette(img, 0.28);
    if (cell <= 1.0)
        grain(img, seed, 0.015, cell);
}

void pen(QImage &scene, QPointF at, double angle, double length, const QColor &body)
{
    QPainter p(&scene);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(at);
    p.rotate(angle);
    const double w = length / 14;
    QPainterPath barrel;
    barrel.addRoundedRect(QRectF(-length / 2, -w / 2, length * 0.85, w), w / 2, w / 2);
    QPainterPath tip;
    tip.moveTo(length * 0.35, -w / 2);
    tip.lineTo(length / 2, 0);
    tip.lineTo(length * 0.35, w / 2);
    tip.closeSubpath();
    shadow(p, barrel.united(tip), QPointF(w * 0.6, w * 0.9), int(w * 0.6), QColor(0, 0, 0, 170));
    QLinearGradient g(0, -w / 2, 0, w / 2);
    g.setColorAt(0, body.lighter(170));
    g.setColorAt(0.4, body);
    g.setColorAt(1, body.darker(220));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 205));
    p.drawPath(tip);
    p.setBrush(g);
    p.drawPath(barrel);
}

} // namespace

// A handwritten page on a desk, a pen beside it and the edge of a cup of tea.
QImage drawJournalPage(int width, int height)
{
    QImage img = canvas(width, height);
    const double cell = width / 690.0;
    woodPlanks(img, cell, 1101, QColor(150, 100, 60), QColor(92, 56, 30), 150 / cell);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath cup;
        cup.addEllipse(QPointF(120, 150), 120, 120);
        shadow(p, cup, QPointF(16, 22), 16, QColor(0, 0, 0, 170));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(238, 234, 226));
        p.drawPath(cup);
        QRadialGradient tea(QPointF(110, 140), 100);
        tea.setColorAt(0, QColor(170, 100, 40));
        tea.setColorAt(1, QColor(100, 50, 18));
        p.setBrush(tea);
        p.drawEllipse(QPointF(120, 150), 98, 98);
        p.setBrush(QColor(255, 240, 210, 120));
        p.drawEllipse(QPointF(80, 110), 26, 12);
    }
    QImage page = sheet(QSize(690, 920), 1102, 44, cell);
    {
        QPainter p(&page);
        p.setRenderHint(QPainter::Antialiasing);
        Random rng(1103);
        Handwriting hw;
        hw.ink = BlueInk;
        hw.size = 30;
        hw.lineHeight = 44;
        // Date in the top corner, an underlined title, then the entry: an evening of reading
        // back through a month of the journal.
        const QString date = QStringLiteral("๑๒ มีนาคม");
        handwritingLine(p, QPointF(630 - handwritingWidth(date, hw), 88), date, hw, rng);
        Handwriting title = hw;
        title.size = 38;
        const QString heading = QStringLiteral("อ่านทวนบันทึกเดือนที่แล้ว");
        handwritingLine(p, QPointF(150, 136), heading, title, rng);
        p.setPen(QPen(BlueInk, 2));
        p.drawLine(QPointF(150, 150), QPointF(160 + handwritingWidth(heading, title), 148));
        handwriting(p, QRectF(116, 190, 540, 700),
                    {QStringLiteral("เช้านี้ชงชาแล้วนั่งอ่านสมุดเล่มเก่าตั้งแต่หน้าแรก "
                                    "ลายมือช่วงต้นเดือนดูรีบร้อน ประโยคสั้นๆ "
                                    "ที่มีแต่คำว่าเหนื่อย กับคำว่าไม่ทัน"),
                     QStringLiteral("แต่พออ่านไปเรื่อยๆ ก็เห็นว่าตัวเองเริ่มเขียนถึงเรื่องเล็กๆ "
                                    "ที่ทำให้ยิ้มได้มากขึ้น แสงแดดตอนเย็น เสียงหัวเราะของหลาน "
                                    "ข้าวต้มฝีมือแม่"),
                     QStringLiteral("สิ่งที่เพิ่งสังเกตเห็นวันนี้คือ "
                                    "วันที่เขียนยาวที่สุดมักเป็นวันที่หนักใจที่สุด "
                                    "และพอเขียนจบ ใจก็เบาลงทุกครั้ง"),
                     QStringLiteral("เดือนนี้จะลองกลับมาอ่านทวนทุกวันอาทิตย์ "
                                    "ไม่ใช่เพื่อตัดสินตัวเอง แต่เพื่อรู้จักตัวเองให้มากขึ้น"),
                     QStringLiteral("ขอบคุณตัวเองที่ยังเขียนต่อมาจนถึงวันนี้")},
                    hw, rng);
    }
    placeSheet(img, page, QPointF(width * 0.5, height * 0.5), -2.5, 18);
    pen(img, QPointF(width * 0.86, height * 0.6), -70, 430, QColor(30, 50, 130));
    deskLight(img, QPointF(width * 0.2, 0), 1104, cell);
    return img;
}

// A page with a heart, an angel and a globe drawn in coloured pencil between lines of writing.
QImage drawHeartAngelGlobePage(int width, int height)
{
    QImage img = canvas(width, height);
    const double cell = width / 690.0;
    woodPlanks(img, cell, 1301, QColor(176, 128, 84), QColor(118, 76, 44), 120 / cell);
    QImage page = sheet(QSize(640, 690), 1302, 32, cell);
    {
        QPainter p(&page);
        p.setRenderHint(QPainter::Antialiasing);
        Random rng(1303);
        Handwriting hw;
        hw.ink = BlueInk;
        hw.size = 22;
        hw.lineHeight = 32;
        // What the card brought to mind, above the drawings, and what each drawing stands for,
        // below them.
        handwriting(p, QRectF(86, 44, 520, 150),
                    {QStringLiteral("ไพ่นางฟ้าที่จับได้เช้านี้ชวนให้นึกถึงความรักที่มีต่อคนรอบตัว "
                                    "และต่อโลกใบนี้ เลยลองวาดสิ่งที่อยู่ในใจออกมาเป็นภาพ")},
                    hw, rng);
        handwriting(p, QRectF(86, 493, 520, 180),
                    {QStringLiteral("หัวใจคือคนในบ้านที่รอเรากลับไปกินข้าวด้วยกันทุกเย็น "
                                    "นางฟ้าคือเพื่อนที่โทรมาถามไถ่ในวันที่เราไม่อยากคุยกับใคร "
                                    "ส่วนโลกกลมๆ นั้นเตือนว่าความรักไม่จำเป็นต้องอยู่แค่ใกล้ตัว "
                                    "คืนนี้จะส่งข้อความไปขอบคุณเพื่อนคนนั้นสักหน่อย")},
                    hw, rng);
    }
    {
        QImage layer = canvas(page.width(), page.height());
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        Random rng(1304);
        const QPen ink(BlackInk, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        heartDoodle(p, QPointF(160, 350), 170, ink, QColor(232, 60, 70, 220));
        angelDoodle(p, QPointF(330, 345), 270, ink, QColor(120, 170, 240, 200),
                    QColor(250, 240, 200, 230), rng);
        globeDoodle(p, QPointF(510, 350), 76, ink, QColor(90, 150, 230, 210),
                    QColor(90, 180, 90, 230), rng);
        p.end();
        pencilOnto(page, layer, 1305, 2.0 * cell);
    }
    placeSheet(img, page, QPointF(width * 0.5, height * 0.5), 1.8, 14);
    pen(img, QPointF(width * 0.12, height * 0.62), 62, 380, QColor(160, 30, 40));
    deskLight(img, QPointF(width * 0.8, 0), 1306, cell);
    return img;
}

// A large page: writing down the left, a tall angel in coloured pencil on the right.
QImage drawAngelJournalPage(int width, int height)
{
    QImage img = canvas(width, height);
    const double cell = width / 690.0;
    woodPlanks(img, cell, 1401, QColor(120, 80, 50), QColor(70, 42, 24), 190 / cell);
    QImage page = sheet(QSize(1060, 1130), 1402, 54, cell, QColor(251, 246, 232));
    {
        QPainter p(&page);
        p.setRenderHint(QPainter::Antialiasing);
        Random rng(1403);
        Handwriting hw;
        hw.ink = BlueInk;
        hw.size = 36;
        hw.lineHeight = 54;
        // Thoughts on the card drawn, down beside the angel, and the next small step across the
        // foot of the page.
        handwriting(p, QRectF(150, 76, 380, 754),
                    {QStringLiteral("ไพ่ที่จับได้วันนี้พูดถึงความกล้าหาญ อ่านแล้วแอบขำตัวเอง "
                                    "เพราะช่วงนี้รู้สึกว่าตัวเองขี้กลัวที่สุด กลัวเปลี่ยนงาน "
                                    "กลัวคนที่บ้านผิดหวัง กลัวเลือกผิด"),
                     QStringLiteral("พอนั่งนิ่งๆ แล้วถามตัวเองว่า ถ้านางฟ้าองค์นี้นั่งอยู่ข้างๆ "
                                    "เธอจะพูดว่าอะไร คำที่ผุดขึ้นมาคือ ความกล้าไม่ใช่การไม่กลัว "
                                    "แต่คือการก้าวไปทั้งที่ยังกลัวอยู่")},
                    hw, rng);
        handwriting(p, QRectF(150, 832, 860, 263),
                    {QStringLiteral("ก้าวเล็กๆ ของพรุ่งนี้ คือเขียนอีเมลถามรายละเอียดงานใหม่ให้เสร็จ "
                                    "แล้วค่อยคิดต่อ ไม่ต้องรีบ ไม่ต้องสมบูรณ์แบบ "
                                    "แค่ก้าวแรกก็พอแล้ว")},
                    hw, rng);
    }
    {
        QImage layer = canvas(page.width(), page.height());
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        Random rng(1404);
        // A soft wash of colour behind the angel, then the figure itself.
        QRadialGradient glow(QPointF(790, 420), 290);
        glow.setColorAt(0, QColor(255, 220, 120, 150));
        glow.setColorAt(1, QColor(255, 220, 120, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(QPointF(790, 420), 290, 290);
        angelDoodle(p, QPointF(790, 460), 540, QPen(BlackInk, 4, Qt::SolidLine, Qt::RoundCap),
                    QColor(236, 130, 170, 210), QColor(180, 210, 250, 220), rng);
        for (int i = 0; i < 7; ++i) {
            const QPointF c(rng.range(600, 1000), rng.range(120, 760));
            if (std::abs(c.x() - 790) < 150)
                continue;
            QPainterPath star;
            for (int j = 0; j < 10; ++j) {
                const double a = -M_PI / 2 + j * M_PI / 5, rr = j % 2 ? 8 : 20;
                const QPointF pt = c + QPointF(std::cos(a) * rr, std::sin(a) * rr);
                j ? star.lineTo(pt) : star.moveTo(pt);
            }
            star.closeSubpath();
            p.setPen(QPen(QColor(200, 150, 20), 2.5));
            p.setBrush(QColor(250, 210, 60, 200));
            p.drawPath(star);
        }
        p.end();
        pencilOnto(page, layer, 1405, 2.4 * cell);
    }
    placeSheet(img, page, QPointF(width * 0.5, height * 0.5), -1.6, 22);
    pen(img, QPointF(width * 0.06, height * 0.7), 80, 560, QColor(20, 20, 24));
    deskLight(img, QPointF(width * 0.7, 0), 1406, cell);
    return img;
}

// Four pages photographed one by one and set in a 2 x 2 grid; the first has a sun drawn at the
// top. The middle band stays light, since the drawn topic is written over it.
QImage drawFourPages(int width, int height)
{
    QImage img = canvas(width, height, QColor(246, 244, 240));
    const int gap = 6, cw = (width - 3 * gap) / 2, ch = (height - 3 * gap) / 2;
    const QColor tones[] = {{250, 246, 232}, {244, 242, 236}, {252, 244, 226}, {246, 244, 238}};
    // A morning, a letter to a younger self, what calmed the week, and an apology to make.
    const QStringList entries[] = {
        {QStringLiteral("ตื่นมาเห็นแดดส่องเข้ามาทางหน้าต่าง เลยลุกไปเปิดม่านให้กว้างที่สุด "
                        "วันนี้อยากเริ่มต้นช้าๆ ดื่มน้ำหนึ่งแก้ว ยืดตัว "
                        "แล้วเขียนสามเรื่องที่รู้สึกขอบคุณ"),
         QStringLiteral("หนึ่ง ได้นอนเต็มอิ่ม สอง แมวมานอนข้างๆ สาม ยังมีแรงทำสิ่งที่รัก")},
        {QStringLiteral("ถึงตัวเองตอนอายุสิบห้า"),
         QStringLiteral("ไม่ต้องพยายามเป็นเหมือนใครนะ ความเงียบของเธอไม่ใช่ข้อเสีย "
                        "มันทำให้เธอได้ยินคนอื่นชัดกว่าใคร "
                        "วันหนึ่งเธอจะมีเพื่อนที่ชอบนั่งเงียบๆ ด้วยกัน "
                        "แล้วเธอจะรู้ว่าแค่เป็นตัวเองก็พอ"),
         QStringLiteral("วันที่รู้สึกว่าไม่มีใครเข้าใจ วันนั้นจะผ่านไป "
                        "และเธอเข้มแข็งกว่าที่คิด รักเธอเสมอ จากตัวเธอในวันนี้")},
        {QStringLiteral("สิ่งที่ทำให้ใจสงบในสัปดาห์นี้ เสียงฝนตอนตีสี่ "
                        "กลิ่นกาแฟจากร้านหน้าปากซอย การเดินกลับบ้านโดยไม่ดูโทรศัพท์ "
                        "ได้คุยกับลุงยามเรื่องต้นมะม่วงที่แกปลูกไว้ "
                        "ไม่มีเรื่องไหนยิ่งใหญ่ แต่ทุกเรื่องทำให้หายใจได้ลึกขึ้น"),
         QStringLiteral("คืนนี้จะปิดไฟให้เร็วขึ้นอีกนิด แล้วฟังเสียงฝนให้นานกว่าเดิม")},
        {QStringLiteral("เรื่องที่ยังค้างอยู่ในใจคือคำพูดแรงๆ ที่พูดกับน้องเมื่อวาน "
                        "ตอนนั้นเหนื่อยและหงุดหงิด แต่น้องไม่ได้ทำอะไรผิดเลย "
                        "เขียนแล้วถึงเห็นว่าเราไม่ได้โกรธน้อง "
                        "เราโกรธที่ตัวเองทำงานไม่ทัน พรุ่งนี้จะขอโทษน้องก่อนออกจากบ้าน"),
         QStringLiteral("แล้วจะชวนไปกินข้าวเหนียวมะม่วงร้านที่น้องชอบ "
                        "ไม่ใช่เพื่อลบความผิด แต่เพราะคิดถึงเวลาดีๆ ที่มีด้วยกัน")},
    };
    for (int i = 0; i < 4; ++i) {
        const int col = i % 2, row = i / 2;
        QImage page = sheet(QSize(cw, ch), 1601 + i, 22, 1.5, tones[i]);
        if (i == 0) {
            QImage layer = canvas(cw, ch);
            QPainter lp(&layer);
            lp.setRenderHint(QPainter::Antialiasing);
            Random srng(1620);
            sunDoodle(lp, QPointF(cw * 0.5, 50), 26, QPen(QColor(220, 110, 20), 3.5),
                      QColor(255, 196, 40, 230), srng);
            lp.end();
            pencilOnto(page, layer, 1621, 1.5);
        }
        {
            QPainter p(&page);
            p.setRenderHint(QPainter::Antialiasing);
            Random rng(1611 + i);
            Handwriting hw;
            hw.ink = i % 2 ? QColor(50, 50, 60, 190) : QColor(40, 60, 130, 190);
            hw.size = 15;
            hw.lineHeight = 22;
            handwriting(p, QRectF(60, i == 0 ? 96 : 30, cw - 80, ch - (i == 0 ? 106 : 40)),
                        entries[i], hw, rng);
        }
        // Each photograph has its own light.
        {
            QImage light = canvas(cw, ch);
            QPainter lp(&light);
            QRadialGradient g(QPointF(col ? cw * 0.2 : cw * 0.8, row ? ch * 0.1 : ch * 0.9), cw);
            g.setColorAt(0, QColor(255, 255, 255, 0));
            g.setColorAt(1, QColor(90, 70, 40, 60));
            lp.fillRect(light.rect(), g);
            lp.end();
            composite(page, light);
        }
        QPainter p(&img);
        p.drawImage(gap + col * (cw + gap), gap + row * (ch + gap), page);
    }
    // Soft light across the middle band, where the topic text sits.
    {
        QImage band = canvas(width, height);
        QPainter bp(&band);
        QLinearGradient g(0, 0, 0, height);
        g.setColorAt(0.12, QColor(255, 253, 248, 0));
        g.setColorAt(0.22, QColor(255, 253, 248, 150));
        g.setColorAt(0.42, QColor(255, 253, 248, 150));
        g.setColorAt(0.52, QColor(255, 253, 248, 0));
        bp.fillRect(band.rect(), g);
        bp.end();
        composite(img, band);
    }
    return img;
}

// An open notebook seen from above, both pages drawn full of angels, writing underneath.
QImage drawAngelNotebook(int width, int height)
{
    const double W = 720, k = width / W;
    QImage img = canvas(width, height);
    woodPlanks(img, k, 401, QColor(164, 116, 76), QColor(104, 66, 38), 96);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(k, k);
    const QRectF book(70, 26, 580, 430);
    {
        QPainterPath cover;
        cover.addRoundedRect(book.adjusted(-10, -8, 10, 8), 8, 8);
        shadow(p, cover, QPointF(8, 12), 12, QColor(0, 0, 0, 190));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(120, 44, 40));
        p.drawPath(cover);
    }
    p.end();
    for (int side = 0; side < 2; ++side) {
        const QRectF r(book.left() + side * book.width() / 2, book.top(), book.width() / 2,
                       book.height());
        QImage page = sheet(QSize(int(r.width() * k), int(r.height() * k)), 402 + side, 18 * k, 1.0,
                            QColor(250, 246, 234));
        {
            QImage layer = canvas(page.width(), page.height());
            QPainter lp(&layer);
            lp.setRenderHint(QPainter::Antialiasing);
            lp.scale(k, k);
            Random rng(410 + side);
            const QPen ink(BlackInk, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            if (side == 0) {
                angelDoodle(lp, QPointF(160, 130), 170, ink, QColor(240, 150, 180, 220),
                            QColor(200, 220, 250, 230), rng);
                angelDoodle(lp, QPointF(66, 230), 90, ink, QColor(250, 200, 90, 220),
                            QColor(230, 230, 250, 230), rng);
            } else {
                angelDoodle(lp, QPointF(130, 128), 175, ink, QColor(140, 190, 240, 220),
                            QColor(250, 236, 190, 230), rng);
                angelDoodle(lp, QPointF(232, 232), 90, ink, QColor(160, 210, 140, 220),
                            QColor(240, 226, 250, 230), rng);
            }
            lp.end();
            pencilOnto(page, layer, 420 + side, 1.6 * k);
            QPainter pp(&page);
            pp.setRenderHint(QPainter::Antialiasing);
            pp.scale(k, k);
            Handwriting hw;
            hw.ink = BlueInk;
            hw.size = 12.5;
            hw.lineHeight = 18;
            Random rng2(430 + side);
            // A few words under the drawings about the angels drawn.
            handwriting(pp, QRectF(side ? 26 : 50, side ? 277 : 295, 220, 130),
                        {side ? QStringLiteral("องค์ชุดฟ้าปีกสีทองนี้ "
                                               "วาดตอนที่ใจสงบที่สุดในรอบเดือน "
                                               "ส่วนองค์เล็กสีเขียวคอยเตือนให้พักบ้าง "
                                               "เหนื่อยเมื่อไรให้หายใจลึกๆ แล้วค่อยเดินต่อ")
                              : QStringLiteral("นางฟ้าของวันนี้ใส่ชุดสีชมพู ยิ้มกว้าง "
                                               "มีเพื่อนตัวเล็กสีเหลืองบินตามมาด้วย "
                                               "วาดไปก็ยิ้มไป ไม่ต้องสวยก็ได้ "
                                               "แค่ได้ระบายสีให้ใจได้พักก็พอ")},
                        hw, rng2);
        }
        // Pages curve down into the spine: darker towards it.
        {
            QPainter pp(&page);
            QLinearGradient g(0, 0, page.width(), 0);
            const QColor dark(60, 40, 20, 110), clear(0, 0, 0, 0);
            g.setColorAt(side ? 0 : 1, dark);
            g.setColorAt(side ? 0.12 : 0.88, clear);
            g.setColorAt(side ? 0.95 : 0.05, clear);
            g.setColorAt(side ? 1 : 0, QColor(60, 40, 20, 40));
            pp.fillRect(page.rect(), g);
        }
        QPainter ip(&img);
        ip.drawImage(QPointF(r.left() * k, r.top() * k), page);
    }
    deskLight(img, QPointF(width * 0.3, 0), 440, 1.0);
    return img;
}

} // namespace quorlin::assetgen
