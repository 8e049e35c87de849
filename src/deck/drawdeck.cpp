// SPDX-License-Identifier: GPL-3.0-or-later
#include "deck/drawdeck.h"

#include "base/exception.h"
#include "platform/clock.h"
#include "platform/services.h"

#include <QFile>
#include <QStringDecoder>

namespace quorlin {

std::uint32_t DrawSeed = 0;

QString DrawDeck::displayText(const QString &drawnText) const
{
    if (display == DisplayForm::Framed)
        return QLatin1Char('"') + drawnText + QLatin1Char('"');
    return drawnText;
}

int drawIndex(const DrawDeck &deck)
{
    Clock &clock = *services().clock;
    std::uint64_t counter = 0;
    DrawSeed = clock.readCounter(counter) ? static_cast<std::uint32_t>(counter) : clock.tickCount();
    DrawSeed = stepSeed(DrawSeed);
    return deck.first +
           static_cast<int>(scaleSeed(DrawSeed, static_cast<std::uint32_t>(deck.size())));
}

QString drawText(const DrawDeck &deck)
{
    return deck.text(drawIndex(deck));
}

namespace {

[[noreturn]] void fail(const QString &name, const QString &what)
{
    throw Exception(QStringLiteral("Deck %1: %2").arg(name, what));
}

[[noreturn]] void fail(const QString &name, qsizetype line, const QString &what)
{
    fail(name, QStringLiteral("line %1: %2").arg(line).arg(what));
}

bool isDigits(QStringView s)
{
    if (s.isEmpty())
        return false;
    for (QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

} // namespace

DrawDeck parseDeck(const QByteArray &data, const QString &name, int first, int size,
                   DisplayForm display)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString content = decoder.decode(data);
    if (decoder.hasError())
        fail(name, QStringLiteral("not valid UTF-8"));

    QStringList lines = content.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the newline that ends the last entry

    DrawDeck deck{first, {}, display};
    deck.entries.reserve(size);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const qsizetype lineNo = i + 1;
        const int expected = first + int(i);
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab < 0)
            fail(name, lineNo, QStringLiteral("expected \"<index><TAB><text>\""));
        const QStringView index = QStringView(line).left(tab);
        if (!isDigits(index) || index.toInt() != expected)
            fail(name, lineNo,
                 QStringLiteral("expected index %1, found \"%2\"")
                     .arg(expected)
                     .arg(index.toString()));
        const QString text = line.mid(tab + 1);
        if (text.trimmed().isEmpty())
            fail(name, lineNo, QStringLiteral("entry %1 has no text").arg(expected));
        for (QChar c : text) {
            // Blanks inside a text are kept; other control characters (a second tab, a carriage
            // return from a converted line end) would be shown as garbage.
            if (c.category() == QChar::Other_Control)
                fail(name, lineNo,
                     QStringLiteral("entry %1 holds control character U+%2")
                         .arg(expected)
                         .arg(c.unicode(), 4, 16, QLatin1Char('0')));
        }
        deck.entries.append(text);
    }
    if (deck.size() != size)
        fail(name, QStringLiteral("%1 entries, expected %2").arg(deck.size()).arg(size));
    return deck;
}

QString drawAndKeep(const DrawDeck &deck, QString &kept)
{
    kept = drawText(deck);
    return deck.displayText(kept);
}

DrawDeck loadDeck(const QString &path, int first, int size, DisplayForm display)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path, QStringLiteral("cannot be read: %1").arg(file.errorString()));
    return parseDeck(file.readAll(), path, first, size, display);
}

} // namespace quorlin
