// SPDX-License-Identifier: GPL-3.0-or-later
// Awkward sequences of events on the real windows: the system's close command on every kind of
// window, a close request arriving in the middle of a close, clicks that arrive while a window is
// being created, and the main window closed while other windows and their bells are live.
#include "support/drive.h"
#include "support/windowfixture.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

using namespace quorlin;
using namespace quorlin::test;

namespace {

// How each kind of window is reached from the main window, and its name.
struct Kind
{
    QString className;
    std::function<void()> open;
    std::function<Form *()> name;
    const std::int32_t *stage; // its ritual stage, if it is a ritual window
};

QList<Kind> kinds()
{
    return {
        {"TTabbedForm", [] {}, [] { return static_cast<Form *>(TabbedForm); }, nullptr},
        {"TForm1", [] { openTopicGuideFromMain(); }, [] { return static_cast<Form *>(Form1); },
         nullptr},
        {"TForm2",
         [] {
             selectTab(TabbedForm, "TabControl1", CardTab);
             press(TabbedForm, "Button2");
         },
         [] { return static_cast<Form *>(Form2); }, nullptr},
        {"TForm3",
         [] {
             selectTab(TabbedForm, "TabControl1", TopicTab);
             press(TabbedForm, "Button6");
             press(Form3, "Button4");
         },
         [] { return static_cast<Form *>(Form3); }, &TopicRitualStage},
        {"TForm4",
         [] {
             selectTab(TabbedForm, "TabControl1", CardTab);
             press(TabbedForm, "Button9");
             press(Form4, "Button4");
         },
         [] { return static_cast<Form *>(Form4); }, &ObstacleRitualStage},
        {"TForm5",
         [] {
             selectTab(TabbedForm, "TabControl1", CardTab);
             press(TabbedForm, "Button8");
             press(Form5, "Button4");
         },
         [] { return static_cast<Form *>(Form5); }, &AngelRitualStage},
        {"TForm6", [] { drawTopicFromMain(); }, [] { return static_cast<Form *>(Form6); }, nullptr},
        {"TForm7", [] { drawAngelFromMain(); }, [] { return static_cast<Form *>(Form7); }, nullptr},
        {"TForm8", [] { drawObstacleFromMain(); }, [] { return static_cast<Form *>(Form8); },
         nullptr},
    };
}

Kind kindNamed(const QString &className)
{
    for (const Kind &k : kinds())
        if (k.className == className)
            return k;
    qFatal("no window kind %s", qPrintable(className));
}

// A button that opens a window, reached as a person reaches it.
struct Opener
{
    const char *row;
    std::function<Form *()> reach; // the window holding the button, ready for the press
    const char *button;
    QString opens;
};

QList<Opener> openers()
{
    const auto onMain = [](MainTab tab) {
        return [tab] {
            selectTab(TabbedForm, "TabControl1", tab);
            return static_cast<Form *>(TabbedForm);
        };
    };
    // A window of the given kind, reached as the close tests reach it.
    const auto reached = [](const char *className) {
        return [className] {
            const Kind kind = kindNamed(QString::fromLatin1(className));
            kind.open();
            return kind.name();
        };
    };
    return {
        {"main: topic ritual", onMain(TopicTab), "Button6", "TForm3"},
        {"main: topic guidance", onMain(TopicTab), "Button7", "TForm1"},
        {"main: card guidance", onMain(CardTab), "Button2", "TForm2"},
        {"main: angel ritual", onMain(CardTab), "Button8", "TForm5"},
        {"main: obstacle ritual", onMain(CardTab), "Button9", "TForm4"},
        {"topic ritual: result", reached("TForm3"), "Button4", "TForm6"},
        {"angel ritual: result", reached("TForm5"), "Button4", "TForm7"},
        {"obstacle ritual: result", reached("TForm4"), "Button4", "TForm8"},
        {"topic result: guidance", reached("TForm6"), "Button4", "TForm1"},
        {"angel result: card guidance", reached("TForm7"), "Button4", "TForm2"},
        {"obstacle result: card guidance", reached("TForm8"), "Button4", "TForm2"},
    };
}

// Counts the presses a button receives, and those received while a flag is up.
class PressCounter : public QObject
{
public:
    explicit PressCounter(QObject *button, const bool &during) : m_during(during)
    {
        button->installEventFilter(this);
    }
    int presses = 0;
    int pressesDuring = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            ++presses;
            if (m_during)
                ++pressesDuring;
        }
        return false;
    }

