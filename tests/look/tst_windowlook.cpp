// SPDX-License-Identifier: GPL-3.0-or-later
// The windows as drawn: fills, fitted pictures and frames, the looks' colours, tab panels and
// the text attributes of every text control, probed on windows rendered offscreen.
#include "forms/TabbedTemplate.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "platform/look.h"
#include "probes.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"

#include <QPushButton>
#include <QTest>

#include <cmath>

using namespace quorlin;
using namespace quorlin::test;

namespace {

const QColor kFrame(0xFF828790u);
const QColor kCornsilk(0xFFFFF8DCu);

const PlatformLook &lookNamed(const QString &title)
{
    return title == windows7Look().title ? windows7Look() : windows8Look();
}

// The colour of a vertical gradient running from the bottom edge (offset 0) to the top edge
// (offset 1), at the centre of pixel row y of a window h high; past the last stop it holds.
QColor gradientAt(const QGradientStops &stops, int y, int h)
{
    const double t = (h - (y + 0.5)) / h;
    if (t <= stops.first().first)
        return stops.first().second;
    for (qsizetype i = 1; i < stops.size(); ++i) {
        const auto &[p1, c1] = stops.at(i);
        if (t <= p1) {
            const auto &[p0, c0] = stops.at(i - 1);
            const double f = (t - p0) / (p1 - p0);
            const auto mix = [f](int a, int b) { return int(std::lround(a + (b - a) * f)); };
            return QColor(mix(c0.red(), c1.red()), mix(c0.green(), c1.green()),
                          mix(c0.blue(), c1.blue()));
        }
    }
    return stops.last().second;
}

QImage solid(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// Pixels dark enough to be caption ink, within a rectangle, as a set of offsets from its corner.
QList<QPoint> ink(const QImage &image, const QRect &within)
{
    QList<QPoint> points;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() < 100 && c.green() < 100 && c.blue() < 100)
                points.append(QPoint(x, y) - within.topLeft());
        }
    return points;
}

QRect boundsOf(const QList<QPoint> &points)
{
    QRect r;
    for (const QPoint &p : points)
        r |= QRect(p, QSize(1, 1));
    return r;
}

const QString kLookProbe = QStringLiteral(R"(window TLookProbe {
    ClientSize = 300, 300
    ToolBar Bar {
        Align = Top
        Height = 48
    }
    TabControl Tabs {
        Position = 10, 60
        Size = 200, 200
        TabHeight = 49
        TabItem A {
            Text = "หนึ่ง"
        }
        TabItem B {
            Text = "สอง"
        }
    }
    Memo Box {
        Position = 220, 60
        Size = 70, 100
    }
    PictureView Frame {
        Position = 220, 180
        Size = 70, 100
    }
})");

const QString kTabProbe = QStringLiteral(R"(window TTabProbe {
    ClientSize = 300, 400
    TabControl Upper {
        Position = 0, 0
        Size = 300, 150
        TabHeight = 49
        TabPosition = Top
        TabItem U1 {
            Text = "หน้าแรก"
        }
        TabItem U2 {
            Text = "หัวข้อบันทึก"
        }
        TabItem U3 {
            Text = "ไพ่ชีวิต"
        }
    }
    TabControl Lower {
        Position = 0, 200
        Size = 300, 150
        TabHeight = 49
        TabPosition = Bottom
        TabItem L1 {
            Text = "หน้าแรก"
        }
        TabItem L2 {
            Text = "หัวข้อบันทึก"
        }
        TabItem L3 {
            Text = "ไพ่ชีวิต"
        }
    }
})");

} // namespace

class WindowLookTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    template <typename T> T *open(T *&name)
    {
        f->app->createForm(name);
        f->app->show(name);
        if (!name)
            qFatal("window not created");
        return name;
    }

    Form *openNamed(const QString &window)
    {
        if (window == QLatin1String("TTabbedForm"))
            return open(TabbedForm);
        if (window == QLatin1String("TForm1"))
            return open(Form1);
        if (window == QLatin1String("TForm2"))
            return open(Form2);
        if (window == QLatin1String("TForm3"))
            return open(Form3);
        if (window == QLatin1String("TForm4"))
            return open(Form4);
        if (window == QLatin1String("TForm5"))
            return open(Form5);
        if (window == QLatin1String("TForm6"))
            return open(Form6);
        if (window == QLatin1String("TForm7"))
            return open(Form7);
        if (window == QLatin1String("TForm8"))
            return open(Form8);
        qFatal("unknown window %s", qPrintable(window));
    }

    ProbeForm *openProbe(const QString &className, const QString &source)
    {
        auto *form = new ProbeForm(className, source);
        m_probes.emplace_back(form);
        form->load();
        form->show();
        return form;
    }

    std::vector<std::unique_ptr<ProbeForm>> m_probes;

private slots:
    void initTestCase() { applyPlatformLook(); }

    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->app->startUp(); // running: windows are built as soon as they are asked for
    }

    void cleanup()
    {
        m_probes.clear();
        f.reset();
    }

    void gradientFillsRunFromTheBottomEdgeAndHoldTheLastColour_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QGradientStops>("stops");
        const QGradientStops topic{{0.0, QColor(0xFF336B77u)}, {0.5093167, Qt::white}};
        const QGradientStops obstacle{{0.0, Qt::black}, {1.0, Qt::white}};
        const QGradientStops angel{{0.0, Qt::black}, {0.5186335444450378, Qt::white}};
        QTest::newRow("topic ritual") << "TForm3" << topic;
        QTest::newRow("obstacle ritual") << "TForm4" << obstacle;
        QTest::newRow("angel ritual") << "TForm5" << angel;
    }

    void gradientFillsRunFromTheBottomEdgeAndHoldTheLastColour()
    {
        QFETCH(QString, window);
        QFETCH(QGradientStops, stops);
        Form *form = openNamed(window);
        const QImage image = rendered(form);
        QCOMPARE(image.size(), QSize(388, 555));
        // Along the left edge, clear of the label's text and the buttons.
        for (int y : {554, 500, 420, 330, 280, 272, 265, 240, 150, 40, 0}) {
            QUORLIN_PROBE(image, 2, y, gradientAt(stops, y, 555), 2);
            QUORLIN_PROBE(image, 385, y, gradientAt(stops, y, 555), 2);
        }
    }

    void stretchedFillsCoverTheWindowCornerToCorner_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("picture");
        QTest::newRow("topic result") << "TForm6"
                                      << "topic_result_pages.png";
        QTest::newRow("angel result") << "TForm7"
                                      << "angel_result_lotus.png";
        QTest::newRow("obstacle result") << "TForm8"
                                         << "obstacle_result_loops.png";
    }

    void stretchedFillsCoverTheWindowCornerToCorner()
    {
        QFETCH(QString, window);
        QFETCH(QString, picture);
        const QImage source(QStringLiteral(":/pictures/") + picture);
        QVERIFY(!source.isNull());
        const QImage image = rendered(openNamed(window));
        // Each window pixel at a corner holds the matching corner block of the picture,
        // scaled separately across and down.
        const int bw = int(std::ceil(source.width() / 388.0));
        const int bh = int(std::ceil(source.height() / 555.0));
        const QPoint corners[] = {{0, 0}, {387, 0}, {0, 554}, {387, 554}};
        for (const QPoint &c : corners) {
            const QRect block(c.x() ? source.width() - bw : 0, c.y() ? source.height() - bh : 0, bw,
                              bh);
            QUORLIN_PROBE(image, c.x(), c.y(), blockMean(source, block), 16);
        }
    }

    void aStretchedFillDoesNotKeepTheAspectRatio()
    {
        // Four colours in the quarters of a 2:1 picture: in a 388 × 555 window the quarters
        // must meet at its centre.
        QImage quarters(600, 300, QImage::Format_ARGB32);
        const QColor tl(Qt::red), tr(Qt::green), bl(Qt::blue), br(Qt::yellow);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 600; ++x)
                quarters.setPixelColor(x, y, y < 150 ? (x < 300 ? tl : tr) : (x < 300 ? bl : br));
        ProbeForm *form =
            openProbe(QStringLiteral("TFillProbe"), QStringLiteral(R"(window TFillProbe {
                ClientSize = 388, 555
            })"));
        Form::Fill fill;
        fill.kind = Form::Fill::Kind::Picture;
        fill.picture = quarters;
        form->setFill(fill);
        const QImage image = rendered(form);
        QUORLIN_PROBE(image, 0, 0, tl, 0);
        QUORLIN_PROBE(image, 387, 0, tr, 0);
        QUORLIN_PROBE(image, 0, 554, bl, 0);
        QUORLIN_PROBE(image, 387, 554, br, 0);
        QUORLIN_PROBE(image, 190, 273, tl, 0);
        QUORLIN_PROBE(image, 198, 273, tr, 0);
        QUORLIN_PROBE(image, 190, 282, bl, 0);
        QUORLIN_PROBE(image, 198, 282, br, 0);
    }

    void everyPictureViewShowsItsOwnPicture_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("pixels");
        QTest::addColumn<QSize>("view");
        const QSize big(700, 600);
        // The main window's home and topic pictures are those its "Windows" view puts in.
        QTest::newRow("main, home") << "TTabbedForm" << "ImageControl6" << "home_bowl.png"
                                    << QSize(827, 548) << big;
        QTest::newRow("main, topic") << "TTabbedForm" << "ImageControl7" << "topic_flower.png"
                                     << QSize(827, 548) << big;
        QTest::newRow("main, cards") << "TTabbedForm" << "ImageControl1" << "cards_board.png"
                                     << QSize(720, 540) << big;
        QTest::newRow("main, about program") << "TTabbedForm" << "ImageControl3"
                                             << "about_notebook.png" << QSize(720, 480) << big;
        QTest::newRow("main, about writing") << "TTabbedForm" << "ImageControl4"
                                             << "about_circle.png" << QSize(720, 477) << big;
        QTest::newRow("main, about project") << "TTabbedForm" << "ImageControl2"
                                             << "about_adults.png" << QSize(926, 617) << big;
        QTest::newRow("main, about support") << "TTabbedForm" << "ImageControl5"
                                             << "about_youth.png" << QSize(640, 480) << big;
        QTest::newRow("topic guidance, about") << "TForm1" << "ImageControl6" << "home_bowl.png"
                                               << QSize(827, 548) << big;
        QTest::newRow("topic guidance, keys") << "TForm1" << "ImageControl7" << "topic_flower.png"
                                              << QSize(827, 548) << big;
        QTest::newRow("topic guidance, non-stop") << "TForm1" << "ImageControl1"
                                                  << "cards_board.png" << QSize(720, 540) << big;
        QTest::newRow("topic guidance, review") << "TForm1" << "ImageControl2"
                                                << "review_journal.png" << QSize(1296, 968) << big;
        QTest::newRow("topic guidance, banner") << "TForm1" << "ImageControl3"
                                                << "mascot_scroll.png" << QSize(720, 960)
                                                << QSize(392, 153);
        QTest::newRow("card guidance, about") << "TForm2" << "ImageControl6"
                                              << "card_about_journal.png" << QSize(960, 717) << big;
        QTest::newRow("card guidance, writing") << "TForm2" << "ImageControl7"
                                                << "card_angel_page.png" << QSize(1600, 1200)
                                                << big;
        QTest::newRow("card guidance, banner") << "TForm2" << "ImageControl3"
                                               << "mascot_scroll.png" << QSize(720, 960)
                                               << QSize(388, 153);
    }

    void everyPictureViewShowsItsOwnPicture()
    {
        // Pixel for pixel, so that two pictures of one size swapped in a window's data fail.
        QFETCH(QString, window);
        QFETCH(QString, member);
        QFETCH(QString, picture);
        QFETCH(QSize, pixels);
        QFETCH(QSize, view);
        Form *form = openNamed(window);
        auto *shown = quorlin::test::control<PictureView>(form, member);
        QVERIFY2(shown, qPrintable(member));
        QCOMPARE(shown->size(), view);
        QCOMPARE(shown->pictureSize(), pixels);
        const QImage expected = QImage(QStringLiteral(":/pictures/") + picture)
                                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(expected.size(), pixels);
        QVERIFY2(shown->picture().convertToFormat(QImage::Format_ARGB32_Premultiplied) == expected,
                 qPrintable(QStringLiteral("%1.%2 does not show %3").arg(window, member, picture)));
    }

    void pictureFrameAndFittedPictureEdges_data()
    {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("drawn");
        // The home picture: 690 × 457.2 at (5, 71.4), edges snapped: (5, 71) to (695, 529).
        QTest::newRow("home picture")
            << QSize(700, 600) << QSize(827, 548) << QRect(QPoint(5, 71), QPoint(694, 528));
        // The mascot banner: 107.25 × 143 centred in 382 × 143, edges snapped to 142 and 250.
        QTest::newRow("mascot banner")
            << QSize(392, 153) << QSize(720, 960) << QRect(QPoint(142, 5), QPoint(249, 147));
        QTest::newRow("mascot banner, card guidance")
            << QSize(388, 153) << QSize(720, 960) << QRect(QPoint(140, 5), QPoint(247, 147));
    }

    void pictureFrameAndFittedPictureEdges()
    {
        QFETCH(QSize, view);
        QFETCH(QSize, picture);
        QFETCH(QRect, drawn);
        ProbeForm *form =
            openProbe(QStringLiteral("TPictureProbe"), QStringLiteral(R"(window TPictureProbe {
                ClientSize = %1, %2
                PictureView Shown {
                    Align = Contents
                }
            })")
                                                           .arg(view.width())
                                                           .arg(view.height()));
        quorlin::test::control<PictureView>(form, QStringLiteral("Shown"))->setPicture(solid(picture, Qt::red));
        const QImage image = rendered(form);
        const int midX = drawn.center().x();
        const int midY = drawn.center().y();
        // The frame: a 1-unit border, then white.
        QUORLIN_PROBE(image, 0, midY, kFrame, 0);
        QUORLIN_PROBE(image, view.width() - 1, midY, kFrame, 0);
        QUORLIN_PROBE(image, midX, 0, kFrame, 0);
        QUORLIN_PROBE(image, midX, view.height() - 1, kFrame, 0);
        QUORLIN_PROBE(image, 1, 1, Qt::white, 0);
        // The picture's edges: inside red, one unit outside white.
        QUORLIN_PROBE(image, drawn.left(), midY, Qt::red, 0);
        QUORLIN_PROBE(image, drawn.left() - 1, midY, Qt::white, 0);
        QUORLIN_PROBE(image, drawn.right(), midY, Qt::red, 0);
        QUORLIN_PROBE(image, drawn.right() + 1, midY, Qt::white, 0);
        QUORLIN_PROBE(image, midX, drawn.top(), Qt::red, 0);
        QUORLIN_PROBE(image, midX, drawn.top() - 1, Qt::white, 0);
        QUORLIN_PROBE(image, midX, drawn.bottom(), Qt::red, 0);
        QUORLIN_PROBE(image, midX, drawn.bottom() + 1, Qt::white, 0);
    }

    void theHomePictureCoversTheWholeHomePage()
    {
        open(TabbedForm);
        auto *page = quorlin::test::control<TabItem>(TabbedForm, QStringLiteral("TabItem1"));
        const QImage source(QStringLiteral(":/pictures/home_bowl.png"));
        const QImage image = page->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image.size(), QSize(388, 458));
        // Page pixel (x, y) shows picture pixel ((x + 151) · 827/690, y · 548/458): the view
        // overhangs the page by 156 and 71, the picture sits 5 and 71 inside the view.
        const double scale = 827.0 / 690.0;
        for (const QPoint p :
             {QPoint(0, 0), QPoint(387, 0), QPoint(0, 457), QPoint(387, 457), QPoint(60, 100)}) {
            const QPointF s((p.x() + 151 + 0.5) * scale, (p.y() + 0.5) * scale);
            const QRect block(int(s.x()) - 1, int(s.y()) - 1, 2, 2);
            QUORLIN_PROBE(image, p.x(), p.y(), blockMean(source, block), 24);
        }
    }

    void eachLookColoursItsControls_data()
    {
        QTest::addColumn<QString>("look");
        QTest::newRow("Windows 7") << windows7Look().title;
        QTest::newRow("Windows 8 Desktop") << windows8Look().title;
    }

    void eachLookColoursItsControls()
    {
        QFETCH(QString, look);
        const PlatformLook &chosen = lookNamed(look);
        ScopedPlatformLook scoped(chosen);
        const QImage image = rendered(openProbe(QStringLiteral("TLookProbe"), kLookProbe));
        QUORLIN_PROBE(image, 150, 20, chosen.toolBar, 0);
        QUORLIN_PROBE(image, 5, 290, chosen.windowBackground, 0);
        // The page below the strip: its sides and bottom in the look's border colour.
        QUORLIN_PROBE(image, 10, 180, chosen.tabPageBorder, 0);
        QUORLIN_PROBE(image, 209, 180, chosen.tabPageBorder, 0);
        QUORLIN_PROBE(image, 100, 259, chosen.tabPageBorder, 0);
        QUORLIN_PROBE(image, 100, 200, Qt::white, 0);
        // The page's top border runs along the strip's page row under the unselected tab.
        QUORLIN_PROBE(image, 150, 60 + 47, chosen.tabPageBorder, 0);
        // Text box: thin grey border, white field.
        QUORLIN_PROBE(image, 220, 110, chosen.textBoxBorder, 0);
        QUORLIN_PROBE(image, 289, 110, chosen.textBoxBorder, 0);
        QUORLIN_PROBE(image, 250, 110, Qt::white, 0);
        // Picture frame, the same in both looks.
        QUORLIN_PROBE(image, 220, 230, kFrame, 0);
        QUORLIN_PROBE(image, 221, 230, Qt::white, 0);
    }

    void windowBackgroundShowsOnlyWithoutAFillOfItsOwn_data()
    {
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("lookBackground");
        for (const PlatformLook *l : {&windows7Look(), &windows8Look()}) {
            const QByteArray t = l->title.toUtf8();
            QTest::newRow(t + ", main window") << l->title << "TTabbedForm" << false;
            QTest::newRow(t + ", topic guidance") << l->title << "TForm1" << true;
            QTest::newRow(t + ", card guidance") << l->title << "TForm2" << true;
        }
    }

    void windowBackgroundShowsOnlyWithoutAFillOfItsOwn()
    {
        QFETCH(QString, look);
        QFETCH(QString, window);
        QFETCH(bool, lookBackground);
        const PlatformLook &chosen = lookNamed(look);
        ScopedPlatformLook scoped(chosen);
        Form *form = openNamed(window);
        const QImage image = rendered(form);
        QUORLIN_PROBE(image, 5, 5, chosen.toolBar, 0);
        // Above an unselected header the strip shows the window itself.
        TabStrip *strip = form->findChild<TabStrip *>();
        QVERIFY(strip);
        const int unselected = strip->currentIndex() == 0 ? 1 : 0;
        const QPoint above = strip->mapTo(form, strip->tabRect(unselected).center());
        const QColor expected = lookBackground ? chosen.windowBackground : QColor(Qt::white);
        QUORLIN_PROBE(image, above.x(), strip->mapTo(form, QPoint(0, 0)).y(), expected, 0);
        QUORLIN_PROBE(image, above.x(), strip->mapTo(form, QPoint(0, 1)).y(), expected, 0);
    }

    void tabPanelsOnTopAndBottomStrips_data()
    {
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("control");
        for (const PlatformLook *l : {&windows7Look(), &windows8Look()}) {
            const QByteArray t = l->title.toUtf8();
            QTest::newRow(t + ", top") << l->title << "Upper";
            QTest::newRow(t + ", bottom") << l->title << "Lower";
        }
    }

    void tabPanelsOnTopAndBottomStrips()
    {
        QFETCH(QString, look);
        QFETCH(QString, control);
        const PlatformLook &chosen = lookNamed(look);
        ScopedPlatformLook scoped(chosen);
        ProbeForm *form = openProbe(QStringLiteral("TTabProbe"), kTabProbe);
        auto *tabs = quorlin::test::control<TabControl>(form, control);
        TabStrip *strip = tabs->strip();
        QCOMPARE(strip->currentIndex(), 0);
        const bool bottom = tabs->stripPosition() == TabControl::StripPosition::Bottom;
        const QImage image = rendered(form);
        const int h = strip->height();
        QCOMPARE(h, 49);
        const QPoint origin = strip->mapTo(form, QPoint(0, 0));
        // Rows counted from the edge away from the pages.
        const auto y = [&](int row) { return origin.y() + (bottom ? h - 1 - row : row); };
        const int selectedX = origin.x() + strip->tabRect(0).left() + 4;
        const int otherX = origin.x() + strip->tabRect(1).left() + 4;
        const QColor background = chosen.windowBackground;

        // An unselected panel starts 2 rows in and stops short of the page border...
        QUORLIN_PROBE(image, otherX, y(0), background, 0);
        QUORLIN_PROBE(image, otherX, y(1), background, 0);
        QUORLIN_PROBE(image, otherX, y(2), chosen.tabPageBorder, 0);
        QVERIFY(!near(at(image, otherX, y(46)), chosen.tabPageBorder, 8));
        QUORLIN_PROBE(image, otherX, y(47), chosen.tabPageBorder, 0);
        QUORLIN_PROBE(image, otherX, y(48), Qt::white, 0);
        // ...the selected one reaches 2 rows further out and 2 further in, over the border.
        QUORLIN_PROBE(image, selectedX, y(0), chosen.tabPageBorder, 0);
        QUORLIN_PROBE(image, selectedX, y(1), chosen.tabSelected, 0);
        QUORLIN_PROBE(image, selectedX, y(47), chosen.tabSelected, 0);
        QUORLIN_PROBE(image, selectedX, y(48), chosen.tabSelected, 0);

        // Captions: black, one line, centred across, inside the 4-unit end margins.
        for (int i = 0; i < strip->count(); ++i) {
            const QRect panel = strip->panelRect(i).translated(origin);
            const QRect inner = panel.adjusted(1, 1, -1, -1);
            const QRect box = boundsOf(ink(image, inner)).translated(inner.topLeft());
            QVERIFY2(!box.isEmpty(), "caption not drawn");
            QVERIFY2(std::abs(box.center().x() - panel.center().x()) <= 2,
                     qPrintable(QStringLiteral("caption %1 centred at %2 in a panel centred at %3")
                                    .arg(i)
                                    .arg(box.center().x())
                                    .arg(panel.center().x())));
            QVERIFY(box.top() >= panel.top() + 4 && box.bottom() <= panel.bottom() - 4);
            QVERIFY2(box.height() < 2 * strip->fontMetrics().height(), "caption on two lines");
        }
    }

    void aBottomStripKeepsItsCaptionsUpright()
    {
        ProbeForm *form = openProbe(QStringLiteral("TTabProbe"), kTabProbe);
        auto *upper = quorlin::test::control<TabControl>(form, QStringLiteral("Upper"));
        auto *lower = quorlin::test::control<TabControl>(form, QStringLiteral("Lower"));
        for (int i = 0; i < 3; ++i) {
            // Each caption on the white selected panel of both strips.
            upper->setCurrentIndex(i);
            lower->setCurrentIndex(i);
            const QImage image = rendered(form);
            const QRect a =
                upper->strip()->panelRect(i).translated(upper->strip()->mapTo(form, QPoint(0, 0)));
            const QRect b =
                lower->strip()->panelRect(i).translated(lower->strip()->mapTo(form, QPoint(0, 0)));
            QCOMPARE(a.size(), b.size());
            // The same ink at the same places, not its mirror image.
            const QList<QPoint> top = ink(image, a.adjusted(1, 1, -1, -1));
            QVERIFY(!top.isEmpty());
            QCOMPARE(ink(image, b.adjusted(1, 1, -1, -1)), top);
        }
    }

    void cardTextsInTheirColours_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("angel card, cornsilk") << "TForm7" << kCornsilk;
        QTest::newRow("obstacle card, black") << "TForm8" << QColor(Qt::black);
    }

    void cardTextsInTheirColours()
    {
        QFETCH(QString, window);
        QFETCH(QColor, colour);
        Form *form = openNamed(window);
        auto *label = quorlin::test::control<TextLabel>(form, QStringLiteral("AngelTell1"));
        const QImage withText = rendered(form);
        const QString text = label->text();
        QVERIFY(!text.isEmpty());
        label->setText(QString());
        const QImage without = rendered(form);
        int differing = 0;
        int inColour = 0;
        const QRect area = label->geometry();
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) {
                if (withText.pixel(x, y) == without.pixel(x, y))
                    continue;
                ++differing;
                inColour += near(withText.pixelColor(x, y), colour, 6) ? 1 : 0;
            }
        // The cores of the strokes are the text colour itself, straight on the picture.
        QVERIFY2(differing > 0, "no text drawn");
        QVERIFY2(inColour >= 20, qPrintable(QStringLiteral("%1 of %2 text pixels in %3")
                                                .arg(inColour)
                                                .arg(differing)
                                                .arg(describe(colour))));
    }

    void textControlsTakeTheirAttributes_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("size");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("wrapped");
        const QColor black(Qt::black);
        QTest::newRow("main header") << "TTabbedForm"
                                     << "ToolBarLabel" << 21 << false << black << false;
        QTest::newRow("topic guidance header") << "TForm1"
                                               << "ToolBarLabel" << 12 << true << black << false;
        QTest::newRow("card guidance header") << "TForm2"
                                              << "ToolBarLabel" << 12 << true << black << false;
        QTest::newRow("topic ritual") << "TForm3"
                                      << "toppic1" << 17 << false << black << true;
        QTest::newRow("obstacle ritual") << "TForm4"
                                         << "AngelTell" << 17 << false << black << true;
        QTest::newRow("angel ritual") << "TForm5"
                                      << "AngelTell1" << 17 << false << black << true;
        QTest::newRow("topic result") << "TForm6"
                                      << "toppic1" << 17 << false << black << true;
        QTest::newRow("angel result") << "TForm7"
                                      << "AngelTell1" << 17 << false << kCornsilk << true;
        QTest::newRow("obstacle result") << "TForm8"
                                         << "AngelTell1" << 17 << false << black << true;
    }

    void textControlsTakeTheirAttributes()
    {
        QFETCH(QString, window);
        QFETCH(QString, label);
        QFETCH(int, size);
        QFETCH(bool, bold);
        QFETCH(QColor, colour);
        QFETCH(bool, wrapped);
        Form *form = openNamed(window);
        const QStringList families = lookFont(12).families();

        auto *text = quorlin::test::control<TextLabel>(form, label);
        QVERIFY(text);
        QCOMPARE(text->font().families(), families);
        QCOMPARE(text->font().pixelSize(), size);
        QCOMPARE(text->font().bold(), bold);
        QCOMPARE(text->palette().color(QPalette::WindowText), colour);
        QCOMPARE(text->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        QCOMPARE(text->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
        QCOMPARE(text->wordWrap(), wrapped);

        // Every other text control of the window: the look's family, 12, regular, black.
        const auto plain = [&](QWidget *w, QPalette::ColorRole role) {
            QVERIFY2(w->font().families() == families, qPrintable(w->objectName()));
            QCOMPARE(w->font().pixelSize(), 12);
            QVERIFY2(!w->font().bold(), qPrintable(w->objectName()));
            QCOMPARE(w->palette().color(role), QColor(Qt::black));
        };
        const auto buttons = form->findChildren<QPushButton *>();
        QVERIFY(!buttons.isEmpty());
        for (QPushButton *b : buttons)
            plain(b, QPalette::ButtonText);
        for (Memo *m : form->findChildren<Memo *>())
            plain(m, QPalette::Text);
        for (TabStrip *s : form->findChildren<TabStrip *>())
            plain(s, QPalette::WindowText);
    }
};

QTEST_MAIN(WindowLookTest)
#include "tst_windowlook.moc"
