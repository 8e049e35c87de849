// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/exception.h"
#include "deck/drawdeck.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "platform/services.h"
#include "support/fakeclock.h"

#include "readings.h"
#include "writtentexts.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QTest>

#include <iterator>
#include <memory>

using namespace quorlin;
using quorlin::test::FakeClock;

namespace {

const QChar OpenQuote(0x201C);
const QChar CloseQuote(0x201D);

const DrawDeck &deckNamed(const QString &name)
{
    if (name == QLatin1String("topic"))
        return topicDeck();
    if (name == QLatin1String("angel"))
        return angelDeck();
    return obstacleDeck();
}

// Groups of indices that hold the same text, each group in index order.
QList<QList<int>> repeatedTexts(const DrawDeck &deck)
{
    QHash<QString, QList<int>> byText;
    QList<QString> order;
    for (int i = deck.first; i <= deck.last(); ++i) {
        if (!byText.contains(deck.text(i)))
            order.append(deck.text(i));
        byText[deck.text(i)].append(i);
    }
    QList<QList<int>> groups;
    for (const QString &text : order) {
        if (byText.value(text).size() > 1)
            groups.append(byText.value(text));
    }
    return groups;
}

qsizetype trailingBlanks(const QString &text)
{
    qsizetype n = 0;
    while (n < text.size() && text.at(text.size() - 1 - n) == QLatin1Char(' '))
        ++n;
    return n;
}

} // namespace

// The three built-in decks, their loader, and the draws the result windows make from them.
class TestDecks : public QObject
{
    Q_OBJECT

private:
    FakeClock m_clock;
    std::unique_ptr<ScopedServices> m_services;

    // Points the clock at a reading whose draw selects `index` of `deck`.
    void aimAt(const DrawDeck &deck, int index)
    {
        const auto seed = test::firstSeedFor(quint64(index - deck.first), quint64(deck.size()));
        m_clock.counterFails = false;
        m_clock.counter = test::readingForSeed(quint32(seed));
    }

private slots:
    void initTestCase()
    {
        // Before any draw: empty texts, no mark.
        QVERIFY(TopicText.isEmpty());
        QVERIFY(AngelCardText.isEmpty());
        QVERIFY(ObstacleCardText.isEmpty());
        QCOMPARE(AngelDrawMark, 0);
        QCOMPARE(DrawSeed, 0u);
        m_services = std::make_unique<ScopedServices>(Services{&m_clock});
    }
    void cleanupTestCase() { m_services.reset(); }

    void deckShape_data()
    {
        QTest::addColumn<QString>("deck");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("distinct");
        QTest::addColumn<bool>("framed");
        QTest::newRow("topic") << "topic" << 0 << 108 << 106 << true;
        QTest::newRow("angel") << "angel" << 1 << 101 << 101 << false;
        QTest::newRow("obstacle") << "obstacle" << 1 << 80 << 78 << false;
    }

    void deckShape()
    {
        QFETCH(QString, deck);
        QFETCH(int, first);
        QFETCH(int, size);
        QFETCH(int, distinct);
        QFETCH(bool, framed);
        const DrawDeck &d = deckNamed(deck);
        QCOMPARE(d.first, first);
        QCOMPARE(d.size(), size);
        QCOMPARE(d.last(), first + size - 1);
        QCOMPARE(QSet<QString>(d.entries.cbegin(), d.entries.cend()).size(), distinct);
        QCOMPARE(d.display, framed ? DisplayForm::Framed : DisplayForm::AsStored);
    }

    void cardTextsAreQuotedWithNoBlanksInside_data()
    {
        QTest::addColumn<QString>("deck");
        QTest::newRow("angel") << "angel";
        QTest::newRow("obstacle") << "obstacle";
    }

