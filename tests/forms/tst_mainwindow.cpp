// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: layout, tabs, the home bell and every button's handler.
#include "bell/bellplayer.h"
#include "forms/TabbedTemplate.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"
#include "buildconfig.h"

#include <QPushButton>
#include <QTest>

using namespace quorlin;
using namespace quorlin::test;

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    template <typename T> T *get(const char *name)
    {
        auto *w = quorlin::test::control<T>(TabbedForm, QString::fromLatin1(name));
        if (!w)
            qFatal("no member %s", name);
        return w;
    }
    BellPlayer *bell() { return get<BellPlayer>("MediaPlayer1"); }
    void press(const char *button)
    {
        auto *b = get<QPushButton>(button);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    void clickHomePicture(QPoint at = QPoint(350, 300))
    {
        QTest::mouseClick(get<PictureView>("ImageControl6"), Qt::LeftButton, {}, at);
    }
    // Seconds of fake time.
    void wait(double seconds) { f->clock.nowNs += static_cast<qint64>(seconds * 1e9); }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
        QVERIFY(TabbedForm);
    }

    void cleanup() { f.reset(); }

    void opensOnHomeAndTheAboutSectionOnItsFirstPage()
    {
        // The data names the card tab and the view the topic tab; creation overrides both.
        QCOMPARE(get<TabControl>("TabControl1")->activeTab(), get<TabItem>("TabItem1"));
        QCOMPARE(get<TabControl>("TabControl2")->activeTab(), get<TabItem>("TabItem5"));
        QVERIFY(get<TabItem>("TabItem1")->isVisible());
        QCOMPARE(TabbedForm->windowTitle(), QStringLiteral("Quorlin"));
        QCOMPARE(TabbedForm->size(), QSize(388, 555));
        QCOMPARE(get<Memo>("Memo2")->lines().first(),
                 QStringLiteral("   เกี่ยวกับ โปรแกรม Quorlin รุ่น 2.0"));
    }

    void theWindowsViewReplacesTheHomeAndTopicPictures_data()
    {
        QTest::addColumn<QString>("view");
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("home") << "ImageControl6" << QSize(827, 548);
        QTest::newRow("topic") << "ImageControl7" << QSize(827, 548);
        QTest::newRow("cards") << "ImageControl1" << QSize(720, 540);
    }

    void theWindowsViewReplacesTheHomeAndTopicPictures()
    {
        QFETCH(QString, view);
        QFETCH(QSize, pictureSize);
        QCOMPARE(quorlin::test::control<PictureView>(TabbedForm, view)->picture().size(), pictureSize);
    }

    void controlsSitWhereTheirPlacementsPutThem_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("header") << "HeaderToolBar" << QRect(0, 0, 388, 48);
        QTest::newRow("header text") << "ToolBarLabel" << QRect(0, 0, 388, 48);
        QTest::newRow("tabs") << "TabControl1" << QRect(0, 48, 388, 507);
        QTest::newRow("home page") << "TabItem1" << QRect(0, 49, 388, 458);
        QTest::newRow("home picture") << "ImageControl6" << QRect(-156, -71, 700, 600);
        QTest::newRow("upper slot") << "Button5" << QRect(140, 210, 108, 48);
        QTest::newRow("middle slot") << "Button4" << QRect(140, 265, 108, 48);
        QTest::newRow("lower slot") << "Button1" << QRect(140, 320, 108, 48);
        QTest::newRow("topic upper") << "Button6" << QRect(140, 210, 108, 48);
        QTest::newRow("topic middle") << "Button7" << QRect(140, 265, 108, 48);
        QTest::newRow("cards upper") << "Button8" << QRect(140, 210, 108, 48);
        QTest::newRow("cards middle") << "Button9" << QRect(140, 265, 108, 48);
        QTest::newRow("cards lower") << "Button2" << QRect(140, 320, 108, 48);
        QTest::newRow("about section") << "TabControl2" << QRect(0, 0, 388, 458);
        QTest::newRow("about page") << "TabItem5" << QRect(0, 0, 388, 409);
        QTest::newRow("about picture") << "ImageControl3" << QRect(-148, -113, 700, 600);
        QTest::newRow("about text") << "Memo2" << QRect(20, 170, 348, 202);
        QTest::newRow("support text") << "Memo4" << QRect(20, 32, 348, 249);
    }

    void controlsSitWhereTheirPlacementsPutThem()
    {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        QCOMPARE(quorlin::test::control<QWidget>(TabbedForm, control)->geometry(), geometry);
    }

    void tabHeadersShareTheStripEqually()
    {
        for (const char *name : {"TabControl1", "TabControl2"}) {
            TabStrip *strip = get<TabControl>(name)->strip();
            QCOMPARE(strip->count(), 4);
            for (int i = 0; i < 4; ++i)
                QCOMPARE(strip->tabRect(i), QRect(97 * i, 0, 97, 49));
        }
        // The about strip runs along the bottom of the window.
        auto *about = get<TabControl>("TabControl2");
        QCOMPARE(about->strip()->mapTo(TabbedForm, QPoint(0, 0)), QPoint(0, 555 - 49));
    }

    void headerUsesSize21Centred()
    {
        auto *label = get<TextLabel>("ToolBarLabel");
        QCOMPARE(label->text(), QStringLiteral("Quorlin (Quorlin) 2.0"));
        QCOMPARE(label->font().pixelSize(), 21);
        QCOMPARE(label->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    }

    void arrowKeysMoveBetweenTabsAndStopAtTheEnds_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("expected");
        QTest::newRow("right") << "TabControl1" << 0 << "R" << 1;
        QTest::newRow("right to the end") << "TabControl1" << 0 << "RRR" << 3;
        QTest::newRow("no wrap past the last") << "TabControl1" << 3 << "RR" << 3;
        QTest::newRow("no wrap before the first") << "TabControl1" << 0 << "LL" << 0;
        QTest::newRow("there and back") << "TabControl1" << 1 << "RL" << 1;
        QTest::newRow("about strip") << "TabControl2" << 0 << "RRRRL" << 2;
    }

    void arrowKeysMoveBetweenTabsAndStopAtTheEnds()
    {
        QFETCH(QString, control);
        QFETCH(int, start);
        QFETCH(QString, keys);
        QFETCH(int, expected);
        get<TabControl>("TabControl1")->setCurrentIndex(3); // the about section must be shown
        auto *tabs = quorlin::test::control<TabControl>(TabbedForm, control);
        tabs->setCurrentIndex(start);
        for (QChar k : keys)
            QTest::keyClick(tabs->strip(), k == u'R' ? Qt::Key_Right : Qt::Key_Left);
        QCOMPARE(tabs->currentIndex(), expected);
    }

    void pressOnAHeaderSelectsAtOnceAndTheWheelDoesNothing()
    {
        auto *tabs = get<TabControl>("TabControl1");
        TabStrip *strip = tabs->strip();
        QTest::mousePress(strip, Qt::LeftButton, {}, strip->tabRect(2).center());
        QCOMPARE(tabs->currentIndex(), 2); // before the release
        QVERIFY(get<TabItem>("TabItem3")->isVisible());
        QVERIFY(!get<TabItem>("TabItem1")->isVisible());
        QTest::mouseRelease(strip, Qt::LeftButton, {}, strip->tabRect(2).center());

        QWheelEvent wheel(QPointF(10, 10), strip->mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        QApplication::sendEvent(strip, &wheel);
        QCOMPARE(tabs->currentIndex(), 2);
    }

    void aboutSectionKeepsItsPageWhileAnotherTabIsShown()
    {
        auto *main = get<TabControl>("TabControl1");
        auto *about = get<TabControl>("TabControl2");
        main->setCurrentIndex(3);
        about->setActiveTab(get<TabItem>("TabItem8"));
        main->setCurrentIndex(0);
        main->setCurrentIndex(3);
        QCOMPARE(about->activeTab(), get<TabItem>("TabItem8"));
    }

    void homePictureRingsOnceUntilAButtonRewindsIt()
    {
        clickHomePicture();
        QCOMPARE(bell()->state(), BellPlayer::State::Playing);
        QCOMPARE(f->audio.log(), (QStringList{"1 created", "1 start 0"}));

        wait(1);
        clickHomePicture();
        QCOMPARE(f->audio.log().size(), 2); // not restarted

        wait(60); // past the end of the sound
        QCOMPARE(bell()->state(), BellPlayer::State::Ended);
        clickHomePicture();
        QCOMPARE(f->audio.log().size(), 2);
        QVERIFY(f->audio.soundingVoices().isEmpty());

        press("Button4");
        QCOMPARE(bell()->state(), BellPlayer::State::Ready);
        QCOMPARE(bell()->currentTime(), 0);
        clickHomePicture();
        QCOMPARE(bell()->state(), BellPlayer::State::Playing);
        QCOMPARE(f->audio.log().last(), QStringLiteral("1 start 0"));
    }

    void aClickAnywhereOutsideTheButtonsHitsThePicture_data()
    {
        QTest::addColumn<QPoint>("at"); // on the page
        QTest::newRow("top left") << QPoint(1, 1);
        QTest::newRow("bottom right") << QPoint(386, 456);
        QTest::newRow("between buttons") << QPoint(190, 260);
    }

    void aClickAnywhereOutsideTheButtonsHitsThePicture()
    {
        QFETCH(QPoint, at);
        QWidget *page = get<TabItem>("TabItem1");
        QWidget *hit = page->childAt(at);
        QCOMPARE(hit, get<PictureView>("ImageControl6"));
        clickHomePicture(hit->mapFrom(page, at));
        QCOMPARE(bell()->state(), BellPlayer::State::Playing);
    }

    void otherPicturesDoNothingWhenClicked()
    {
        get<TabControl>("TabControl1")->setCurrentIndex(1);
        QTest::mouseClick(get<PictureView>("ImageControl7"), Qt::LeftButton, {}, QPoint(350, 300));
        get<TabControl>("TabControl1")->setCurrentIndex(2);
        QTest::mouseClick(get<PictureView>("ImageControl1"), Qt::LeftButton, {}, QPoint(350, 300));
        QVERIFY2(f->audio.log().filter(QStringLiteral(" start")).isEmpty(),
                 qPrintable(f->audio.log().join(u',')));
        QCOMPARE(bell()->state(), BellPlayer::State::Ready);
    }

    void webButtonsSilenceTheBellAndOpenTheirAddressEachTime_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("address");
        QTest::newRow("web site") << "Button4" << QStringLiteral(QUORLIN_WEBSITE_URL);
        QTest::newRow("facebook") << "Button5" << QStringLiteral(QUORLIN_FACEBOOK_URL);
    }

    void webButtonsSilenceTheBellAndOpenTheirAddressEachTime()
    {
        QFETCH(QString, button);
        QFETCH(QString, address);
        clickHomePicture();
        wait(0.5);
        press(button.toLatin1().constData());
        QVERIFY(f->audio.soundingVoices().isEmpty());
        QCOMPARE(bell()->currentTime(), 0);
        press(button.toLatin1().constData());
        QCOMPARE(f->shell.opened, (QStringList{address, address}));
        QVERIFY(address.startsWith(QLatin1String("https://")));
        QVERIFY(f->boxes.boxes.isEmpty());
        QVERIFY(TabbedForm->isVisible());
    }

    void exitButtonEndsTheProgramWithoutTouchingTheBell()
    {
        clickHomePicture();
        const QStringList before = f->audio.log();
        press("Button1");
        QVERIFY(f->app->terminateRequested());
        QCOMPARE(f->audio.log(), before);
        f->app->finish(); // the ending destroys the window and silences its bell
        QVERIFY(f->audio.aliveVoices().isEmpty());
    }

    void buttonFocusFollowsTheSlotsFromTopToBottom()
    {
        // The next control in the focus chain that Tab stops at.
        const auto nextStop = [](QWidget *w) {
            do
                w = w->nextInFocusChain();
            while (!(w->focusPolicy() & Qt::TabFocus));
            return w;
        };
        QCOMPARE(nextStop(get<QPushButton>("Button5")), get<QPushButton>("Button4"));
        QCOMPARE(nextStop(get<QPushButton>("Button4")), get<QPushButton>("Button1"));
        QCOMPARE(nextStop(get<QPushButton>("Button6")), get<QPushButton>("Button7"));
        QCOMPARE(nextStop(get<QPushButton>("Button8")), get<QPushButton>("Button9"));
        QCOMPARE(nextStop(get<QPushButton>("Button9")), get<QPushButton>("Button2"));
    }

    void fittedPictureMatchesTheWorkedExamples_data()
    {
        QTest::addColumn<QSize>("view");
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<QRect>("drawn");
        QTest::newRow("home") << QSize(700, 600) << QSize(827, 548)
                              << QRect(QPoint(5, 71), QPoint(694, 528));
        QTest::newRow("mascot banner") << QSize(392, 153) << QSize(720, 960)
                                       << QRect(142, 5, 108, 143); // 107.25 wide, edges snapped
        QTest::newRow("widest journal page") << QSize(700, 600) << QSize(1600, 1200)
                                             << QRect(5, 41, 690, 518);
    }

    void fittedPictureMatchesTheWorkedExamples()
    {
        QFETCH(QSize, view);
        QFETCH(QSize, picture);
        QFETCH(QRect, drawn);
        QCOMPARE(PictureView::fittedRect(view, picture), drawn);
    }

    void missingBellStopsTheMainWindowFromBeingBuilt()
    {
        f.reset();
        f = std::make_unique<WindowFixture>();
        f->removeBell();
        f->app->createForm(TabbedForm);
        try {
            f->app->startUp();
            QFAIL("start-up must fail without the bell file");
        } catch (const EReadError &error) {
            QCOMPARE(error.kind(), QStringLiteral("EReadError"));
            QCOMPARE(error.message(),
                     QStringLiteral("Error reading MediaPlayer1.FileName: File not found"));
        }
        QVERIFY(!TabbedForm);
        QVERIFY(f->app->owned().isEmpty());
    }
};

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