private:
    const bool &m_during;
};

void postClick(QWidget *w)
{
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                   Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                   Qt::LeftButton, Qt::NoButton, {}));
}

} // namespace

class EventFaultsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    static void addKindRows()
    {
        QTest::addColumn<QString>("className");
        for (const Kind &k : kinds())
            QTest::newRow(qPrintable(k.className)) << k.className;
    }

private slots:
    void init()
    {
        resetModuleState();
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
    }
    void cleanup() { f.reset(); }

    // The system's close command performs Close: a secondary window runs its close handler and
    // hides, its bell (if any) sounding on; the main window ends the program and stays on
    // screen until the end.
    void systemCloseOnEveryWindowKind_data() { addKindRows(); }

    void systemCloseOnEveryWindowKind()
    {
        QFETCH(QString, className);
        const Kind kind = kindNamed(className);
        kind.open();
        Form *form = kind.name();
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->className(), className);
        QCOMPARE(f->app->activeForm(), form);
        BellPlayer *bell = bellOf(form);
        const BellPlayer::State bellBefore = bell ? bell->state() : BellPlayer::State::Empty;
        if (kind.stage)
            QCOMPARE(*kind.stage, 1);

        systemClose(form);
        QVERIFY2(f->boxes.boxes.isEmpty(), qPrintable(f->boxes.boxes.value(0).text));
        QVERIFY(!form->closing);
        if (form == TabbedForm) {
            QVERIFY(f->app->terminateRequested());
            QVERIFY(form->isVisible());
            return;
        }
        QVERIFY(!f->app->terminateRequested());
        QVERIFY(!form->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);
        if (kind.stage)
            QCOMPARE(*kind.stage, 0); // the ritual's close handler ran
        if (bell)
            QCOMPARE(bell->state(), bellBefore);
    }

    // A close request that arrives while the window is closing (here from inside its own close
    // handler, both as the system's command and as a direct Close) changes nothing.
    void closeRequestDuringAClose_data() { addKindRows(); }

    void closeRequestDuringAClose()
    {
        QFETCH(QString, className);
        const Kind kind = kindNamed(className);
        kind.open();
        Form *form = kind.name();
        int runs = 0;
        const Form::CloseHandler own = form->closeHandler();
        form->setCloseHandler([&, own](QObject *sender, CloseAction &action) {
            ++runs;
            systemClose(form);
            Application::instance().close(form);
            if (own)
                own(sender, action);
        });

        systemClose(form);
        QCOMPARE(runs, 1);
        QVERIFY(!form->closing);
        QVERIFY(f->boxes.boxes.isEmpty());
        QCOMPARE(f->app->terminateRequested(), form == TabbedForm);
        QCOMPARE(form->isVisible(), form == TabbedForm);
        if (kind.stage)
            QCOMPARE(*kind.stage, 0);
    }

    // A second click that arrives while the first one's window is being created waits in the
    // queue until the creation is over (nothing in between runs the event loop), then is
    // handled as any click on that button would be: the window model and the modules stay
    // whole and nothing fails.
    void clicksArrivingWhileAWindowIsCreated_data()
    {
        QTest::addColumn<int>("index");
        const QList<Opener> all = openers();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all.at(i).row) << i;
    }

    void clicksArrivingWhileAWindowIsCreated()
    {
        QFETCH(int, index);
        const Opener opener = openers().at(index);
        Form *holder = opener.reach();
        QVERIFY(holder && holder->isVisible());
        auto *button = control<QPushButton>(holder, QString::fromLatin1(opener.button));
        QVERIFY(button && button->isVisible());
        bool creating = false;
        PressCounter counter(button, creating);

        postClick(button); // queued: it arrives while the click below is being handled
        creating = true;
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        creating = false;
        Form *created = kindNamed(opener.opens).name();
        QVERIFY(created);
        QCOMPARE(created->className(), opener.opens);
        QCOMPARE(counter.pressesDuring, 1); // only the click that did the creating
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents();
        QCOMPARE(counter.presses, 2); // the queued click was delivered, afterwards

        QVERIFY2(f->boxes.boxes.isEmpty(), qPrintable(f->boxes.boxes.value(0).text));
        QVERIFY(!f->app->terminateRequested());
        // Whatever the late click did, the names refer to live windows of their class, the
        // active window is shown, and every shown window is one the model lists.
        for (const Kind &k : kinds()) {
            Form *named = k.name();
            if (named) {
                QVERIFY(f->app->owned().contains(named));
                QCOMPARE(named->className(), k.className);
            }
            if (k.stage)
                QVERIFY2(*k.stage == 0 || *k.stage == 1, qPrintable(k.className));
        }
        QVERIFY(f->app->activeForm() && f->app->activeForm()->isVisible());
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<Form *>(w); form && form->isVisible())
                QVERIFY2(f->app->windows().contains(form), qPrintable(form->className()));
        // And the windows go on working: the newest window of the opened class closes cleanly.
        Form *newest = kindNamed(opener.opens).name();
        if (newest->isVisible()) {
            systemClose(newest);
            QVERIFY(!newest->isVisible());
        }
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    // Closing the main window while secondary windows are shown and bells ring ends the run
    // with status 0; no close handler runs and every bell is silenced with its window.
    void mainClosedWhileOthersAndBellsAreLive_data()
    {
        QTest::addColumn<bool>("bySystemClose");
        QTest::newRow("exit button") << false;
        QTest::newRow("system close command") << true;
    }

    void mainClosedWhileOthersAndBellsAreLive()
    {
        QFETCH(bool, bySystemClose);
        // A run of its own, through the real event loop.
        f.reset();
        resetModuleState();
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);

        int closeRuns = 0;
        QList<QPointer<Form>> secondary;
        QPointer<Form> main;
        qsizetype soundingBefore = 0;
        QTimer::singleShot(0, [&] {
            drawTopicFromMain();     // topic result, ringing
            press(Form6, "Button4"); // topic guidance over it
            selectTab(Form1, "TabControl3", 0);
            QTest::mouseClick(Form1->findChild<QWidget *>("ImageControl6"), Qt::LeftButton);
            drawAngelFromMain();    // angel result, ringing, over the guidance window
            systemClose(Form7);     // hidden, still ringing
            drawObstacleFromMain(); // obstacle result, ringing, left on screen
            selectTab(TabbedForm, "TabControl1", HomeTab);
            QTest::mouseClick(TabbedForm->findChild<QWidget *>("ImageControl6"), Qt::LeftButton);
            main = TabbedForm;
            soundingBefore = f->audio.soundingVoices().size();
            for (Form *form : f->app->owned()) {
                if (form == TabbedForm)
                    continue;
                secondary << form;
                form->setCloseHandler([&](QObject *, CloseAction &) { ++closeRuns; });
            }
            if (bySystemClose) {
                systemClose(TabbedForm);
            } else {
                selectTab(TabbedForm, "TabControl1", HomeTab);
                press(TabbedForm, "Button1");
            }
        });
        QCOMPARE(f->app->run(), 0);
        QVERIFY2(f->boxes.boxes.isEmpty(), qPrintable(f->boxes.boxes.value(0).text));
        QCOMPARE(closeRuns, 0);
        QVERIFY(secondary.size() >= 5);
        for (const QPointer<Form> &form : secondary)
            QVERIFY2(!form, "every window is destroyed when the program ends");
        QVERIFY(f->audio.aliveVoices().isEmpty());
        QVERIFY(f->audio.soundingVoices().isEmpty());
        QVERIFY(!main);
        // The angel and obstacle results, the guidance picture and the home picture (the topic
        // result's bell stopped when it moved on to the guidance window).
        QCOMPARE(soundingBefore, 4);
    }
};

QTEST_MAIN(EventFaultsTest)
#include "tst_eventfaults.moc"
