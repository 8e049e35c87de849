// SPDX-License-Identifier: GPL-3.0-or-later
// Thai text reads right: lines break between words, and stacked marks are drawn by the program's
// font, one above another.
#include "platform/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QPainterPath>
#include <QRawFont>
#include <QTest>
#include <QTextBoundaryFinder>
#include <QTextLayout>

using namespace quorlin;

namespace {

// Line break opportunities inside the text, as offsets in UTF-16 code units.
QList<qsizetype> lineBreaks(const QString &text)
{
    QList<qsizetype> out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at > 0 && at < text.size();
         at = finder.toNextBoundary())
        out << at;
    return out;
}

// One shaped glyph: its index and its ink on the line, in pixels (y grows downwards).
struct Glyph
{
    quint32 index;
    QRectF ink;
};

struct Shaped
{
    QString family;
    QRawFont font;
    QList<Glyph> glyphs;
    QRectF ink() const
    {
        QRectF all;
        for (const Glyph &g : glyphs)
            all |= g.ink;
        return all;
    }
};

Shaped shape(const QString &text, const QFont &font)
{
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    Shaped out;
    const QList<QGlyphRun> runs = layout.glyphRuns();
    if (runs.size() != 1)
        qWarning("%s is drawn in %lld runs", qPrintable(text), qlonglong(runs.size()));
    for (const QGlyphRun &run : runs) {
        out.font = run.rawFont();
        out.family = run.rawFont().familyName();
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i)
            out.glyphs.append({indexes.at(i), run.rawFont()
                                                  .pathForGlyph(indexes.at(i))
                                                  .boundingRect()
                                                  .translated(positions.at(i))});
    }
    return out;
}

} // namespace

class ThaiTextTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyPlatformLook(); }

    // Words are separated by "|" where a line must be allowed to break and by "+" inside a
    // compound where it may; nowhere else may a line break.
    void linesBreakBetweenThaiWords_data()
    {
        QTest::addColumn<QString>("words");
        QTest::newRow("everyday sentence") << QStringLiteral("ฉัน|ชอบ|กิน|ข้าว+ผัด");
        QTest::newRow("tone marks and upper vowels") << QStringLiteral("น้ำผึ้ง|ป่า|หวาน|มาก");
        QTest::newRow("the breathing instruction") << QStringLiteral("อยู่|กับ|ตัว+เอง|สัก+ครู่+หนึ่ง");
        QTest::newRow("journal words") << QStringLiteral("เขียน|บันทึก|ทุก|วัน");
    }

    void linesBreakBetweenThaiWords()
    {
        QFETCH(QString, words);
        QString text;
        QList<qsizetype> required, allowed;
        for (const QString &part : words.split(QLatin1Char('|'))) {
            if (!text.isEmpty())
                required << text.size();
            const QStringList pieces = part.split(QLatin1Char('+'));
            for (qsizetype i = 0; i < pieces.size(); ++i) {
                if (!text.isEmpty())
                    allowed << text.size();
                text += pieces.at(i);
            }
        }
        const QList<qsizetype> breaks = lineBreaks(text);
        for (qsizetype at : breaks)
            QVERIFY2(allowed.contains(at),
                     qPrintable(QStringLiteral("a line may break inside a word: %1|%2")
                                    .arg(text.left(at), text.mid(at))));
        for (qsizetype at : required)
            QVERIFY2(breaks.contains(at),
                     qPrintable(QStringLiteral("no line break between %1 and %2; Thai word "
                                               "breaking (libthai) is missing")
                                    .arg(text.left(at), text.mid(at))));
    }

    void aWrappedThaiLabelBreaksOnlyBetweenWords()
    {
        // A narrow layout of the topic prompt wraps it; every line must end at a word edge.
        const QStringList words = QStringLiteral("หัว ข้อ แนะ นำ สำหรับ การ บันทึก ดู แล และ ใคร่ "
                                                 "ครวญ ชีวิต สำหรับ ช่วง นี้")
                                      .split(QLatin1Char(' '));
        const QString text = words.join(QString());
        QCOMPARE(text, QStringLiteral("หัวข้อแนะนำสำหรับการบันทึกดูแลและใคร่ครวญชีวิตสำหรับช่วงนี้"));
        QList<qsizetype> wordEdges;
        for (const QString &w : words)
            wordEdges << (wordEdges.isEmpty() ? 0 : wordEdges.last()) + w.size();
        QTextLayout layout(text, lookFont(17));
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        int lines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(120);
            ++lines;
            const qsizetype end = line.textStart() + line.textLength();
            QVERIFY2(end == text.size() || wordEdges.contains(end),
                     qPrintable(QStringLiteral("line ends inside a word: %1|%2")
                                    .arg(text.left(end), text.mid(end))));
        }
        layout.endLayout();
        QVERIFY2(lines >= 3, "the prompt did not wrap at all");
    }

    void stackedMarksAreDrawnWithTheThaiFace_data()
    {
        QTest::addColumn<QString>("word");
        QTest::newRow("honey") << QStringLiteral("น้ำผึ้ง");
        QTest::newRow("cicada") << QStringLiteral("ปั่นจั๊กจั่น");
        QTest::newRow("angel") << QStringLiteral("นางฟ้า");
    }

    void stackedMarksAreDrawnWithTheThaiFace()
    {
        QFETCH(QString, word);
        const QFont font = lookFont(17);
        const Shaped shaped = shape(word, font);
        // The face in use is one of the program's families and is a Thai face.
        QVERIFY2(font.families().contains(shaped.family),
                 qPrintable(shaped.family + QStringLiteral(" is not one of ") +
                            font.families().join(QLatin1String(", "))));
        QVERIFY(QFontDatabase::writingSystems(shaped.family).contains(QFontDatabase::Thai));
        for (char32_t c : word.toUcs4())
            QVERIFY2(shaped.font.supportsCharacter(c),
                     qPrintable(QStringLiteral("U+%1 is not in %2")
                                    .arg(uint(c), 4, 16, QLatin1Char('0'))
                                    .arg(shaped.family)));
        for (const Glyph &g : shaped.glyphs)
            QVERIFY2(g.index != 0, "a character is drawn as the missing-glyph box");
        // The marks stand above the consonants.
        const Shaped plain = shape(QStringLiteral("น"), font);
        QVERIFY2(shaped.ink().top() < plain.ink().top() - font.pixelSize() * 0.2,
                 qPrintable(QStringLiteral("ink top %1, plain consonant %2")
                                .arg(shaped.ink().top())
                                .arg(plain.ink().top())));
    }

    void aToneMarkSitsAboveTheUpperVowel_data()
    {
        QTest::addColumn<QString>("stacked");  // consonant, upper vowel, tone mark
        QTest::addColumn<QString>("toneOnly"); // the same consonant and tone mark
        QTest::newRow("pan with mai ek") << QStringLiteral("ปั่") << QStringLiteral("ป่");
        QTest::newRow("ja with mai tri") << QStringLiteral("จั๊") << QStringLiteral("จ๊");
        QTest::newRow("phue with mai tho") << QStringLiteral("ผึ้") << QStringLiteral("ผ้");
    }

    void aToneMarkSitsAboveTheUpperVowel()
    {
        QFETCH(QString, stacked);
        QFETCH(QString, toneOnly);
        const QFont font = lookFont(17);
        const Shaped s = shape(stacked, font);
        const Shaped t = shape(toneOnly, font);
        QCOMPARE(s.glyphs.size(), 3);
        QCOMPARE(t.glyphs.size(), 2);
        const QRectF vowel = s.glyphs.at(1).ink;
        const QRectF tone = s.glyphs.at(2).ink;
        // Shaped as a stack: the tone mark is lifted over the vowel instead of striking it.
        QVERIFY2(tone.bottom() <= vowel.top() + 1.0,
                 qPrintable(QStringLiteral("tone mark %1..%2 over vowel %3..%4")
                                .arg(tone.top())
                                .arg(tone.bottom())
                                .arg(vowel.top())
                                .arg(vowel.bottom())));
        QVERIFY(tone.top() < t.glyphs.at(1).ink.top());
    }
};

QTEST_MAIN(ThaiTextTest)
#include "tst_thaitext.moc"
