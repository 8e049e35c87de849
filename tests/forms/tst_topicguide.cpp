// SPDX-License-Identifier: GPL-3.0-or-later
// The topic guidance window: its pages and texts, its bell, Back, the video link, and how it
// fails without the bell file.
#include "bell/bellplayer.h"
#include "forms/TabbedTemplate.h"
#include "forms/Unit1.h"
#include "forms/Unit3.h"
#include "forms/Unit6.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"
#include "buildconfig.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QTest>

using namespace quorlin;
using namespace quorlin::test;

namespace {

constexpr int kMainBell = 1;
constexpr int kGuideBell = 2;

template <typename T> T *get(const Form *form, const char *name)
{
    auto *w = quorlin::test::control<T>(form, QString::fromLatin1(name));
    if (!w)
        qFatal("no member %s in %s", name, qPrintable(form->className()));
    return w;
}

} // namespace

class TopicGuideTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    void press(Form *form, const char *button)
    {
        auto *b = get<QPushButton>(form, button);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    void selectTab(Form *form, const char *control, int index)
    {
        TabStrip *strip = get<TabControl>(form, control)->strip();
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(index).center());
    }
    // Main window: the topic tab, then "คำแนะนำ".
    TForm1 *openGuide()
    {
        selectTab(TabbedForm, "TabControl1", 1);
        press(TabbedForm, "Button7");
        return Form1;
    }
    // Main window: the topic tab, a whole topic ritual, then the result window's "คำแนะนำ".
    TForm1 *openGuideFromAResult()
    {
        selectTab(TabbedForm, "TabControl1", 1);
        press(TabbedForm, "Button6");
        TForm3 *ritual = Form3;
        press(ritual, "Button4");
        press(ritual, "Button4");
        TForm6 *result = Form6;
        if (!result || !result->isVisible())
            qFatal("the topic ritual opened no result window");
        press(result, "Button4");
        if (result->isVisible())
            qFatal("the result window's Advice left it open");
        return Form1;
    }
    void clickPicture(TForm1 *guide)
    {
        // The middle of the page: the part of the picture the page shows, above the text box.
        QWidget *page = get<TabItem>(guide, "TabItem10");
        const QPoint at(196, 120);
        QWidget *hit = page->childAt(at);
        QCOMPARE(hit, get<PictureView>(guide, "ImageControl6"));
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(page, at));
    }
    BellPlayer *guideBell(TForm1 *guide) { return get<BellPlayer>(guide, "MediaPlayer1"); }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
        QVERIFY(TabbedForm);
    }

    void cleanup() { f.reset(); }

    void controlsSitWhereTheirPlacementsPutThem_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("header") << "HeaderToolBar" << QRect(0, 0, 392, 48);
        QTest::newRow("header text") << "ToolBarLabel" << QRect(0, 0, 392, 48);
        QTest::newRow("tabs") << "TabControl3" << QRect(0, 48, 392, 507);
        QTest::newRow("page") << "TabItem10" << QRect(0, 49, 392, 458);
        for (const char *picture :
             {"ImageControl6", "ImageControl7", "ImageControl1", "ImageControl2"})
            QTest::newRow(picture) << picture << QRect(-154, -71, 700, 600);
        QTest::newRow("about text") << "Memo1" << QRect(20, 272, 352, 161);
        QTest::newRow("keys text") << "Memo3" << QRect(20, 25, 352, 176);
        QTest::newRow("non-stop text") << "Memo4" << QRect(20, 232, 352, 201);
        QTest::newRow("review text") << "Memo2" << QRect(20, 25, 352, 192);
        QTest::newRow("banner") << "ImageControl3" << QRect(0, 0, 392, 153);
        // Centred below the banner (153..458) less the margins; halves rounded to even.
        QTest::newRow("Back") << "Button6" << QRect(142, 236, 108, 48);
        QTest::newRow("video link") << "Button3" << QRect(123, 322, 146, 48);
    }

    void controlsSitWhereTheirPlacementsPutThem()
    {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        TForm1 *guide = openGuide();
        QVERIFY(guide);
        QCOMPARE(guide->size(), QSize(392, 555));
        QCOMPARE(guide->windowTitle(), QStringLiteral("คำแนะนำ หัวข้อบันทึก"));
        QCOMPARE(quorlin::test::control<QWidget>(guide, control)->geometry(), geometry);
    }

    void headerIsBoldAtTheLookSize()
    {
        auto *label = get<TextLabel>(openGuide(), "ToolBarLabel");
        QCOMPARE(label->text(), QStringLiteral("คำแนะนำ - หัวข้อบันทึก (Quorlin 2.0)"));
        QVERIFY(label->font().bold());
        QCOMPARE(label->font().pixelSize(), 12);
        QCOMPARE(label->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    }

    void tabsInTheirOrderWithTheirStyleNames()
    {
        auto *tabs = get<TabControl>(openGuide(), "TabControl3");
        const QStringList names{"TabItem10", "TabItem11", "TabItem12", "TabItem14", "TabItem13"};
        const QStringList captions{"เกี่ยวกับ", "กุญแจพื้นฐาน", "ไม่หยุดปากกา", "การทบทวน", "เมนู"};
        const QStringList styles{"tabitemtoprated", "tabitemcontacts", "tabitemrecent", "", ""};
        QCOMPARE(tabs->tabs().size(), 5);
        int left = 0;
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(tabs->tabs().at(i)->objectName(), names.at(i));
            QCOMPARE(tabs->strip()->tabText(i), captions.at(i));
            QCOMPARE(tabs->tabs().at(i)->styleName, styles.at(i));
            QVERIFY(tabs->strip()->tabIcon(i).isNull());
            // Headers share the whole 392 strip, the rounding spread over them.
            const QRect header = tabs->strip()->tabRect(i);
            QCOMPARE(header.left(), left);
            QVERIFY(header.width() == 78 || header.width() == 79);
            left += header.width();
        }
        QCOMPARE(left, 392);
        QVERIFY(tabs->tabs().constFirst()->declaredSelected);
    }

    void readingPagesHoldAHeadingABlankLineAndAParagraph_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("mustMention"); // a sign the paragraph covers its subject
        QTest::newRow("about") << "Memo1" << QStringLiteral("เกี่ยวกับ") << QStringLiteral("108");
        QTest::newRow("keys") << "Memo3" << QStringLiteral("กุญแจพื้นฐาน") << QStringLiteral("7. ");
        QTest::newRow("non-stop") << "Memo4" << QStringLiteral("เขียนไม่หยุดปากกา")
                                  << QStringLiteral("free writing");
        QTest::newRow("review, heading after a blank")
            << "Memo2" << QStringLiteral(" การทบทวน") << QStringLiteral("7. ");
    }

    void readingPagesHoldAHeadingABlankLineAndAParagraph()
    {
        QFETCH(QString, memo);
        QFETCH(QString, heading);
        QFETCH(QString, mustMention);
        auto *box = quorlin::test::control<Memo>(openGuide(), memo);
        QVERIFY(box);
        const QStringList lines = box->lines();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), heading);
        QCOMPARE(lines.at(1), QString());
        QVERIFY2(lines.at(2).size() > 300, "one long paragraph");
        QVERIFY(lines.at(2).contains(mustMention));
        QVERIFY(box->isReadOnly());
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(box->textInteractionFlags() & Qt::TextSelectableByMouse);
        QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(box->font().pixelSize(), 12);
    }

    void onlyTheAboutTextTakesNoFocus()
    {
        TForm1 *guide = openGuide();
        QCOMPARE(get<Memo>(guide, "Memo1")->focusPolicy(), Qt::NoFocus);
        QVERIFY(get<Memo>(guide, "Memo3")->focusPolicy() != Qt::NoFocus);
    }

    void alwaysOpensOnTheAboutPage_data()
    {
        QTest::addColumn<int>("leftOn");
        QTest::addColumn<bool>("byBack"); // else the system's close command
        QTest::addColumn<bool>("throughResult"); // reopened by the topic result window's Advice
        for (int i = 0; i < 5; ++i)
            QTest::addRow("left on tab %d by close command", i) << i << false << false;
        QTest::newRow("left on the menu by Back") << 4 << true << false;
        QTest::newRow("left on the review page, reopened by a result's Advice")
            << 3 << false << true;
        QTest::newRow("left on the menu by Back, reopened by a result's Advice")
            << 4 << true << true;
    }

    void alwaysOpensOnTheAboutPage()
    {
        QFETCH(int, leftOn);
        QFETCH(bool, byBack);
        QFETCH(bool, throughResult);
        TForm1 *first = openGuide();
        QCOMPARE(get<TabControl>(first, "TabControl3")->activeTab(),
                 get<TabItem>(first, "TabItem10"));
        selectTab(first, "TabControl3", leftOn);
        QCOMPARE(get<TabControl>(first, "TabControl3")->currentIndex(), leftOn);
        if (byBack) {
            press(first, "Button6");
        } else {
            QCloseEvent event;
            QApplication::sendEvent(first, &event);
        }
        QVERIFY(!first->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);

        TForm1 *second = throughResult ? openGuideFromAResult() : openGuide();
        QVERIFY(second != first);
        QCOMPARE(get<TabControl>(second, "TabControl3")->activeTab(),
                 get<TabItem>(second, "TabItem10"));
        QVERIFY(get<TabItem>(second, "TabItem10")->isVisible());
        QVERIFY(get<PictureView>(second, "ImageControl6")->isVisible());
    }

    void pictureRingsAtMostOncePerWindow()
    {
        TForm1 *guide = openGuide();
        QCOMPARE(f->audio.log(), (QStringList{"1 created", "2 created"})); // loaded, silent
        clickPicture(guide);
        QCOMPARE(f->audio.log().constLast(), QStringLiteral("2 start 0"));
        QVERIFY(f->audio.isSounding(kGuideBell));

        f->clock.advanceMs(1000);
        clickPicture(guide);        // sounding: not restarted
        f->clock.advanceMs(120000); // well past the end of the sound
        QCOMPARE(guideBell(guide)->state(), BellPlayer::State::Ended);
        clickPicture(guide); // played out: nothing rewinds it
        QCOMPARE(f->audio.log(), (QStringList{"1 created", "2 created", "2 start 0"}));
        QVERIFY(f->audio.soundingVoices().isEmpty());

        // A new window has a player of its own and rings again.
        press(guide, "Button6");
        TForm1 *next = openGuide();
        clickPicture(next);
        QCOMPARE(f->audio.log().constLast(), QStringLiteral("3 start 0"));
    }

    void clickingTheTextOverThePictureDoesNotRing()
    {
        TForm1 *guide = openGuide();
        QWidget *page = get<TabItem>(guide, "TabItem10");
        const QPoint at(196, 350); // inside Memo1, over the picture
        QWidget *hit = page->childAt(at);
        QVERIFY(hit && hit != get<PictureView>(guide, "ImageControl6"));
        QVERIFY(get<Memo>(guide, "Memo1")->isAncestorOf(hit));
        QTest::mouseClick(hit, Qt::LeftButton, {}, hit->mapFrom(page, at));
        QCOMPARE(guideBell(guide)->state(), BellPlayer::State::Ready);
        QVERIFY(f->audio.soundingVoices().isEmpty());
    }

    void backStopsTheBellWithoutRewindingAndCloses()
    {
        TForm1 *guide = openGuide();
        clickPicture(guide);
        f->clock.advanceMs(800);
        selectTab(guide, "TabControl3", 4);
        press(guide, "Button6");
        QVERIFY(!f->audio.isSounding(kGuideBell));
        QCOMPARE(guideBell(guide)->state(), BellPlayer::State::Ready);
        QCOMPARE(guideBell(guide)->currentTime(), qint64(800) * 1000000);
        QVERIFY(!guide->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);
    }

    void closeCommandHidesTheWindowWithItsBellSoundingOn()
    {
        TForm1 *guide = openGuide();
        clickPicture(guide);
        QCloseEvent event;
        QApplication::sendEvent(guide, &event);
        QVERIFY(!guide->isVisible());
        QVERIFY(f->audio.isSounding(kGuideBell));
    }

    void videoLinkOpensTheConfiguredAddressAndLeavesTheWindowAsItWas()
    {
        TForm1 *guide = openGuide();
        clickPicture(guide);
        selectTab(guide, "TabControl3", 4);
        press(guide, "Button3");
        QCOMPARE(f->shell.opened, QStringList{QStringLiteral(QUORLIN_TOPIC_VIDEO_URL)});
        QVERIFY(f->shell.opened.constFirst().startsWith(QLatin1String("https://")));
        QVERIFY(guide->isVisible());
        QCOMPARE(f->app->activeForm(), guide);
        QCOMPARE(get<TabControl>(guide, "TabControl3")->currentIndex(), 4);
        QVERIFY(f->audio.isSounding(kGuideBell));
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void missingBellFailsTheGuidanceAndTheMainWindowStaysAsItWas()
    {
        auto *home = get<PictureView>(TabbedForm, "ImageControl6");
        QTest::mouseClick(home, Qt::LeftButton, {}, QPoint(350, 300));
        f->clock.advanceMs(600);
        QVERIFY(f->audio.isSounding(kMainBell));
        f->removeBell();

        QVERIFY(!openGuide());
        QCOMPARE(f->boxes.boxes.size(), 1);
        QCOMPARE(f->boxes.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(f->boxes.boxes[0].text,
                 QStringLiteral("Error reading MediaPlayer1.FileName: File not found."));
        QCOMPARE(f->boxes.boxes[0].owner.data(), TabbedForm);
        auto *bell = get<BellPlayer>(TabbedForm, "MediaPlayer1");
        QCOMPARE(bell->state(), BellPlayer::State::Ready);
        QCOMPARE(bell->currentTime(), 0);
        QCOMPARE(f->app->activeForm(), TabbedForm);
        QCOMPARE(get<TabControl>(TabbedForm, "TabControl1")->currentIndex(), 1);
        QCOMPARE(f->app->owned().size(), 1);

        f->restoreBell();
        QVERIFY(openGuide() && Form1->isVisible());
        QCOMPARE(f->boxes.boxes.size(), 1);
    }
};

QTEST_MAIN(TopicGuideTest)
#include "tst_topicguide.moc"
