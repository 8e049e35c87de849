// SPDX-License-Identifier: GPL-3.0-or-later
// A long seeded random walk through every window, as a restless user would take it: clicks on
// whatever button or picture is visible, tab changes by mouse and arrow keys, the system's close
// command, time passing. After every action the window model's and the modules' rules must hold.
// QUORLIN_WALK_ACTIONS sets the number of actions, QUORLIN_WALK_SEED the seed.
#include "support/drive.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/pictureview.h"

#include <QRandomGenerator>
#include <QSet>

#include <deque>
#include <functional>

using namespace quorlin;
using namespace quorlin::test;

namespace {

const QString kTopicInstruction = QStringLiteral("อยู่กับตัวเองสักครู่หนึ่ง ก่อนกดปุ่มเดิมอีกครั้ง");
const QString kAngelInstruction = QStringLiteral(
    "หายใจเข้า ผ่อนคลาย  หายใจออกผ่อนคลาย เปิดหัวใจออกกว้าง ใช้ปัญญาภายในจิตใจ  ต้อนรับข่าวสารจากธรรมชาติ  "
    "หลับตาลง...อยู่กับตัวเอง  ปรับคลื่นใจเข้ากับไพ่นางฟ้าสักครู่หนึ่ง...  ก่อนกดปุ่มเดิมอีกครั้ง");
const QString kObstacleInstruction = QStringLiteral(
    "หายใจเข้า ผ่อนคลาย  หายใจออกผ่อนคลาย เปิดหัวใจออกกว้าง ให้ธรรมชาติสะท้อนตัวตนและอุปสรรคในเรา  "
    "หลับตาลง...อยู่กับตัวเอง  ปรับคลื่นใจเข้ากับไพ่อุปสรรคสักครู่หนึ่ง...  ก่อนกดปุ่มเดิมอีกครั้ง");

const QStringList kClasses = {"TTabbedForm", "TForm1", "TForm2", "TForm3", "TForm4",
                              "TForm5",      "TForm6", "TForm7", "TForm8"};

Form *nameOf(const QString &className)
{
    static const QHash<QString, std::function<Form *()>> names = {
        {"TTabbedForm", [] { return static_cast<Form *>(TabbedForm); }},
        {"TForm1", [] { return static_cast<Form *>(Form1); }},
        {"TForm2", [] { return static_cast<Form *>(Form2); }},
        {"TForm3", [] { return static_cast<Form *>(Form3); }},
        {"TForm4", [] { return static_cast<Form *>(Form4); }},
        {"TForm5", [] { return static_cast<Form *>(Form5); }},
        {"TForm6", [] { return static_cast<Form *>(Form6); }},
        {"TForm7", [] { return static_cast<Form *>(Form7); }},
        {"TForm8", [] { return static_cast<Form *>(Form8); }},
    };
    return names.value(className)();
}

void collectDeclaredTexts(const FormNode &node, QSet<QString> &texts)
{
    for (const FormSetting &s : node.settings)
        if (s.name == QLatin1String("Text") && !s.values.isEmpty())
            texts.insert(s.values.first().text);
    for (const auto &child : node.children)
        collectDeclaredTexts(*child, texts);
}

// Every text a label of the program may show: what the windows declare, the three breathing
// instructions, and every draw as it is displayed.
QSet<QString> allowedLabelTexts()
{
    QSet<QString> texts;
    for (const QString &className : kClasses) {
        const FormData data = loadFormData(className);
        collectDeclaredTexts(data.root, texts);
        for (const FormView &view : data.views)
            for (const auto &[member, setting] : view.settings)
                if (setting.name == QLatin1String("Text") && !setting.values.isEmpty())
                    texts.insert(setting.values.first().text);
    }
    texts << kTopicInstruction << kAngelInstruction << kObstacleInstruction;
    for (const QString &topic : topicDeck().entries)
        texts << topicDeck().displayText(topic);
    for (const QString &card : angelDeck().entries)
        texts << card;
    for (const QString &card : obstacleDeck().entries)
        texts << card;
    return texts;
}

int envInt(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

} // namespace

class RandomWalkTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;
    QSet<QString> m_allowed;
    std::deque<QString> m_recent; // the last actions, for the failure message

