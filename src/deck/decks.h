// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "deck/drawdeck.h"

namespace quorlin {

// The three decks built into the program (assets/decks), each read on its first use and kept
// for the run. A damaged deck throws Exception, as loadDeck does, and is read again next time.
enum class BuiltInDeck
{
    Topics,    // 108 journaling prompts, indices 0..107, shown between straight quotation marks
    Angels,    // 101 angel cards, indices 1..101, shown as stored
    Obstacles, // 80 obstacle cards, indices 1..80, shown as stored
};
const DrawDeck &builtInDeck(BuiltInDeck which);

inline const DrawDeck &topicDeck() { return builtInDeck(BuiltInDeck::Topics); }
inline const DrawDeck &angelDeck() { return builtInDeck(BuiltInDeck::Angels); }
inline const DrawDeck &obstacleDeck() { return builtInDeck(BuiltInDeck::Obstacles); }

} // namespace quorlin
