// SPDX-License-Identifier: GPL-3.0-or-later
#include "deck/drawdeck.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "platform/services.h"
#include "support/fakeclock.h"

#include "readings.h"

#include <QTest>

#include <memory>

using namespace quorlin;
using quorlin::test::FakeClock;

namespace {

const DrawDeck &deckNamed(const QString &name)
{
    if (name == QLatin1String("topic"))
        return topicDeck();
    if (name == QLatin1String("angel"))
        return angelDeck();
    return obstacleDeck();
}

const char *const DeckNames[] = {"topic", "angel", "obstacle"};

} // namespace

// The draw rule shared by the three decks: reseed from the clock, one step, scale to the deck.
class TestDraw : public QObject
{
    Q_OBJECT

private:
    FakeClock m_clock;
    std::unique_ptr<ScopedServices> m_services;

    int drawWithCounter(const DrawDeck &deck, std::uint64_t counter)
    {
        m_clock.counterFails = false;
        m_clock.counter = counter;
        return drawIndex(deck);
    }

private slots:
    void initTestCase() { m_services = std::make_unique<ScopedServices>(Services{&m_clock}); }
    void cleanupTestCase() { m_services.reset(); }

    void knownReadings_data()
    {
        QTest::addColumn<QString>("deck");
        QTest::addColumn<bool>("counterFails");
        QTest::addColumn<quint64>("counter");
        QTest::addColumn<quint32>("ticks");
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("index");

        struct Known
        {
            quint32 low;
            quint32 seed;
            int topic, angel, obstacle;
        };
        const Known known[] = {
            {0u, 1u, 0, 1, 1},
            {1u, 134775814u, 3, 4, 3},
            {1298181734u, 4294967295u, 107, 101, 80},
        };
        for (const Known &k : known) {
            const int indices[] = {k.topic, k.angel, k.obstacle};
            for (int d = 0; d < 3; ++d) {
                const char *deck = DeckNames[d];
                QTest::addRow("%s, counter %u", deck, k.low)
                    << deck << false << quint64(k.low) << 777u << k.seed << indices[d];
                // Only the low 32 bits of the counter count.
                QTest::addRow("%s, counter %u with high bits", deck, k.low)
                    << deck << false << (0xA5A5A5A500000000ull | k.low) << 777u << k.seed
                    << indices[d];
                // A failing counter falls back to the tick count; the counter value is ignored.
                QTest::addRow("%s, ticks %u after a failed counter read", deck, k.low)
                    << deck << true << 0xDEADBEEFull << k.low << k.seed << indices[d];
            }
        }
    }

    void knownReadings()
    {
        QFETCH(QString, deck);
        QFETCH(bool, counterFails);
        QFETCH(quint64, counter);
        QFETCH(quint32, ticks);
        QFETCH(quint32, seed);
        QFETCH(int, index);

        m_clock.counterFails = counterFails;
        m_clock.counter = counter;
        m_clock.ticks = ticks;
        DrawSeed = 0x12345678u; // whatever an earlier draw left behind
        QCOMPARE(drawIndex(deckNamed(deck)), index);
        QCOMPARE(DrawSeed, seed);
    }

    void readingsDifferingAboveBit31GiveTheSameEntry()
    {
        const quint32 lows[] = {0u,          1u,          2u,          0x7FFFFFFFu, 0x80000000u,
                                0xFFFFFFFEu, 0xFFFFFFFFu, 1298181734u, 0x9E3779B9u, 123456789u};
        const quint64 highs[] = {0x1ull, 0x80000000ull, 0xFFFFFFFFull, 0x00C0FFEEull};
        for (const char *name : DeckNames) {
            const DrawDeck &deck = deckNamed(QString::fromLatin1(name));
            for (quint32 low : lows) {
                const int expected = drawWithCounter(deck, low);
                for (quint64 high : highs) {
                    QVERIFY2(drawWithCounter(deck, (high << 32) | low) == expected,
                             qPrintable(QStringLiteral("%1 deck, low bits %2, high bits %3")
                                            .arg(QLatin1String(name))
                                            .arg(low)
                                            .arg(high, 0, 16)));
                }
            }
        }
    }

