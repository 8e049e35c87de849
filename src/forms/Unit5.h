// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"

#include <cstdint>

namespace quorlin {

// 0 while an angel ritual window shows its prompt, 1 while it shows the breathing instruction.
// Shared by every angel ritual window.
extern std::int32_t AngelRitualStage;

// Angel ritual window: two presses of the draw button lead to a freshly drawn angel card.
class TForm5 : public Form
{
    Q_OBJECT

public:
    TForm5();

    NotifyHandler notifyHandler(const QString &name) override;
    CloseHandler closeHandler(const QString &name) override;

    void Button4Click(QObject *sender);
    void Button1Click(QObject *sender);
    void FormClose(QObject *sender, CloseAction &action);
};

// The angel ritual window's name: the newest instance, or none.
extern TForm5 *Form5;

} // namespace quorlin
