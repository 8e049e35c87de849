// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/ritualwindow.h"

#include <cstdint>

namespace quorlin {

// 0 while a topic ritual window shows its prompt, 1 while it shows the breathing instruction.
// Shared by every topic ritual window.
extern std::int32_t TopicRitualStage;

// Topic ritual window: two presses of the draw button lead to a freshly drawn topic.
class TForm3 : public RitualWindow
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TextLabel *toppic1 MEMBER m_label)

public:
    TForm3();

protected:
    void openResult() override;
};

// The topic ritual window's name: the newest instance, or none.
extern TForm3 *Form3;

} // namespace quorlin
