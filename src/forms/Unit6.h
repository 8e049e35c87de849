#pragma once

#include "deck/drawdeck.h"

#include <QString>

namespace quorlin {

// The text of the last topic draw, unframed; empty until the first draw of the run.
extern QString TopicText;

// The topic deck: 108 journaling prompts, indices 0..107, shown between straight quotation marks.
const DrawDeck &topicDeck();

// The topic result window's draw: draws from the topic deck, keeps the text in TopicText and
// returns it framed for the window's label.
QString drawTopic();

} // namespace quorlin
