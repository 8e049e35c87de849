// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "forms/ritualwindow.h"

#include <cstdint>

namespace quorlin {

// 0 while an angel ritual window shows its prompt, 1 while it shows the breathing instruction.
// Shared by every angel ritual window.
extern std::int32_t AngelRitualStage;

// Angel ritual window: two presses of the draw button lead to a freshly drawn angel card.
class TForm5 : public RitualWindow
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TextLabel *AngelTell1 MEMBER m_label)

public:
    TForm5();

public slots:
    // Closing also hands back a drawn card's block on the draw button.
    void FormClose(QObject *sender, quorlin::CloseAction &action);

protected:
    bool drawAllowed() const override;
    void openResult() override;
};

// The angel ritual window's name: the newest instance, or none.
extern TForm5 *Form5;

} // namespace quorlin
