// SPDX-License-Identifier: GPL-3.0-or-later
// The life-card windows: the angel and obstacle rituals and results, and the card guidance
// window, driven from the main window as a person would.
#include "bell/bellplayer.h"
#include "deck/drawdeck.h"
#include "forms/TabbedTemplate.h"
#include "forms/Unit2.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/tabcontrol.h"
#include "buildconfig.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <functional>

using namespace quorlin;
using namespace quorlin::test;

namespace {

// The texts as the user must see them.
const QString kAngelPrompt = QStringLiteral(
    "ภาวนากลับมาอยู่กับตัวเอง ขอให้ได้รับข้อความหรือสัญญาณชี้แนะเรา น้อมนำคุณสมบัติ นี้เข้ามาในหัวใจอย่างใคร่ครวญ ");
const QString kAngelInstruction = QStringLiteral(
    "หายใจเข้า ผ่อนคลาย  หายใจออกผ่อนคลาย เปิดหัวใจออกกว้าง ใช้ปัญญาภายในจิตใจ  ต้อนรับข่าวสารจากธรรมชาติ  "
    "หลับตาลง...อยู่กับตัวเอง  ปรับคลื่นใจเข้ากับไพ่นางฟ้าสักครู่หนึ่ง...  ก่อนกดปุ่มเดิมอีกครั้ง");
const QString kAngelCloseText = QStringLiteral("ภาวนากลับมาอยู่กับตัวเอง ขอให้ได้รับข้อความหรือสัญญาณชี้แนะเรา "
                                               "น้อมนำคุณสมบัติ /อุปสรรคนี้เข้ามาในหัวใจอย่างใคร่ครวญ ");
const QString kAngelResultText = QStringLiteral("ไพ่นางฟ้าเปิดออกแล้ว ณ เวลานี้");
const QString kObstaclePrompt = QStringLiteral(
    "ภาวนากลับมาอยู่กับตัวเอง ขอให้ได้รับข้อความหรือสัญญาณชี้แนะเรา น้อมนำอุปสรรคนี้เข้ามาในหัวใจอย่างใคร่ครวญ ");
const QString kObstacleInstruction = QStringLiteral(
    "หายใจเข้า ผ่อนคลาย  หายใจออกผ่อนคลาย เปิดหัวใจออกกว้าง ให้ธรรมชาติสะท้อนตัวตนและอุปสรรคในเรา  "
    "หลับตาลง...อยู่กับตัวเอง  ปรับคลื่นใจเข้ากับไพ่อุปสรรคสักครู่หนึ่ง...  ก่อนกดปุ่มเดิมอีกครั้ง");
const QString kObstacleResultOpening = QStringLiteral("ไพ่อุปสรรคเปิดออกแล้ว ณ เวลานี้ ");
const QString kObstacleResultClose = QStringLiteral("ไพ่อุปสรรคเปิดออกแล้ว ณ เวลานี้");

enum class Card
{
    Angel,
    Obstacle
};

// What tells the two card flows apart in the cases where they behave alike.
struct Flow
{
    const char *opener;  // the main window's button
    QString caption;     // the draw button's caption
    QString ritualLabel; // the ritual window's label
    QString prompt;
    QString instruction;
    std::int32_t *stage;
    Form *(*ritual)();
    Form *(*result)();
    QString player; // the result window's bell
    const DrawDeck &(*deck)();
    const QString *cardText; // the module's last drawn card
    QString resultClose;     // what the result's close handler leaves in its label
    QColor cardColour;
};

Flow flow(Card card)
{
    if (card == Card::Angel)
        return {"Button8",
                QStringLiteral("จับไพ่นางฟ้า"),
                QStringLiteral("AngelTell1"),
                kAngelPrompt,
                kAngelInstruction,
                &AngelRitualStage,
                []() -> Form * { return Form5; },
                []() -> Form * { return Form7; },
                QStringLiteral("MediaPlayer3"),
                &angelDeck,
                &AngelCardText,
                kAngelResultText,
                QColor(0xFF, 0xF8, 0xDC)};
    return {"Button9",
            QStringLiteral("จับไพ่อุปสรรค"),
            QStringLiteral("AngelTell"),
            kObstaclePrompt,
            kObstacleInstruction,
            &ObstacleRitualStage,
            []() -> Form * { return Form4; },
            []() -> Form * { return Form8; },
            QStringLiteral("MediaPlayer4"),
            &obstacleDeck,
            &ObstacleCardText,
            kObstacleResultClose,
            QColor(Qt::black)};
}

// Sees every event of every object, so that a test can look at the windows at the moment one
// of them is built, shown or hidden, in the middle of a handler.
class EventProbe : public QObject
{
public:
    std::function<void(QObject *, QEvent *)> onEvent;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (onEvent)
            onEvent(watched, event);
        return false;
    }
};