    void newSession()
    {
        f.reset();
        resetModuleState();
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
    }

    QList<Form *> visibleWindows() const
    {
        QList<Form *> visible;
        for (Form *form : f->app->windows())
            if (form->isVisible())
                visible << form;
        return visible;
    }

    // Empty when every rule holds; otherwise what broke.
    QString brokenRule() const
    {
        if (!f->boxes.boxes.isEmpty())
            return "an error box appeared: " + f->boxes.boxes.first().text;

        // Each name refers to the newest instance of its class.
        for (const QString &className : kClasses) {
            Form *newest = nullptr;
            for (Form *form : f->app->owned())
                if (form->className() == className)
                    newest = form;
            if (nameOf(className) != newest)
                return className + "'s name does not refer to its newest instance";
        }

        // The main window stays on screen; the active window is the one last activated among
        // those on screen.
        const QList<Form *> visible = visibleWindows();
        if (!TabbedForm || !TabbedForm->isVisible())
            return "the main window left the screen";
        if (f->app->activeForm() != visible.last())
            return QStringLiteral("active window %1, expected %2")
                .arg(f->app->activeForm() ? f->app->activeForm()->className() : "none",
                     visible.last()->className());
        for (Form *form : f->app->owned())
            if (form->closing || form->showing)
                return form->className() + " was left closing or showing";

        // Ritual stages, the angel mark and the drawn texts.
        for (std::int32_t stage : {TopicRitualStage, AngelRitualStage, ObstacleRitualStage})
            if (stage != 0 && stage != 1)
                return QStringLiteral("a ritual stage is %1").arg(stage);
        // Every angel draw hands its card over to the result window in the same handler, which
        // clears the mark; a mark left set would block the angel ritual's button for good.
        if (AngelDrawMark != 0)
            return QStringLiteral("the angel mark was left at %1").arg(AngelDrawMark);
        if (!TopicText.isEmpty() && !topicDeck().entries.contains(TopicText))
            return "the topic text is not a topic: " + TopicText;
        if (!AngelCardText.isEmpty() && !angelDeck().entries.contains(AngelCardText))
            return "the angel card text is not a card: " + AngelCardText;
        if (!ObstacleCardText.isEmpty() && !obstacleDeck().entries.contains(ObstacleCardText))
            return "the obstacle card text is not a card: " + ObstacleCardText;

        for (Form *form : visible)
            for (QLabel *label : form->findChildren<QLabel *>())
                if (label->isVisible() && !m_allowed.contains(label->text()))
                    return QStringLiteral("%1.%2 shows a text the program never gives: %3")
                        .arg(form->className(), label->objectName(), label->text());
        return {};
    }

