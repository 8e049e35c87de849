// SPDX-License-Identifier: GPL-3.0-or-later
#include "deck/decks.h"

#include <array>
#include <optional>

namespace quorlin {

namespace {

struct DeckSource
{
    const char *path;
    int first;
    int size;
    DisplayForm display;
};

// In the order of BuiltInDeck.
constexpr std::array<DeckSource, 3> deckSources{{
    {":/decks/topics.txt", 0, 108, DisplayForm::Framed},
    {":/decks/angels.txt", 1, 101, DisplayForm::AsStored},
    {":/decks/obstacles.txt", 1, 80, DisplayForm::AsStored},
}};

} // namespace

const DrawDeck &builtInDeck(BuiltInDeck which)
{
    // Draws happen on the GUI thread alone.
    static std::array<std::optional<DrawDeck>, deckSources.size()> decks;
    const auto index = static_cast<std::size_t>(which);
    std::optional<DrawDeck> &deck = decks.at(index);
    if (!deck) {
        const DeckSource &source = deckSources.at(index);
        deck = loadDeck(QString::fromLatin1(source.path), source.first, source.size,
                        source.display);
    }
    return *deck;
}

} // namespace quorlin