QString bellState(BellPlayer *bell)
{
    switch (bell->state()) {
    case BellPlayer::State::Playing:
        return QStringLiteral("ringing");
    case BellPlayer::State::Ended:
        return QStringLiteral("rung out");
    default:
        return QStringLiteral("silent");
    }
}

// The text a control declares, read from the window's declared data.
QString declaredText(const QString &className, const QString &control)
{
    const FormData data = loadFormData(className);
    std::function<QString(const FormNode &)> find = [&](const FormNode &node) -> QString {
        if (node.name == control)
            for (const FormSetting &s : node.settings)
                if (s.name == QLatin1String("Text"))
                    return s.values.value(0).text;
        for (const auto &child : node.children) {
            const QString text = find(*child);
            if (!text.isNull())
                return text;
        }
        return {};
    };
    return find(data.root);
}

} // namespace

Q_DECLARE_METATYPE(Card)

class CardWindowsTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    EventProbe m_probe;

    template <typename T> static T *get(Form *form, const QString &name)
    {
        auto *member = form ? quorlin::test::control<T>(form, name) : nullptr;
        if (!member)
            qFatal("no member %s", qPrintable(name));
        return member;
    }
    static void press(Form *form, const char *button)
    {
        auto *b = get<QPushButton>(form, QString::fromLatin1(button));
        QVERIFY2(b->isVisible(), button);
        QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
    }
    static void systemClose(Form *form)
    {
        QCloseEvent close;
        QApplication::sendEvent(form, &close);
    }
    static void selectTab(Form *form, const char *tabControl, int index)
    {
        TabStrip *strip = get<TabControl>(form, QString::fromLatin1(tabControl))->strip();
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(index).center());
    }
    static QString labelText(Form *form, const QString &label)
    {
        return get<TextLabel>(form, label)->text();
    }
    static QString drawCaption(Form *form) { return get<QPushButton>(form, "Button4")->text(); }

    // Opens the ritual window of a flow from the main window.
    Form *openRitual(const Flow &flow)
    {
        Form *before = flow.ritual();
        press(TabbedForm, flow.opener);
        Form *ritual = flow.ritual();
        if (!ritual || ritual == before)
            qFatal("%s did not open a fresh ritual window", flow.opener);
        return ritual;
    }
    // Goes through a ritual to its result window.
    Form *reachResult(const Flow &flow)
    {
        Form *ritual = openRitual(flow);
        press(ritual, "Button4");
        press(ritual, "Button4");
        if (!flow.result() || !flow.result()->isVisible())
            qFatal("no result window after two presses");
        return flow.result();
    }
    BellPlayer *resultBell(const Flow &flow) { return get<BellPlayer>(flow.result(), flow.player); }
    void wait(double seconds) { f->clock.nowNs += static_cast<qint64>(seconds * 1e9); }

    static void addFlowColumn() { QTest::addColumn<Card>("card"); }
    static void addFlowRows()
    {
        addFlowColumn();
        QTest::newRow("angel") << Card::Angel;
        QTest::newRow("obstacle") << Card::Obstacle;
    }

