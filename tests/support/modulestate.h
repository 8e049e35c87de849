// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"

namespace quorlin::test {

// Module state lives for the whole process; each session starts as a fresh run would.
inline void resetModuleState()
{
    TopicRitualStage = 0;
    AngelRitualStage = 0;
    ObstacleRitualStage = 0;
    AngelDrawMark = 0;
    TopicText.clear();
    AngelCardText.clear();
    ObstacleCardText.clear();
    ObstacleSavedPrompt.clear();
}

} // namespace quorlin::test
