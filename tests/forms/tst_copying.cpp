// SPDX-License-Identifier: GPL-3.0-or-later
// Taking the drawn text along: the platform's Copy key in a result window puts the drawn topic
// or card on the clipboard as plain text, and changes nothing else.
#include "../deck/readings.h"
#include "deck/drawdeck.h"
#include "forms/Unit3.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "support/control.h"
#include "support/windowfixture.h"
#include "ui/controls.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

using namespace quorlin;
using namespace quorlin::test;

namespace {

const QString kBefore = QStringLiteral("on the clipboard before");

} // namespace

class CopyingTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    // Points the clock at a reading whose draw selects `index` of `deck`.
    void aimAt(const DrawDeck &deck, int index)
    {
        const auto seed = firstSeedFor(quint64(index - deck.first), quint64(deck.size()));
        f->clock.counter = readingForSeed(quint32(seed));
    }

    template <typename T> Form *openResult(T *&name, const DrawDeck &deck, int index)
    {
        aimAt(deck, index);
        f->app->createForm(name);
        f->app->show(name);
        if (!name)
            qFatal("the result window was not created");
        name->activateWindow();
        QApplication::setActiveWindow(name);
        if (!QTest::qWaitForWindowActive(name))
            qFatal("the result window is not active");
        return name;
    }

    Form *openNamed(const QString &window, int index)
    {
        if (window == QLatin1String("TForm6"))
            return openResult(Form6, topicDeck(), index);
        if (window == QLatin1String("TForm7"))
            return openResult(Form7, angelDeck(), index);
        return openResult(Form8, obstacleDeck(), index);
    }

    static void typeKey(const QKeyCombination &key)
    {
        QWidget *target = QApplication::focusWidget();
        if (!target)
            qFatal("nothing has the keyboard focus");
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->app->startUp();
        QGuiApplication::clipboard()->setText(kBefore);
    }

    void cleanup() { f.reset(); }

    void theCopyKeyTakesTheDrawnTextAlong_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("copied");
        QTest::newRow("topic with three trailing blanks")
            << "TForm6"
            << "toppic1" << 107 << QStringLiteral("ฉันหวังว่าเขา...  ผู้ซึ่ง...   จะ...   เพราะฉัน...   ");
        QTest::newRow("shortest topic") << "TForm6"
                                        << "toppic1" << 103 << QStringLiteral("ฉันขอโทษ...");
        // A card's curly quotation marks are its own, not the label's.
        QTest::newRow("angel card") << "TForm7"
                                    << "AngelTell1" << 71 << QStringLiteral("“สติ”");
        QTest::newRow("obstacle card") << "TForm8"
                                       << "AngelTell1" << 80 << QStringLiteral("“ขาดความนิ่งสงบ”");
    }

    void theCopyKeyTakesTheDrawnTextAlong()
    {
        QFETCH(QString, window);
        QFETCH(QString, label);
        QFETCH(int, index);
        QFETCH(QString, copied);
        const QList<QKeySequence> copyKeys = QKeySequence::keyBindings(QKeySequence::Copy);
        QVERIFY(copyKeys.contains(QKeySequence(Qt::CTRL | Qt::Key_C)));
        for (const QKeySequence &key : copyKeys) {
            Form *form = openNamed(window, index);
            auto *shown = control<TextLabel>(form, label);
            const QString labelText = shown->text();
            QWidget *focused = QApplication::focusWidget();
            const QStringList sounds = f->audio.log();
            QGuiApplication::clipboard()->setText(kBefore);

            typeKey(key[0]);
            const QString what = key.toString();
            QVERIFY2(QGuiApplication::clipboard()->text() == copied, qPrintable(what));
            const QMimeData *data = QGuiApplication::clipboard()->mimeData();
            QVERIFY2(data && data->hasText() && !data->hasHtml(), qPrintable(what));
            // Nothing else changes.
            QCOMPARE(shown->text(), labelText);
            QVERIFY(form->isVisible());
            QCOMPARE(QApplication::focusWidget(), focused);
            QCOMPARE(f->audio.log(), sounds);
            QVERIFY(f->boxes.boxes.isEmpty());
            f->app->close(form);
        }
    }

    void aClickOnTheLabelStillDoesWhatItDid_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("closes");
        QTest::newRow("topic: closes the window") << "TForm6"
                                                  << "toppic1" << true;
        QTest::newRow("angel card: nothing") << "TForm7"
                                             << "AngelTell1" << false;
        QTest::newRow("obstacle card: nothing") << "TForm8"
                                                << "AngelTell1" << false;
    }

    void aClickOnTheLabelStillDoesWhatItDid()
    {
        QFETCH(QString, window);
        QFETCH(QString, label);
        QFETCH(bool, closes);
        Form *form = openNamed(window, 1);
        typeKey(QKeyCombination(Qt::ControlModifier, Qt::Key_C));
        const QString copied = QGuiApplication::clipboard()->text();
        QVERIFY(copied != kBefore);
        auto *shown = control<TextLabel>(form, label);
        QTest::mouseClick(shown, Qt::LeftButton, {}, shown->rect().center());
        QCOMPARE(form->isVisible(), !closes);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
    }

    void eachResultWindowCopiesItsOwnDraw()
    {
        // An older window, still open under a newer one, copies the card it drew, not the
        // last one drawn.
        Form *older = openNamed(QStringLiteral("TForm7"), 1);
        openNamed(QStringLiteral("TForm7"), 101);
        QCOMPARE(AngelCardText, QStringLiteral("“การตื่นขึ้น”"));
        older->activateWindow();
        QApplication::setActiveWindow(older);
        QVERIFY(QTest::qWaitForWindowActive(older));
        typeKey(QKeyCombination(Qt::ControlModifier, Qt::Key_C));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("“วินัย”"));
    }

    void theCopyKeyElsewhereLeavesTheClipboardAlone()
    {
        // A ritual window has drawn nothing.
        TopicRitualStage = 0;
        f->app->createForm(Form3);
        f->app->show(Form3);
        Form3->activateWindow();
        QApplication::setActiveWindow(Form3);
        QVERIFY(QTest::qWaitForWindowActive(Form3));
        typeKey(QKeyCombination(Qt::ControlModifier, Qt::Key_C));
        QCOMPARE(QGuiApplication::clipboard()->text(), kBefore);
        QCOMPARE(TopicRitualStage, 0);
    }
};

QTEST_MAIN(CopyingTest)
#include "tst_copying.moc"
