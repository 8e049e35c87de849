// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace quorlin {

// How a drawn text becomes the text of a result window's label.
enum class DisplayForm
{
    Framed,   // between two straight quotation marks (U+0022)
    AsStored, // unchanged; the text carries its own quotation marks
};

// A built-in ordered table of texts addressed by index, first..first + size - 1.
struct DrawDeck
{
    int first = 0;
    QStringList entries;
    DisplayForm display = DisplayForm::AsStored;

    int size() const { return int(entries.size()); }
    int last() const { return first + size() - 1; }
    const QString &text(int index) const { return entries.at(index - first); }
    QString displayText(const QString &drawnText) const;
};

// The state of the random generator shared by every draw. Each draw reseeds it from the clock
// before its single step, so its start value (0) never shows.
extern std::uint32_t DrawSeed;

// One generator step: seed * 134775813 + 1, modulo 2^32.
constexpr std::uint32_t stepSeed(std::uint32_t seed)
{
    return seed * 134775813u + 1u;
}

// The offset into a deck of `size` entries that a stepped seed selects: the high 32 bits of the
// exact 64-bit product seed * size.
constexpr std::uint32_t scaleSeed(std::uint32_t seed, std::uint32_t size)
{
    return static_cast<std::uint32_t>((std::uint64_t(seed) * size) >> 32);
}

// Reseeds DrawSeed from the clock in force (low 32 bits of the high-resolution counter, or the
// millisecond tick count when the counter cannot be read), steps it once and returns the index
// it selects in the deck.
int drawIndex(const DrawDeck &deck);

// Draws an index as drawIndex() does and returns that entry's text.
QString drawText(const DrawDeck &deck);

// Draws from `deck`, keeps the drawn text in `kept` and returns it as the deck shows it.
QString drawAndKeep(const DrawDeck &deck, QString &kept);

// Reads a deck from lines "<index><TAB><text>" in UTF-8, indices running from `first` without
// gaps to first + size - 1. Throws quorlin::Exception naming the deck and line when the data is
// not exactly that, so that a damaged deck cannot yield a wrong draw.
DrawDeck parseDeck(const QByteArray &data, const QString &name, int first, int size,
                   DisplayForm display);

// parseDeck() over the built-in resource at `path`.
DrawDeck loadDeck(const QString &path, int first, int size, DisplayForm display);

} // namespace quorlin
