// SPDX-License-Identifier: GPL-3.0-or-later
// The topic ritual and result windows, reached from the main window as a person would.
#include "bell/bellplayer.h"
#include "forms/TabbedTemplate.h"
#include "forms/Unit1.h"
#include "forms/Unit3.h"
#include "forms/Unit6.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QTest>

using namespace quorlin;
using namespace quorlin::test;

namespace {

const QString kPrompt = QStringLiteral("หัวข้อแนะนำสำหรับการบันทึกดูแลและใคร่ครวญชีวิตสำหรับช่วงนี้");
const QString kInstruction = QStringLiteral("อยู่กับตัวเองสักครู่หนึ่ง ก่อนกดปุ่มเดิมอีกครั้ง");
const QString kResultLayoutText =
    QStringLiteral("จับหัวข้อแนะนำสำหรับการบันทึกดูแลและใคร่ครวญชีวิตสำหรับช่วงนี้");

// Voices of the fake output, numbered in order of the players' opening.
constexpr int kMainBell = 1;
constexpr int kFirstResultBell = 2;

template <typename T> T *get(const Form *form, const char *name)
{
    auto *w = quorlin::test::control<T>(form, QString::fromLatin1(name));
    if (!w)
        qFatal("no member %s in %s", name, qPrintable(form->className()));
    return w;
}

QString labelOf(const Form *form)
{
    return get<TextLabel>(form, "toppic1")->text();
}

} // namespace

class TopicWindowsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    void press(Form *form, const char *button)
    {
        auto *b = get<QPushButton>(form, button);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    // The system's close command, as a window manager delivers it.
    void closeCommand(Form *form)
    {
        QCloseEvent event;
        QApplication::sendEvent(form, &event);
    }
    // Main window: the topic tab, then "หัวข้อบันทึก".
    TForm3 *openRitual()
    {
        TabStrip *strip = get<TabControl>(TabbedForm, "TabControl1")->strip();
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(1).center());
        press(TabbedForm, "Button6");
        return Form3;
    }
    TForm6 *drawTopicWindow()
    {
        TForm3 *ritual = openRitual();
        press(ritual, "Button4");
        press(ritual, "Button4");
        return Form6;
    }
    BellPlayer *resultBell(TForm6 *result) { return get<BellPlayer>(result, "MediaPlayer2"); }

