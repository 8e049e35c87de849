// SPDX-License-Identifier: GPL-3.0-or-later
// What a hidden window gives back and what it keeps: its controls and pictures go at once, a
// bell that sounds plays to its end, and built-in pictures are decoded once and shared.
#include "ui/pictures.h"
#include "app/formreader.h"
#include "bell/bellplayer.h"
#include "forms/TabbedTemplate.h"
#include "forms/Unit3.h"
#include "forms/Unit6.h"
#include "support/windowfixture.h"
#include "ui/controls.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace quorlin;
using namespace quorlin::test;

class HiddenWindowsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    void press(Form *form, const char *button)
    {
        auto *b = control<QPushButton>(form, QString::fromLatin1(button));
        QVERIFY2(b, button);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    // Main window "หัวข้อบันทึก", then the draw button twice: a topic result window, ringing.
    TForm6 *drawTopic()
    {
        press(TabbedForm, "Button6");
        TForm3 *ritual = Form3;
        press(ritual, "Button4");
        press(ritual, "Button4");
        return Form6;
    }
    // Lets deferred deletions and queued work run, as the event loop would.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    static void closeCommand(Form *form)
    {
        QCloseEvent event;
        QApplication::sendEvent(form, &event);
    }

private slots:
    void init()
    {
        resetModuleState();
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
        QVERIFY(TabbedForm);
    }
    void cleanup() { f.reset(); }

    // Closed by clicking its text or by the system's close command, a result window is hidden
    // with its bell sounding; it gives back its controls, yet the bell plays on to its end and
    // is let go of only after that, even once newer windows have replaced it.
    void hiddenResultWindowRingsToTheEnd_data()
    {
        QTest::addColumn<bool>("byCloseCommand");
        QTest::newRow("topic text clicked") << false;
        QTest::newRow("system close command") << true;
    }
    void hiddenResultWindowRingsToTheEnd()
    {
        QFETCH(bool, byCloseCommand);
        QPointer<TForm6> result = drawTopic();
        QVERIFY(result);
        const qint64 length =
            control<BellPlayer>(result, QStringLiteral("MediaPlayer2"))->duration();
        QVERIFY(length > 0);
        const QList<int> ringing = f->audio.soundingVoices();
        QCOMPARE(ringing.size(), 1);
        const int voice = ringing.first();

        if (byCloseCommand) {
            closeCommand(result);
        } else {
            auto *text = control<TextLabel>(result, QStringLiteral("toppic1"));
            QTest::mouseClick(text, Qt::LeftButton, {}, text->rect().center());
        }
        settle();
        QVERIFY(result && !result->isVisible());
        QVERIFY2(result->findChildren<QWidget *>().isEmpty(), "controls given back at once");
        QVERIFY2(f->audio.isSounding(voice), "the bell sounds on");

        // Half-way through the bell, more windows come and go; the older result window is out
        // of its name's reach, but its bell is not cut.
        f->clock.advanceMs(length / 2000000);
        for (int i = 0; i < 3; ++i) {
            TForm6 *next = drawTopic();
            press(next, "Button1");
            settle();
        }
        QVERIFY(Form6 != result);
        QVERIFY2(f->audio.isSounding(voice), "still sounding half-way through");
        QVERIFY(f->audio.isAlive(voice));
        QVERIFY(!f->audio.log().contains(QStringLiteral("%1 stop").arg(voice)));

        // Past the end: the next closing lets the silent player, and the window, go.
        f->clock.advanceMs(length / 1000000);
        drawTopic();
        press(Form6, "Button1");
        settle();
        QVERIFY(!f->audio.isAlive(voice));
        QVERIFY(!f->audio.log().contains(QStringLiteral("%1 stop").arg(voice)));
        QVERIFY2(!result, "an unreachable, silent hidden window is gone");
    }

    // The newest instance of a class stays known by its name after it is hidden; reopening
    // works and the user sees a full window every time.
    void nameKeepsItsHiddenWindowAndReopeningIsWhole()
    {
        for (int i = 0; i < 3; ++i) {
            TForm6 *result = drawTopic();
            QVERIFY(result->isVisible());
            QVERIFY(control<TextLabel>(result, QStringLiteral("toppic1"))->text().startsWith('"'));
            QCOMPARE(result->fill().kind, Form::Fill::Kind::Picture);
            press(result, "Button1");
            settle();
            QCOMPARE(Form6, result);
            QVERIFY(!result->isVisible());
        }
        // Stopped bells and unreachable windows do not pile up: the main window, the newest
        // of each opened class, nothing more.
        QCOMPARE(f->app->owned().size(), 3);
        QCOMPARE(f->audio.aliveVoices().size(), 1); // the main window's
    }

    // A built-in picture is decoded once and shared; changing one copy (as a dropped picture
    // replaces a view's) leaves every other window's picture as it was.
    void builtInPicturesAreSharedAndDetach()
    {
        const QString path = QStringLiteral("pictures/home_bowl.png");
        QImage a = builtInPicture(path);
        const QImage b = builtInPicture(path);
        QCOMPARE(a.constBits(), b.constBits());
        const QRgb before = b.pixel(10, 10);
        a.setPixel(10, 10, qRgb(1, 2, 3));
        QCOMPARE(b.pixel(10, 10), before);
        QCOMPARE(builtInPicture(path).pixel(10, 10), before);
        QVERIFY_THROWS_EXCEPTION(Exception, builtInPicture(QStringLiteral("pictures/none.png")));
    }
};

QTEST_MAIN(HiddenWindowsTest)
#include "tst_hiddenwindows.moc"
