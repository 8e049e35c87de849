// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"

#include <cstdint>

namespace quorlin {

// 0 while a topic ritual window shows its prompt, 1 while it shows the breathing instruction.
// Shared by every topic ritual window.
extern std::int32_t TopicRitualStage;

// Topic ritual window: two presses of the draw button lead to a freshly drawn topic.
class TForm3 : public Form
{
    Q_OBJECT

public:
    TForm3();

    NotifyHandler notifyHandler(const QString &name) override;
    CloseHandler closeHandler(const QString &name) override;

    void Button4Click(QObject *sender);
    void Button1Click(QObject *sender);
    void FormClose(QObject *sender, CloseAction &action);
};

// The topic ritual window's name: the newest instance, or none.
extern TForm3 *Form3;

} // namespace quorlin