    void equalReadingsGiveEqualEntries()
    {
        // Nothing carries over from one draw to the next: a draw in between changes the seed,
        // yet the same reading again gives the same entry.
        for (const char *name : DeckNames) {
            const DrawDeck &deck = deckNamed(QString::fromLatin1(name));
            for (quint32 reading = 5u; reading < 0xF0000000u; reading += 0x0F1E2D3Bu) {
                const int first = drawWithCounter(deck, reading);
                drawWithCounter(deck, ~quint64(reading));
                QCOMPARE(drawWithCounter(deck, reading), first);

                m_clock.counterFails = true;
                m_clock.ticks = reading;
                const int byTicks = drawIndex(deck);
                m_clock.ticks = reading ^ 0x55555555u;
                drawIndex(deck);
                m_clock.ticks = reading;
                QCOMPARE(drawIndex(deck), byTicks);
            }
        }
    }

    void stepIsTheGeneratorAndABijection()
    {
        // seed * 134775813 + 1 mod 2^32, checked against a 64-bit reference.
        const quint32 seeds[] = {0u,          1u,          2u,          0x7FFFFFFFu, 0x80000000u,
                                 0xFFFFFFFFu, 1298181734u, 0x9E3779B9u, 0xDEADBEEFu};
        for (quint32 s : seeds) {
            const quint32 reference = quint32((quint64(s) * test::Multiplier + 1u) & 0xFFFFFFFFull);
            QCOMPARE(stepSeed(s), reference);
        }
        // The multiplier is odd, so it has an inverse modulo 2^32 and the step is one-to-one
        // over all 2^32 seeds: every stepped seed comes from exactly one counter reading.
        QCOMPARE(quint32(test::Multiplier * test::inverseMultiplier()), 1u);
        for (quint32 s : seeds)
            QCOMPARE(stepSeed(test::readingForSeed(s)), s);
    }

    void everyEntryGetsItsShareOfSeeds_data()
    {
        QTest::addColumn<QString>("deck");
        for (const char *name : DeckNames)
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void everyEntryGetsItsShareOfSeeds()
    {
        // Exact, not sampled: the stepped seeds selecting offset r are the range
        // [ceil(r * 2^32 / N), ceil((r + 1) * 2^32 / N)). Count each range, and check at both
        // of its ends that the draw, driven by a counter reading, lands on entry first + r.
        QFETCH(QString, deck);
        const DrawDeck &d = deckNamed(deck);
        const quint64 n = quint64(d.size());
        const quint64 floorShare = (1ull << 32) / n;
        const quint64 ceilShare = floorShare + ((1ull << 32) % n ? 1 : 0);
        quint64 total = 0;
        for (quint64 r = 0; r < n; ++r) {
            const quint64 lo = test::firstSeedFor(r, n);
            const quint64 hi = test::firstSeedFor(r + 1, n);
            const quint64 count = hi - lo;
            QVERIFY2(count == floorShare || count == ceilShare,
                     qPrintable(QStringLiteral("offset %1 has %2 seeds").arg(r).arg(count)));
            total += count;

            const int index = d.first + int(r);
            for (quint64 seed : {lo, hi - 1}) {
                QCOMPARE(drawWithCounter(d, test::readingForSeed(quint32(seed))), index);
                QCOMPARE(DrawSeed, quint32(seed));
            }
            if (r > 0)
                QCOMPARE(scaleSeed(quint32(lo - 1), quint32(n)), quint32(r - 1));
        }
        QCOMPARE(total, 1ull << 32);
    }
};

QTEST_GUILESS_MAIN(TestDraw)
#include "tst_draw.moc"