private slots:
    void init()
    {
        resetModuleState();
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
        QVERIFY(TabbedForm);
    }

    void cleanup()
    {
        f.reset();
        QVERIFY2(!Form3 && !Form6 && !Form1, "names refer to no window once the run ends");
    }

    void layoutPlacesTheLabelAndButtonsByTheirMargins_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        // The label takes the top band below a 100 margin; the buttons are centred in what is
        // left (from 250 down) less their margins: draw 250..505, Back 474..405 (an inverted
        // band, so it overlaps its margin), halves rounded to even.
        for (const char *window : {"ritual", "result"}) {
            QTest::addRow("%s label", window) << window << "toppic1" << QRect(0, 100, 388, 150);
            QTest::addRow("%s Button4", window) << window << "Button4" << QRect(125, 354, 138, 48);
            QTest::addRow("%s Button1", window) << window << "Button1" << QRect(140, 416, 108, 48);
        }
    }

    void layoutPlacesTheLabelAndButtonsByTheirMargins()
    {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        Form *form = window == QLatin1String("ritual") ? static_cast<Form *>(openRitual())
                                                       : drawTopicWindow();
        QVERIFY(form);
        QCOMPARE(form->size(), QSize(388, 555));
        QCOMPARE(form->windowTitle(), QStringLiteral("หัวข้อบันทึก"));
        QCOMPARE(quorlin::test::control<QWidget>(form, control)->geometry(), geometry);

        auto *label = get<TextLabel>(form, "toppic1");
        QCOMPARE(label->font().pixelSize(), 17);
        QCOMPARE(label->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
        QVERIFY(label->wordWrap());
        QCOMPARE(get<QPushButton>(form, "Button4")->nextInFocusChain(),
                 get<QPushButton>(form, "Button1"));
    }

    void ritualAndResultFills()
    {
        TForm3 *ritual = openRitual();
        QCOMPARE(ritual->fill().kind, Form::Fill::Kind::Gradient);
        QCOMPARE(ritual->fill().stops,
                 (QGradientStops{{0.0, QColor(0xFF336B77)}, {0.5093167, QColor(0xFFFFFFFF)}}));
        press(ritual, "Button4");
        press(ritual, "Button4");
        QCOMPARE(Form6->fill().kind, Form::Fill::Kind::Picture);
        QVERIFY(!Form6->fill().picture.isNull());
        QCOMPARE(get<QPushButton>(Form6, "Button4")->text(), QStringLiteral("คำแนะนำ"));
    }

    void drawButtonNeedsTwoPresses_data()
    {
        QTest::addColumn<int>("presses");
        QTest::addColumn<bool>("resultOpen");
        QTest::newRow("one press only shows the instruction") << 1 << false;
        QTest::newRow("the second press opens the result") << 2 << true;
    }

    void drawButtonNeedsTwoPresses()
    {
        QFETCH(int, presses);
        QFETCH(bool, resultOpen);
        TForm3 *ritual = openRitual();
        QCOMPARE(labelOf(ritual), kPrompt);
        for (int i = 0; i < presses; ++i)
            press(ritual, "Button4");

        QCOMPARE(Form6 != nullptr, resultOpen);
        QCOMPARE(ritual->isVisible(), !resultOpen);
        QCOMPARE(f->audio.voiceCount(), resultOpen ? 2 : 1);
        if (resultOpen) {
            // Closing the ritual reset the shared stage and put the prompt back.
            QCOMPARE(TopicRitualStage, 0);
            QCOMPARE(labelOf(ritual), kPrompt);
            QVERIFY(Form6->isVisible());
            QCOMPARE(f->app->activeForm(), Form6);
        } else {
            QCOMPARE(TopicRitualStage, 1);
            QCOMPARE(labelOf(ritual), kInstruction);
            QCOMPARE(f->app->activeForm(), ritual);
        }
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void leavingAfterOnePressStartsTheNextRitualAtThePrompt_data()
    {
        QTest::addColumn<bool>("byCloseCommand");
        QTest::newRow("Back") << false;
        QTest::newRow("system close command") << true;
    }

    void leavingAfterOnePressStartsTheNextRitualAtThePrompt()
    {
        QFETCH(bool, byCloseCommand);
        TForm3 *first = openRitual();
        press(first, "Button4");
        if (byCloseCommand)
            closeCommand(first);
        else
            press(first, "Button1");
        QVERIFY(!first->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);
        QCOMPARE(TopicRitualStage, 0);

        TForm3 *second = openRitual();
        QVERIFY(second != first);
        QCOMPARE(labelOf(second), kPrompt);
        press(second, "Button4");
        QVERIFY2(!Form6, "the new ritual needs two presses again");
        QCOMPARE(labelOf(second), kInstruction);
        press(second, "Button4");
        QVERIFY(Form6 && Form6->isVisible());
    }

    void stageIsSharedByEveryRitualWindow()
    {
        TForm3 *older = openRitual();
        press(older, "Button4");
        // The main window reached again while the older ritual is still open.
        TForm3 *newer = openRitual();
        QVERIFY(newer != older && older->isVisible());
        QCOMPARE(labelOf(newer), kPrompt); // its own label, fresh from the layout...
        press(newer, "Button4");           // ...but the shared stage is already 1
        QVERIFY2(Form6, "the older window's first press counts for the newer one");
        QVERIFY(!newer->isVisible());
        QCOMPARE(TopicRitualStage, 0);

        // The older window still shows the instruction, but the stage is back at the prompt.
        QCOMPARE(labelOf(older), kInstruction);
        TForm6 *result = Form6;
        press(older, "Button4");
        QCOMPARE(Form6, result);
        QCOMPARE(TopicRitualStage, 1);
    }

    void topicIsFramedInStraightQuotesWithItsTextKept_data()
    {
        QTest::addColumn<quint64>("counter");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label");
        // Counter low bits that step and scale to the wanted entry; bits above 31 are ignored.
        QTest::newRow("three trailing blanks")
            << quint64(1298181734) << 107
            << QStringLiteral("\"ฉันหวังว่าเขา...  ผู้ซึ่ง...   จะ...   เพราะฉัน...   \"");
        QTest::newRow("eleven characters")
            << (quint64(7) << 32 | 2132196826) << 103 << QStringLiteral("\"ฉันขอโทษ...\"");
        QTest::newRow("inner curly quotes") << quint64(1377954467) << 56 << QString();
    }

    void topicIsFramedInStraightQuotesWithItsTextKept()
    {
        QFETCH(quint64, counter);
        QFETCH(int, index);
        QFETCH(QString, label);
        f->clock.counter = counter;
        TForm6 *result = drawTopicWindow();
        QVERIFY(result);

        const QString stored = topicDeck().text(index);
        QCOMPARE(TopicText, stored);
        QCOMPARE(labelOf(result), QLatin1Char('"') + stored + QLatin1Char('"'));
        if (!label.isEmpty()) {
            QCOMPARE(labelOf(result), label);
        } else {
            QVERIFY(stored.contains(QChar(0x201C)) && stored.contains(QChar(0x201D)));
            QVERIFY(!stored.startsWith(QChar(0x201C)));
        }
    }

    void resultRingsFromTheStartBeforeItIsShown()
    {
        TForm6 *result = drawTopicWindow();
        QCOMPARE(f->audio.log(), (QStringList{"1 created", "2 created", "2 start 0"}));
        QVERIFY(f->audio.isSounding(kFirstResultBell));
        QCOMPARE(resultBell(result)->state(), BellPlayer::State::Playing);

        // A second result rings from the start too, with a player of its own.
        press(result, "Button1");
        f->clock.advanceMs(500);
        drawTopicWindow();
        QCOMPARE(f->audio.log().mid(f->audio.log().size() - 2),
                 (QStringList{"3 created", "3 start 0"}));
    }

    void closingTheResult_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("bellSoundsOn");
        QTest::newRow("click on the topic text") << "text" << true;
        QTest::newRow("system close command") << "command" << true;
        QTest::newRow("Back") << "back" << false;
    }

    void closingTheResult()
    {
        QFETCH(QString, how);
        QFETCH(bool, bellSoundsOn);
        TForm6 *result = drawTopicWindow();
        f->clock.advanceMs(300);
        if (how == QLatin1String("text")) {
            auto *text = get<TextLabel>(result, "toppic1");
            QTest::mouseClick(text, Qt::LeftButton, {}, text->rect().center());
        } else if (how == QLatin1String("command")) {
            closeCommand(result);
        } else {
            press(result, "Button1");
        }

        QVERIFY(!result->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);
        QCOMPARE(f->audio.isSounding(kFirstResultBell), bellSoundsOn);
        QCOMPARE(labelOf(result), kResultLayoutText);
        QVERIFY2(f->app->owned().contains(result), "a hidden window lives until the end");
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void adviceOpensTheGuidanceThenStopsTheBellAndCloses()
    {
        TForm6 *result = drawTopicWindow();
        f->clock.advanceMs(300);
        f->audio.clearLog();
        press(result, "Button4");

        // Voice 3 is the guidance window's player, opened while it is created.
        QCOMPARE(f->audio.log(), (QStringList{"3 created", "2 stop"}));
        QVERIFY(Form1 && Form1->isVisible());
        QCOMPARE(f->app->activeForm(), Form1);
        QCOMPARE(f->app->windows().constLast(), Form1);
        QVERIFY(!result->isVisible());
        QVERIFY(f->audio.soundingVoices().isEmpty());
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void missingBellFailsTheResultAndTheRitualWaits()
    {
        // A first topic, so that TopicText holds something to keep.
        press(drawTopicWindow(), "Button1");
        const QString kept = TopicText;
        QVERIFY(!kept.isEmpty());

        TForm3 *ritual = openRitual();
        press(ritual, "Button4");
        f->removeBell();
        f->clock.counter = 1298181734; // would draw entry 107
        press(ritual, "Button4");

        QCOMPARE(f->boxes.boxes.size(), 1);
        QCOMPARE(f->boxes.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(f->boxes.boxes[0].text,
                 QStringLiteral("Error reading MediaPlayer2.FileName: File not found."));
        QCOMPARE(f->boxes.boxes[0].owner.data(), ritual);
        QVERIFY(!Form6);
        QCOMPARE(TopicText, kept);
        QVERIFY(ritual->isVisible());
        QCOMPARE(f->app->activeForm(), ritual);
        QCOMPARE(labelOf(ritual), kInstruction);
        QCOMPARE(TopicRitualStage, 1);

        f->restoreBell();
        press(ritual, "Button4");
        QCOMPARE(f->boxes.boxes.size(), 1);
        QVERIFY(Form6 && Form6->isVisible());
        QVERIFY(!ritual->isVisible());
        QCOMPARE(TopicText, topicDeck().text(107));
    }

    void missingBellFailsTheAdviceAndTheResultRingsOn()
    {
        TForm6 *result = drawTopicWindow();
        f->removeBell();
        press(result, "Button4");

        QCOMPARE(f->boxes.boxes.size(), 1);
        QCOMPARE(f->boxes.boxes[0].text,
                 QStringLiteral("Error reading MediaPlayer1.FileName: File not found."));
        QVERIFY(!Form1);
        QVERIFY(result->isVisible());
        QCOMPARE(f->app->activeForm(), result);
        QVERIFY(f->audio.isSounding(kFirstResultBell));
    }

    void theMainWindowsBellStopsAndRewindsBeforeTheRitualOpens()
    {
        auto *home = get<PictureView>(TabbedForm, "ImageControl6");
        QTest::mouseClick(home, Qt::LeftButton, {}, QPoint(350, 300));
        f->clock.advanceMs(700);
        QVERIFY(f->audio.isSounding(kMainBell));
        openRitual();
        QVERIFY(!f->audio.isSounding(kMainBell));
        auto *bell = get<BellPlayer>(TabbedForm, "MediaPlayer1");
        QCOMPARE(bell->state(), BellPlayer::State::Ready);
        QCOMPARE(bell->currentTime(), 0);
        QVERIFY(Form3 && Form3->isVisible());
        QCOMPARE(f->app->activeForm(), Form3);
    }
};

QTEST_MAIN(TopicWindowsTest)
#include "tst_topicwindows.moc"