    // Does one action on the windows on screen and says what it did. Returns false when the
    // action ended the program.
    bool act(QRandomGenerator &rng, QString &what)
    {
        QList<Form *> visible = visibleWindows();
        Form *target = f->app->activeForm();
        if (!target || rng.bounded(10) == 0) {
            // Now and then the user brings an older window forward first, as a click on it does.
            target = visible.at(rng.bounded(int(visible.size())));
            target->raise();
            f->app->windowActivated(target);
        }
        what = target->className() + ": ";

        const int kind = rng.bounded(100);
        // Ending the program cuts a walk short; the main window's exit is taken only now and
        // then, so that walks reach many windows deep.
        const auto holdBackExit = [&] { return target == TabbedForm && rng.bounded(8) != 0; };
        if (kind < 4) {
            if (holdBackExit()) {
                what += "exit held back";
                return true;
            }
            what += "system close";
            systemClose(target);
        } else if (kind < 10) {
            const int ms = rng.bounded(3000);
            what += QStringLiteral("%1 ms pass").arg(ms);
            f->clock.nowNs += qint64(ms) * 1000000;
        } else if (kind < 25) {
            QList<TabStrip *> strips;
            for (TabStrip *strip : target->findChildren<TabStrip *>())
                if (strip->isVisible())
                    strips << strip;
            if (strips.isEmpty()) {
                what += "nothing to tab";
            } else {
                TabStrip *strip = strips.at(rng.bounded(int(strips.size())));
                if (kind < 18) {
                    const int index = rng.bounded(strip->count());
                    what += QStringLiteral("tab %1").arg(index);
                    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(index).center());
                } else {
                    const bool left = kind < 22;
                    what += left ? "Left key" : "Right key";
                    QTest::keyClick(strip, left ? Qt::Key_Left : Qt::Key_Right);
                }
            }
        } else {
            // Buttons are what moves a user on; pictures and labels are clicked less often,
            // or the walk would linger on the pages full of pictures.
            QList<QWidget *> buttons;
            QList<QWidget *> others;
            for (QWidget *w : target->findChildren<QWidget *>()) {
                if (!w->isVisible())
                    continue;
                if (qobject_cast<QPushButton *>(w))
                    buttons << w;
                else if (qobject_cast<PictureView *>(w) || qobject_cast<TextLabel *>(w))
                    others << w;
            }
            const QList<QWidget *> &clickable =
                (!buttons.isEmpty() && (others.isEmpty() || rng.bounded(4) != 0)) ? buttons
                                                                                  : others;
            if (clickable.isEmpty()) {
                what += "nothing to click";
            } else {
                QWidget *w = clickable.at(rng.bounded(int(clickable.size())));
                if (w->objectName() == QLatin1String("Button1") && holdBackExit()) {
                    what += "exit held back";
                    return true;
                }
                what += "click " + w->objectName();
                // Pictures overhang their pages; click where the page shows them.
                QRect shown = w->visibleRegion().boundingRect();
                if (shown.isEmpty())
                    shown = w->rect();
                QTest::mouseClick(w, Qt::LeftButton, {}, shown.center());
            }
        }
        return !f->app->terminateRequested();
    }

private slots:
    void initTestCase() { m_allowed = allowedLabelTexts(); }
    void cleanup() { f.reset(); }

    void rulesHoldAfterEveryAction()
    {
        const int actions = envInt("QUORLIN_WALK_ACTIONS", 2000);
        const quint32 seed = quint32(envInt("QUORLIN_WALK_SEED", 20150601));
        QRandomGenerator rng(seed);
        int sessions = 1;
        qsizetype mostWindows = 0;
        newSession();
        for (int i = 0; i < actions; ++i) {
            QString what;
            const bool goesOn = act(rng, what);
            m_recent.push_back(what);
            if (qEnvironmentVariableIsSet("QUORLIN_WALK_TRACE"))
                qInfo("%d %s", i + 1, qPrintable(what));
            if (m_recent.size() > 12)
                m_recent.pop_front();
            if (!goesOn) {
                // The program ended (its exit button or the main window's close): a new run.
                newSession();
                ++sessions;
                continue;
            }
            mostWindows = std::max(mostWindows, f->app->owned().size());
            const QString broken = brokenRule();
            if (!broken.isEmpty()) {
                QStringList recent(m_recent.begin(), m_recent.end());
                QFAIL(qPrintable(QStringLiteral("seed %1, action %2 of %3: %4\nlast actions:\n  %5")
                                     .arg(seed)
                                     .arg(i + 1)
                                     .arg(actions)
                                     .arg(broken, recent.join("\n  "))));
            }
        }
        qInfo("seed %u: %d actions over %d runs, at most %lld windows in one run", seed, actions,
              sessions, qlonglong(mostWindows));
    }
};

QTEST_MAIN(RandomWalkTest)
#include "tst_randomwalk.moc"