    void cardTextsAreQuotedWithNoBlanksInside()
    {
        QFETCH(QString, deck);
        const DrawDeck &d = deckNamed(deck);
        for (int i = d.first; i <= d.last(); ++i) {
            const QString &t = d.text(i);
            const QString where = QStringLiteral("%1 %2: %3").arg(deck).arg(i).arg(t);
            QVERIFY2(t.size() > 2, qPrintable(where));
            QVERIFY2(t.front() == OpenQuote && t.back() == CloseQuote, qPrintable(where));
            QVERIFY2(!t.at(1).isSpace() && !t.at(t.size() - 2).isSpace(), qPrintable(where));
            const QString inner = t.mid(1, t.size() - 2);
            QVERIFY2(!inner.contains(OpenQuote) && !inner.contains(CloseQuote), qPrintable(where));
        }
    }

    void cardRepeatsAndLookAlikes()
    {
        const QList<QList<int>> obstacleRepeats{{23, 43}, {24, 54}};
        QCOMPARE(repeatedTexts(obstacleDeck()), obstacleRepeats);
        QCOMPARE(obstacleDeck().text(23), QStringLiteral("“ใจแคบ”"));
        QCOMPARE(obstacleDeck().text(24), QStringLiteral("“เอาตนเป็นศูนย์กลาง”"));

        QVERIFY(repeatedTexts(angelDeck()).isEmpty());
        QCOMPARE(angelDeck().text(58), QStringLiteral("“สัญญาณ”"));
        QCOMPARE(angelDeck().text(59), QStringLiteral("“สัญญา”"));
    }

    void cardEnds_data()
    {
        QTest::addColumn<QString>("deck");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::newRow("angel 1") << "angel" << 1 << QStringLiteral("“วินัย”");
        QTest::newRow("angel 71") << "angel" << 71 << QStringLiteral("“สติ”");
        QTest::newRow("angel 101") << "angel" << 101 << QStringLiteral("“การตื่นขึ้น”");
        QTest::newRow("obstacle 1") << "obstacle" << 1 << QStringLiteral("“การหมกมุ่น”");
        QTest::newRow("obstacle 80") << "obstacle" << 80 << QStringLiteral("“ขาดความนิ่งสงบ”");
    }

    void cardEnds()
    {
        QFETCH(QString, deck);
        QFETCH(int, index);
        QFETCH(QString, text);
        QCOMPARE(deckNamed(deck).text(index), text);
    }

    void everyCardAsWritten_data()
    {
        QTest::addColumn<QString>("deck");
        QTest::newRow("angel") << "angel";
        QTest::newRow("obstacle") << "obstacle";
    }

    void everyCardAsWritten()
    {
        // Every entry in order against the copy kept with the tests, as UTF-8 bytes: a changed
        // tone mark, a swapped pair or a card lost at either end shows here.
        QFETCH(QString, deck);
        const DrawDeck &d = deckNamed(deck);
        QList<QByteArray> written;
        if (deck == QLatin1String("angel"))
            written = {std::begin(test::WrittenAngelTexts), std::end(test::WrittenAngelTexts)};
        else
            written = {std::begin(test::WrittenObstacleTexts), std::end(test::WrittenObstacleTexts)};
        QCOMPARE(d.first, 1);
        QCOMPARE(d.size(), int(written.size()));
        for (int i = d.first; i <= d.last(); ++i) {
            const QByteArray stored = d.text(i).toUtf8();
            QVERIFY2(stored == written.at(i - 1),
                     qPrintable(QStringLiteral("%1 %2: %3, written %4")
                                    .arg(deck)
                                    .arg(i)
                                    .arg(d.text(i), QString::fromUtf8(written.at(i - 1)))));
        }
    }