private slots:
    void init()
    {
        resetModuleState();

        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
        QVERIFY(TabbedForm);
        selectTab(TabbedForm, "TabControl1", 2); // the life-card page
        qApp->installEventFilter(&m_probe);
    }

    void cleanup()
    {
        qApp->removeEventFilter(&m_probe);
        m_probe.onEvent = nullptr;
        f.reset();
    }

    // --- Both card flows -------------------------------------------------------------------

    void twoPressesRevealACard_data() { addFlowRows(); }

    void twoPressesRevealACard()
    {
        QFETCH(Card, card);
        const Flow fl = flow(card);
        Form *ritual = openRitual(fl);
        QVERIFY(ritual->isVisible());
        QCOMPARE(f->app->activeForm(), ritual);
        QCOMPARE(labelText(ritual, fl.ritualLabel), fl.prompt);
        QCOMPARE(drawCaption(ritual), fl.caption);

        press(ritual, "Button4");
        QCOMPARE(labelText(ritual, fl.ritualLabel), fl.instruction);
        QCOMPARE(*fl.stage, 1);
        QCOMPARE(drawCaption(ritual), fl.caption);
        QVERIFY2(!fl.result(), "the first press only shows the instruction");
        QVERIFY(ritual->isVisible());
        QCOMPARE(f->audio.voiceCount(), 1); // the main window's bell only

        press(ritual, "Button4");
        Form *result = fl.result();
        QVERIFY(result);
        QVERIFY(result->isVisible());
        QCOMPARE(f->app->activeForm(), result);
        QVERIFY(!ritual->isVisible());
        QCOMPARE(*fl.stage, 0);
        QCOMPARE(drawCaption(ritual), fl.caption);
        QVERIFY(TabbedForm->isVisible());

        // The card is a deck entry as stored, and the module keeps it.
        const QString shown = labelText(result, QStringLiteral("AngelTell1"));
        QVERIFY2(fl.deck().entries.contains(shown), qPrintable(shown));
        QCOMPARE(shown, *fl.cardText);
        // The bell rings from its start.
        QCOMPARE(resultBell(fl)->state(), BellPlayer::State::Playing);
        QCOMPARE(f->audio.log().mid(f->audio.log().size() - 2),
                 (QStringList{"2 created", "2 start 0"}));
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void theStageIsSharedByEveryRitualWindow_data() { addFlowRows(); }

    void theStageIsSharedByEveryRitualWindow()
    {
        QFETCH(Card, card);
        const Flow fl = flow(card);
        Form *first = openRitual(fl);
        press(first, "Button4");

        // The main window is still there beneath; a second ritual window opens over the first.
        Form *second = openRitual(fl);
        QVERIFY(first->isVisible());
        QCOMPARE(labelText(second, fl.ritualLabel), fl.prompt);
        press(second, "Button4");
        QVERIFY2(fl.result() && fl.result()->isVisible(),
                 "the second window's first press reveals the card");
        QVERIFY(!second->isVisible());
        QCOMPARE(*fl.stage, 0);
        QVERIFY(first->isVisible());
        QCOMPARE(labelText(first, fl.ritualLabel), fl.instruction);
    }

    void leavingTheRitualStartsTheNextOneOver_data()
    {
        addFlowColumn();
        QTest::addColumn<bool>("byBackButton");
        QTest::newRow("angel, back") << Card::Angel << true;
        QTest::newRow("angel, system close") << Card::Angel << false;
        QTest::newRow("obstacle, back") << Card::Obstacle << true;
        QTest::newRow("obstacle, system close") << Card::Obstacle << false;
    }

    void leavingTheRitualStartsTheNextOneOver()
    {
        QFETCH(Card, card);
        QFETCH(bool, byBackButton);
        const Flow fl = flow(card);
        Form *ritual = openRitual(fl);
        press(ritual, "Button4");
        if (byBackButton)
            press(ritual, "Button1");
        else
            systemClose(ritual);
        QVERIFY(!ritual->isVisible());
        QCOMPARE(*fl.stage, 0);
        QCOMPARE(f->app->activeForm(), TabbedForm);

        Form *next = openRitual(fl);
        QCOMPARE(labelText(next, fl.ritualLabel), fl.prompt);
        press(next, "Button4");
        QCOMPARE(labelText(next, fl.ritualLabel), fl.instruction);
        QVERIFY(!fl.result());
    }

    void theResultLabelNeverShowsItsOpeningText_data() { addFlowRows(); }

    void theResultLabelNeverShowsItsOpeningText()
    {
        QFETCH(Card, card);
        const Flow fl = flow(card);
        QStringList seen; // the card label each time the result window comes on screen
        m_probe.onEvent = [&](QObject *o, QEvent *e) {
            if (e->type() == QEvent::Show && o == fl.result())
                seen << labelText(fl.result(), QStringLiteral("AngelTell1"));
        };
        Form *result = reachResult(fl);
        m_probe.onEvent = nullptr;

        QCOMPARE(seen.size(), 1);
        QVERIFY2(fl.deck().entries.contains(seen.first()), qPrintable(seen.first()));
        auto *label = get<TextLabel>(result, QStringLiteral("AngelTell1"));
        QCOMPARE(label->palette().color(QPalette::WindowText), fl.cardColour);
        QCOMPARE(label->font().pixelSize(), 17);
        QVERIFY(label->wordWrap());

        press(result, "Button1");
        QCOMPARE(label->text(), fl.resultClose); // written as it hides, never seen
    }

    void backStopsTheBellAndTheSystemCloseDoesNot_data()
    {
        addFlowColumn();
        QTest::addColumn<bool>("byBackButton");
        QTest::newRow("angel, back") << Card::Angel << true;
        QTest::newRow("angel, system close") << Card::Angel << false;
        QTest::newRow("obstacle, back") << Card::Obstacle << true;
        QTest::newRow("obstacle, system close") << Card::Obstacle << false;
    }

    void backStopsTheBellAndTheSystemCloseDoesNot()
    {
        QFETCH(Card, card);
        QFETCH(bool, byBackButton);
        const Flow fl = flow(card);
        Form *result = reachResult(fl);
        BellPlayer *bell = resultBell(fl);
        const int voice = f->audio.voiceCount();
        wait(0.3);

        if (byBackButton)
            press(result, "Button1");
        else
            systemClose(result);
        QVERIFY(!result->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);
        QCOMPARE(labelText(result, QStringLiteral("AngelTell1")), fl.resultClose);
        if (byBackButton) {
            QVERIFY(!f->audio.isSounding(voice));
            QCOMPARE(bell->state(), BellPlayer::State::Ready);
            QCOMPARE(bell->currentTime(), qint64(300000000)); // stopped, not rewound
        } else {
            QVERIFY2(f->audio.isSounding(voice), "the hidden window's bell rings on");
            QCOMPARE(bell->state(), BellPlayer::State::Playing);
        }
    }

    void adviceBuildsTheGuidanceStopsTheBellShowsItThenCloses_data() { addFlowRows(); }

    void adviceBuildsTheGuidanceStopsTheBellShowsItThenCloses()
    {
        QFETCH(Card, card);
        const Flow fl = flow(card);
        Form *result = reachResult(fl);
        BellPlayer *bell = resultBell(fl);
        QStringList steps;
        QSet<QObject *> built;
        m_probe.onEvent = [&](QObject *o, QEvent *e) {
            if (qobject_cast<TForm2 *>(o) && !built.contains(o)) {
                built.insert(o);
                steps << QStringLiteral("guidance built, bell ") + bellState(bell);
            }
            if (qobject_cast<TForm2 *>(o) && e->type() == QEvent::Show)
                steps << QStringLiteral("guidance shown, bell %1, result %2")
                             .arg(bellState(bell), result->isVisible() ? QStringLiteral("open")
                                                                       : QStringLiteral("closed"));
            if (o == result && e->type() == QEvent::Hide)
                steps << QStringLiteral("result closed");
        };
        press(result, "Button4");
        m_probe.onEvent = nullptr;

        QCOMPARE(steps, (QStringList{"guidance built, bell ringing",
                                     "guidance shown, bell silent, result open", "result closed"}));
        QVERIFY(Form2 && Form2->isVisible());
        QCOMPARE(f->app->activeForm(), Form2);
        QVERIFY(f->audio.soundingVoices().isEmpty());

        // Back from the guidance leads to the main window.
        selectTab(Form2, "TabControl4", 2);
        press(Form2, "Button6");
        QVERIFY(!Form2->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);
    }

    void aResultThatCannotBeBuiltLeavesTheRitualOnItsInstruction_data()
    {
        addFlowColumn();
        QTest::addColumn<QString>("message");
        QTest::newRow("angel") << Card::Angel
                               << "Error reading MediaPlayer3.FileName: File not found.";
        QTest::newRow("obstacle") << Card::Obstacle
                                  << "Error reading MediaPlayer4.FileName: File not found.";
    }

    void aResultThatCannotBeBuiltLeavesTheRitualOnItsInstruction()
    {
        QFETCH(Card, card);
        QFETCH(QString, message);
        const Flow fl = flow(card);
        Form *ritual = openRitual(fl);
        press(ritual, "Button4");
        f->removeBell();
        press(ritual, "Button4");

        QCOMPARE(f->boxes.boxes.size(), 1);
        QCOMPARE(f->boxes.boxes.first().title, QStringLiteral("Error"));
        QCOMPARE(f->boxes.boxes.first().text, message);
        QCOMPARE(f->boxes.boxes.first().owner.data(), ritual);
        QVERIFY2(!fl.result(), "the failed window's name refers to no window");
        QVERIFY(ritual->isVisible());
        QCOMPARE(f->app->activeForm(), ritual);
        QCOMPARE(labelText(ritual, fl.ritualLabel), fl.instruction);
        QCOMPARE(*fl.stage, 1);
        QCOMPARE(AngelDrawMark, 0);
        QVERIFY2(fl.cardText->isEmpty(), "no card is drawn");
        QCOMPARE(f->app->owned().size(), 2); // the main and the ritual window

        // Each further press tries again.
        f->restoreBell();
        press(ritual, "Button4");
        QVERIFY(fl.result() && fl.result()->isVisible());
        QVERIFY(!ritual->isVisible());
        QCOMPARE(*fl.stage, 0);
        QCOMPARE(f->boxes.boxes.size(), 1);
    }

    // --- The angel flow --------------------------------------------------------------------

    void aSetDrawMarkBlocksTheAngelDrawButton_data()
    {
        QTest::addColumn<int>("presses"); // made before the mark is set
        QTest::addColumn<int>("mark");
        QTest::newRow("prompt") << 0 << 1;
        QTest::newRow("instruction") << 1 << 1;
        QTest::newRow("any value but 0") << 1 << -7;
    }

    void aSetDrawMarkBlocksTheAngelDrawButton()
    {
        QFETCH(int, presses);
        QFETCH(int, mark);
        Form *ritual = openRitual(flow(Card::Angel));
        for (int i = 0; i < presses; ++i)
            press(ritual, "Button4");
        const QString before = labelText(ritual, QStringLiteral("AngelTell1"));
        AngelDrawMark = mark;

        press(ritual, "Button4");
        press(ritual, "Button4");
        QCOMPARE(labelText(ritual, QStringLiteral("AngelTell1")), before);
        QCOMPARE(AngelRitualStage, presses);
        QCOMPARE(AngelDrawMark, mark);
        QVERIFY(!Form7);
        QVERIFY(ritual->isVisible());

        AngelDrawMark = 0; // the button works again
        press(ritual, "Button4");
        QCOMPARE(AngelRitualStage, 1 - presses);
    }

    void everyAngelDrawSetsTheMarkAndTheRitualClearsIt_data()
    {
        QTest::addColumn<quint64>("counter"); // the clock reading that seeds the draw
        QTest::newRow("zero") << quint64(0);
        QTest::newRow("small") << quint64(12345);
        QTest::newRow("high bits only") << quint64(0xFFFFFFFF00000000ull);
        QTest::newRow("all ones") << quint64(0xFFFFFFFFFFFFFFFFull);
    }

    void everyAngelDrawSetsTheMarkAndTheRitualClearsIt()
    {
        QFETCH(quint64, counter);
        f->clock.counter = counter;
        QList<int> markWhenShown;
        m_probe.onEvent = [&](QObject *o, QEvent *e) {
            if (e->type() == QEvent::Show && o == Form7)
                markWhenShown << AngelDrawMark;
        };
        reachResult(flow(Card::Angel));
        QCOMPARE(markWhenShown, QList<int>{1});
        QCOMPARE(AngelDrawMark, 0);
        QVERIFY(angelDeck().entries.contains(AngelCardText));
    }

    void closingTheAngelRitualClearsTheMarkAndLeavesTheCloseText_data()
    {
        QTest::addColumn<int>("presses");
        QTest::addColumn<bool>("byBackButton");
        QTest::newRow("back at the prompt") << 0 << true;
        QTest::newRow("back at the instruction") << 1 << true;
        QTest::newRow("system close") << 1 << false;
    }

    void closingTheAngelRitualClearsTheMarkAndLeavesTheCloseText()
    {
        QFETCH(int, presses);
        QFETCH(bool, byBackButton);
        Form *ritual = openRitual(flow(Card::Angel));
        for (int i = 0; i < presses; ++i)
            press(ritual, "Button4");
        AngelDrawMark = 1;
        if (byBackButton)
            press(ritual, "Button1");
        else
            systemClose(ritual);
        QCOMPARE(AngelDrawMark, 0);
        QCOMPARE(AngelRitualStage, 0);
        QCOMPARE(labelText(ritual, QStringLiteral("AngelTell1")), kAngelCloseText);
    }

    // --- The obstacle flow -----------------------------------------------------------------

    void theObstacleRitualPutsTheSavedPromptBack_data()
    {
        QTest::addColumn<bool>("earlierWindowPressed");
        QTest::addColumn<int>("presses"); // 2 closes by revealing the card
        QTest::addColumn<bool>("byBackButton");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no first press in the run, back") << false << 0 << true << QString();
        QTest::newRow("no first press in the run, system close")
            << false << 0 << false << QString();
        QTest::newRow("first press, then back") << false << 1 << true << kObstaclePrompt;
        QTest::newRow("revealed") << false << 2 << true << kObstaclePrompt;
        QTest::newRow("first press in an earlier window") << true << 0 << true << kObstaclePrompt;
    }

    void theObstacleRitualPutsTheSavedPromptBack()
    {
        QFETCH(bool, earlierWindowPressed);
        QFETCH(int, presses);
        QFETCH(bool, byBackButton);
        QFETCH(QString, expected);
        const Flow fl = flow(Card::Obstacle);
        if (earlierWindowPressed) {
            Form *earlier = openRitual(fl);
            press(earlier, "Button4");
            press(earlier, "Button1");
        }
        Form *ritual = openRitual(fl);
        for (int i = 0; i < presses; ++i)
            press(ritual, "Button4");
        if (presses < 2) {
            if (byBackButton)
                press(ritual, "Button1");
            else
                systemClose(ritual);
        }
        QVERIFY(!ritual->isVisible());
        QCOMPARE(ObstacleRitualStage, 0);
        QCOMPARE(labelText(ritual, QStringLiteral("AngelTell")), expected);
        QCOMPARE(ObstacleSavedPrompt,
                 earlierWindowPressed || presses > 0 ? kObstaclePrompt : QString());
    }

    // --- Card guidance ---------------------------------------------------------------------

    void everyGuidanceWindowOpensOnAbout_data()
    {
        QTest::addColumn<QString>("opener");
        QTest::newRow("main window") << "main";
        QTest::newRow("angel result") << "angel";
        QTest::newRow("obstacle result") << "obstacle";
        QTest::newRow("after one left on the menu") << "again";
    }

    void everyGuidanceWindowOpensOnAbout()
    {
        QFETCH(QString, opener);
        if (opener == QLatin1String("main")) {
            press(TabbedForm, "Button2");
        } else if (opener == QLatin1String("again")) {
            press(TabbedForm, "Button2");
            selectTab(Form2, "TabControl4", 2);
            press(Form2, "Button6");
            press(TabbedForm, "Button2");
        } else {
            const Flow fl = flow(opener == QLatin1String("angel") ? Card::Angel : Card::Obstacle);
            press(reachResult(fl), "Button4");
        }
        QVERIFY(Form2 && Form2->isVisible());
        auto *tabs = get<TabControl>(Form2, QStringLiteral("TabControl4"));
        QCOMPARE(tabs->activeTab(), get<TabItem>(Form2, QStringLiteral("TabItem15")));
        QCOMPARE(tabs->strip()->tabText(tabs->currentIndex()), QStringLiteral("เกี่ยวกับ"));
        QVERIFY(get<TabItem>(Form2, QStringLiteral("TabItem15"))->isVisible());
        QVERIFY(!get<TabItem>(Form2, QStringLiteral("TabItem17"))->isVisible());
    }

    void theVideoButtonAsksTheShellOnEveryPressAndChangesNothingElse()
    {
        press(TabbedForm, "Button2");
        Form *guidance = Form2;
        selectTab(guidance, "TabControl4", 2);
        const QStringList sounds = f->audio.log();
        press(guidance, "Button3");
        press(guidance, "Button3");
        const QString address = QStringLiteral(QUORLIN_CARD_VIDEO_URL);
        QCOMPARE(f->shell.opened, (QStringList{address, address}));
        QVERIFY(address.startsWith(QLatin1String("https://")));
        QVERIFY(guidance->isVisible());
        QCOMPARE(Form2, guidance);
        QCOMPARE(f->app->activeForm(), guidance);
        QCOMPARE(get<TabControl>(guidance, QStringLiteral("TabControl4"))->currentIndex(), 2);
        QCOMPARE(f->audio.log(), sounds);
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void theGuidanceWindowIsLaidOutAsDeclared_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("header") << "HeaderToolBar" << QRect(0, 0, 388, 48);
        QTest::newRow("tabs") << "TabControl4" << QRect(0, 48, 388, 507);
        QTest::newRow("about picture") << "ImageControl6" << QRect(-156, -71, 700, 600);
        QTest::newRow("about text") << "Memo1" << QRect(20, 81, 348, 200);
        QTest::newRow("writing text") << "Memo3" << QRect(20, 169, 348, 176);
        QTest::newRow("mascot banner") << "ImageControl3" << QRect(0, 0, 388, 153);
        // Centred in what the banner leaves, between the margins.
        QTest::newRow("back") << "Button6" << QRect(140, 236, 108, 48);
        QTest::newRow("video") << "Button3" << QRect(121, 322, 146, 48);
    }

    void theGuidanceWindowIsLaidOutAsDeclared()
    {
        QFETCH(QString, control);
        QFETCH(QRect, geometry);
        press(TabbedForm, "Button2");
        QCOMPARE(get<QWidget>(Form2, control)->geometry(), geometry);
    }

    void theGuidanceWindowShowsItsHeaderTabsAndPages()
    {
        press(TabbedForm, "Button2");
        QCOMPARE(Form2->windowTitle(), QStringLiteral("คำแนะนำ ไพ่ชีวิต"));
        QCOMPARE(Form2->size(), QSize(388, 555));
        auto *header = get<TextLabel>(Form2, QStringLiteral("ToolBarLabel"));
        QCOMPARE(header->text(), QStringLiteral("คำแนะนำ - ไพ่ชีวิต (Quorlin 2.0)"));
        QVERIFY(header->font().bold());
        TabStrip *strip = get<TabControl>(Form2, QStringLiteral("TabControl4"))->strip();
        QCOMPARE(strip->count(), 3);
        QCOMPARE(strip->tabText(0), QStringLiteral("เกี่ยวกับ"));
        QCOMPARE(strip->tabText(1), QStringLiteral("การบันทึก"));
        QCOMPARE(strip->tabText(2), QStringLiteral("เมนู"));
        QCOMPARE(get<QPushButton>(Form2, QStringLiteral("Button6"))->text(),
                 QStringLiteral("ย้อนกลับ"));
        QCOMPARE(get<QPushButton>(Form2, QStringLiteral("Button3"))->text(),
                 QStringLiteral("ตัวอย่าง-วิดีโอลิงค์"));
        QCOMPARE(get<QPushButton>(Form2, QStringLiteral("Button6"))->nextInFocusChain(),
                 get<QPushButton>(Form2, QStringLiteral("Button3")));

        const QStringList about = get<Memo>(Form2, QStringLiteral("Memo1"))->lines();
        QCOMPARE(about.size(), 8);
        QVERIFY(about.at(0).startsWith(
            QStringLiteral("ไพ่นางฟ้า คือ ข้อความที่บอกใบ้เกี่ยวกับสิ่งสำคัญที่เราควรใส่ใจ")));
        QCOMPARE(about.at(0).size(), 243);
        for (int i = 0; i < about.size(); ++i)
            QCOMPARE(about.at(i).isEmpty(), i == 3 || i == 5);

        const QStringList writing = get<Memo>(Form2, QStringLiteral("Memo3"))->lines();
        QCOMPARE(writing.size(), 9);
        QCOMPARE(writing.at(0), QStringLiteral(" การเขียนบันทึก เป็นเครื่องมือช่วยทบทวนและใคร่ครวญ"
                                               "เกี่ยวกับประเด็นต่างๆ ในที่นี้คือไพ่นางฟ้า"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(writing.at(i).startsWith(QLatin1Char(' ')));
        QVERIFY(writing.at(3).isEmpty());
        for (int i = 4; i < 9; ++i)
            QVERIFY2(writing.at(i).startsWith(QStringLiteral("%1. ").arg(i - 3)),
                     qPrintable(writing.at(i)));
        QVERIFY(f->audio.voiceCount() == 1); // no bell of its own
    }

    // --- The windows themselves ------------------------------------------------------------

    void theMainWindowSilencesItsBellThenOpensAFreshWindow_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("className");
        QTest::addColumn<QString>("caption");
        QTest::newRow("angel card") << "Button8"
                                    << "TForm5"
                                    << "Form5";
        QTest::newRow("obstacle card") << "Button9"
                                       << "TForm4"
                                       << "ไพ่อุปสรรค";
        QTest::newRow("card advice") << "Button2"
                                     << "TForm2"
                                     << "คำแนะนำ ไพ่ชีวิต";
    }

    void theMainWindowSilencesItsBellThenOpensAFreshWindow()
    {
        QFETCH(QString, button);
        QFETCH(QString, className);
        QFETCH(QString, caption);
        BellPlayer *bell = get<BellPlayer>(TabbedForm, QStringLiteral("MediaPlayer1"));
        bell->play();
        wait(0.5);
        QList<Form *> opened;
        for (int i = 0; i < 2; ++i) {
            press(TabbedForm, button.toLatin1().constData());
            Form *window = f->app->activeForm();
            QVERIFY(window != TabbedForm);
            QCOMPARE(window->className(), className);
            QVERIFY(window->isVisible());
            QVERIFY(!opened.contains(window));
            opened << window;
        }
        QCOMPARE(bell->state(), BellPlayer::State::Ready);
        QCOMPARE(bell->currentTime(), 0);
        QCOMPARE(opened.constFirst()->windowTitle(), caption);
        QCOMPARE(opened.constFirst()->size(), QSize(388, 555));
        QCOMPARE(opened.constFirst()->pos(), QPoint(318, 106)); // the desktop centre
        QVERIFY(opened.constFirst()->isVisible());              // the older one stays
    }

    void ritualAndResultWindowsAreLaidOutAsDeclared_data()
    {
        addFlowColumn();
        QTest::addColumn<bool>("result");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("fill");
        QTest::newRow("angel ritual")
            << Card::Angel << false << "Form5" << int(Form::Fill::Kind::Gradient);
        QTest::newRow("angel result")
            << Card::Angel << true << "ไพ่นางฟ้า" << int(Form::Fill::Kind::Picture);
        QTest::newRow("obstacle ritual")
            << Card::Obstacle << false << "ไพ่อุปสรรค" << int(Form::Fill::Kind::Gradient);
        QTest::newRow("obstacle result")
            << Card::Obstacle << true << "ไพ่อุปสรรค" << int(Form::Fill::Kind::Picture);
    }

    void ritualAndResultWindowsAreLaidOutAsDeclared()
    {
        QFETCH(Card, card);
        QFETCH(bool, result);
        QFETCH(QString, caption);
        QFETCH(int, fill);
        const Flow fl = flow(card);
        Form *window = result ? reachResult(fl) : openRitual(fl);
        const QString label = result ? QStringLiteral("AngelTell1") : fl.ritualLabel;
        QCOMPARE(window->windowTitle(), caption);
        QCOMPARE(window->size(), QSize(388, 555));
        QCOMPARE(int(window->fill().kind), fill);
        QCOMPARE(get<QWidget>(window, label)->geometry(), QRect(0, 100, 388, 150));
        QCOMPARE(get<QPushButton>(window, QStringLiteral("Button4"))->geometry(),
                 QRect(125, 354, 138, 48));
        QCOMPARE(get<QPushButton>(window, QStringLiteral("Button1"))->geometry(),
                 QRect(140, 416, 108, 48));
        QCOMPARE(get<QPushButton>(window, QStringLiteral("Button4"))->nextInFocusChain(),
                 get<QPushButton>(window, QStringLiteral("Button1")));
        QCOMPARE(get<QPushButton>(window, QStringLiteral("Button1"))->text(),
                 QStringLiteral("ย้อนกลับ"));
        QCOMPARE(get<TextLabel>(window, label)->font().pixelSize(), 17);
        QCOMPARE(get<TextLabel>(window, label)->alignment(), Qt::AlignHCenter | Qt::AlignVCenter);
    }

    void theBackgroundsAreTheCatalogueOnes()
    {
        Form *angelRitual = openRitual(flow(Card::Angel));
        const QGradientStops angelStops = angelRitual->fill().stops;
        QCOMPARE(angelStops.size(), 2);
        QCOMPARE(angelStops.at(0), QGradientStop(0.0, QColor(Qt::black)));
        QCOMPARE(angelStops.at(1).second, QColor(Qt::white));
        QVERIFY(qAbs(angelStops.at(1).first - 0.5186335444450378) < 1e-12);
        press(angelRitual, "Button1");

        Form *obstacleRitual = openRitual(flow(Card::Obstacle));
        QCOMPARE(obstacleRitual->fill().stops,
                 (QGradientStops{{0.0, QColor(Qt::black)}, {1.0, QColor(Qt::white)}}));
        press(obstacleRitual, "Button1");

        QCOMPARE(reachResult(flow(Card::Angel))->fill().picture.size(), QSize(960, 1280));
        QCOMPARE(reachResult(flow(Card::Obstacle))->fill().picture.size(), QSize(475, 402));
    }

    // --- Texts -----------------------------------------------------------------------------

    void theTextsAreExact_data()
    {
        QTest::addColumn<QString>("which");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("doubleBlanks");
        QTest::newRow("angel prompt") << "angel prompt" << kAngelPrompt << 109 << 0;
        QTest::newRow("angel instruction") << "angel instruction" << kAngelInstruction << 194 << 5;
        QTest::newRow("angel ritual close") << "angel close" << kAngelCloseText << 117 << 0;
        QTest::newRow("angel result, declared")
            << "angel result declared" << kAngelResultText << 30 << 0;
        QTest::newRow("angel result, closed")
            << "angel result closed" << kAngelResultText << 30 << 0;
        QTest::newRow("obstacle prompt") << "obstacle prompt" << kObstaclePrompt << 106 << 0;
        QTest::newRow("obstacle instruction")
            << "obstacle instruction" << kObstacleInstruction << 187 << 4;
        QTest::newRow("obstacle result, declared")
            << "obstacle result declared" << kObstacleResultOpening << 32 << 0;
        QTest::newRow("obstacle result, closed")
            << "obstacle result closed" << kObstacleResultClose << 31 << 0;
    }

    void theTextsAreExact()
    {
        QFETCH(QString, which);
        QFETCH(QString, expected);
        QFETCH(int, length);
        QFETCH(int, doubleBlanks);
        const Flow fl =
            flow(which.startsWith(QLatin1String("angel")) ? Card::Angel : Card::Obstacle);
        QString actual;
        if (which.endsWith(QLatin1String("result declared"))) {
            actual = declaredText(which.startsWith(QLatin1String("angel")) ? "TForm7" : "TForm8",
                                  QStringLiteral("AngelTell1"));
        } else if (which.endsWith(QLatin1String("result closed"))) {
            Form *result = reachResult(fl);
            press(result, "Button1");
            actual = labelText(result, QStringLiteral("AngelTell1"));
        } else {
            Form *ritual = openRitual(fl);
            if (which.endsWith(QLatin1String("instruction")))
                press(ritual, "Button4");
            else if (which.endsWith(QLatin1String("close")))
                press(ritual, "Button1");
            actual = labelText(ritual, fl.ritualLabel);
        }
        QCOMPARE(actual, expected);
        QCOMPARE(actual.size(), length);
        QCOMPARE(int(actual.count(QStringLiteral("  "))), doubleBlanks);
        QVERIFY(!actual.contains(QLatin1Char('\n')));
    }
};

QTEST_MAIN(CardWindowsTest)
#include "tst_cardwindows.moc"