    void topicSamplesAreVerbatim_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("text");
        for (const test::WrittenTopic &topic : test::WrittenTopics)
            QTest::addRow("%d", topic.index) << topic.index << QByteArray(topic.text);
    }

    void topicSamplesAreVerbatim()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, text);
        QCOMPARE(topicDeck().text(index).toUtf8(), text);
    }

    void topicTextFacts()
    {
        const DrawDeck &d = topicDeck();
        QSet<int> oneTrailingBlank;
        QSet<int> withCurlyQuotes;
        int withBlankRuns = 0;
        for (int i = d.first; i <= d.last(); ++i) {
            const QString &t = d.text(i);
            const QString where = QStringLiteral("topic %1: \"%2\"").arg(i).arg(t);
            QVERIFY2(t.size() >= 11 && t.size() <= 173, qPrintable(where));
            QVERIFY2(!t.front().isSpace(), qPrintable(where));
            QVERIFY2(!t.contains(QLatin1String("    ")), qPrintable(where));
            QVERIFY2(!t.contains(QLatin1Char('"')), qPrintable(where));
            const qsizetype trailing = trailingBlanks(t);
            if (i == 107)
                QVERIFY2(trailing == 3, qPrintable(where));
            else if (trailing == 1)
                oneTrailingBlank.insert(i);
            else
                QVERIFY2(trailing == 0, qPrintable(where));
            if (t.trimmed().contains(QLatin1String("  ")))
                ++withBlankRuns;
            if (t.contains(OpenQuote) || t.contains(CloseQuote)) {
                withCurlyQuotes.insert(i);
                // Inside the text, in pairs, an opening mark before each closing one.
                QVERIFY2(t.front() != OpenQuote && t.back() != CloseQuote, qPrintable(where));
                QVERIFY2(t.count(OpenQuote) == t.count(CloseQuote), qPrintable(where));
                qsizetype from = 0;
                while ((from = t.indexOf(OpenQuote, from)) >= 0) {
                    const qsizetype close = t.indexOf(CloseQuote, from);
                    const qsizetype nextOpen = t.indexOf(OpenQuote, from + 1);
                    QVERIFY2(close > from && (nextOpen < 0 || close < nextOpen), qPrintable(where));
                    from = close;
                }
            }
        }
        QCOMPARE(oneTrailingBlank, (QSet<int>{20, 50, 70, 88, 100}));
        QCOMPARE(withCurlyQuotes, (QSet<int>{56, 60, 82}));
        QVERIFY2(
            withBlankRuns >= d.size() / 2,
            qPrintable(QStringLiteral("only %1 entries keep runs of blanks").arg(withBlankRuns)));
        const QList<QList<int>> repeats{{10, 40}, {11, 41}};
        QCOMPARE(repeatedTexts(d), repeats);
    }

    void topicDrawIsFramed_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("first") << 0;
        QTest::newRow("curly quotes inside, 56") << 56;
        QTest::newRow("curly quotes inside, 60") << 60;
        QTest::newRow("curly quotes inside, 82") << 82;
        QTest::newRow("one trailing blank, 88") << 88;
        QTest::newRow("shortest, 103") << 103;
        QTest::newRow("three trailing blanks, 107") << 107;
    }

    void topicDrawIsFramed()
    {
        QFETCH(int, index);
        const QString stored = topicDeck().text(index);
        aimAt(topicDeck(), index);
        const QString shown = drawTopic();
        QCOMPARE(TopicText, stored);
        QCOMPARE(shown, QLatin1Char('"') + stored + QLatin1Char('"'));
        if (index == 103) {
            QCOMPARE(shown, QStringLiteral("\"ฉันขอโทษ...\""));
            QCOMPARE(shown.size() - 2, 11);
        }
        if (index == 107)
            QVERIFY(shown.endsWith(QLatin1String("...   \"")));
    }

    void cardDraws_data()
    {
        QTest::addColumn<QString>("deck");
        QTest::addColumn<int>("index");
        QTest::newRow("angel 1") << "angel" << 1;
        QTest::newRow("angel 71") << "angel" << 71;
        QTest::newRow("angel 101") << "angel" << 101;
        QTest::newRow("obstacle 1") << "obstacle" << 1;
        QTest::newRow("obstacle 43") << "obstacle" << 43;
        QTest::newRow("obstacle 80") << "obstacle" << 80;
    }

    void cardDraws()
    {
        // Each draw writes its own deck's variables and leaves the others alone; the card is
        // shown exactly as stored.
        QFETCH(QString, deck);
        QFETCH(int, index);
        const QString stored = deckNamed(deck).text(index);
        aimAt(topicDeck(), 5);
        drawTopic();
        const QString topicBefore = TopicText;
        AngelCardText = QStringLiteral("before");
        ObstacleCardText = QStringLiteral("before");
        AngelDrawMark = 0;

        aimAt(deckNamed(deck), index);
        if (deck == QLatin1String("angel")) {
            QCOMPARE(drawAngelCard(), stored);
            QCOMPARE(AngelCardText, stored);
            QCOMPARE(AngelDrawMark, 1);
            QCOMPARE(ObstacleCardText, QStringLiteral("before"));
        } else {
            QCOMPARE(drawObstacleCard(), stored);
            QCOMPARE(ObstacleCardText, stored);
            QCOMPARE(AngelDrawMark, 0);
            QCOMPARE(AngelCardText, QStringLiteral("before"));
        }
        QCOMPARE(TopicText, topicBefore);
    }

    void malformedDeckIsRejected_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::newRow("entry missing") << QByteArray("1\ta\n2\tb\n");
        QTest::newRow("entry too many") << QByteArray("1\ta\n2\tb\n3\tc\n4\td\n");
        QTest::newRow("gap in indices") << QByteArray("1\ta\n3\tb\n4\tc\n");
        QTest::newRow("indices out of order") << QByteArray("2\ta\n1\tb\n3\tc\n");
        QTest::newRow("index repeated") << QByteArray("1\ta\n1\tb\n2\tc\n");
        QTest::newRow("index not a number") << QByteArray("1\ta\nx\tb\n3\tc\n");
        QTest::newRow("index with a blank") << QByteArray("1\ta\n 2\tb\n3\tc\n");
        QTest::newRow("no tab") << QByteArray("1\ta\n2 b\n3\tc\n");
        QTest::newRow("empty text") << QByteArray("1\ta\n2\t\n3\tc\n");
        QTest::newRow("blank text") << QByteArray("1\ta\n2\t   \n3\tc\n");
        QTest::newRow("blank line") << QByteArray("1\ta\n\n2\tb\n3\tc\n");
        QTest::newRow("carriage returns") << QByteArray("1\ta\r\n2\tb\r\n3\tc\r\n");
        QTest::newRow("second tab") << QByteArray("1\ta\n2\tb\tb\n3\tc\n");
        QTest::newRow("invalid UTF-8") << QByteArray("1\ta\n2\t\xE0\xB8\n3\tc\n");
        QTest::newRow("empty") << QByteArray();
    }

    void malformedDeckIsRejected()
    {
        QFETCH(QByteArray, data);
        try {
            parseDeck(data, QStringLiteral("sample.txt"), 1, 3, DisplayForm::AsStored);
            QFAIL("a malformed deck was accepted");
        } catch (const Exception &e) {
            QVERIFY2(e.message().contains(QLatin1String("sample.txt")), qPrintable(e.message()));
        }
    }

    void wellFormedDeckKeepsItsTexts()
    {
        // Blanks at the ends, runs of blanks and curly quotes are text, not formatting; the
        // newline after the last entry may be missing.
        const QByteArray data = "0\t“ก ข”\n1\tค  ง   \n2\t จ...";
        const DrawDeck d = parseDeck(data, QStringLiteral("sample.txt"), 0, 3, DisplayForm::Framed);
        QCOMPARE(d.entries, (QStringList{QStringLiteral("“ก ข”"), QStringLiteral("ค  ง   "),
                                         QStringLiteral(" จ...")}));
        QCOMPARE(d.displayText(d.text(1)), QStringLiteral("\"ค  ง   \""));
    }
};

QTEST_GUILESS_MAIN(TestDecks)
#include "tst_decks.moc"
