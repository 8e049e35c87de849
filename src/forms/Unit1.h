// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"
#include "bell/bellplayer.h"
#include "ui/tabcontrol.h"

namespace quorlin {

// Topic guidance window: how to write with the journal topics, with a bell on its first picture.
class TForm1 : public Form
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TabControl *TabControl3 MEMBER TabControl3)
    Q_PROPERTY(quorlin::TabItem *TabItem10 MEMBER TabItem10)
    Q_PROPERTY(quorlin::BellPlayer *MediaPlayer1 MEMBER MediaPlayer1)

public:
    TForm1();

public slots:
    void FormCreate(QObject *sender);
    void ImageControl6Click(QObject *sender);
    void Button6Click(QObject *sender);
    void Button3Click(QObject *sender);

private:
    TabControl *TabControl3 = nullptr;
    TabItem *TabItem10 = nullptr;
    BellPlayer *MediaPlayer1 = nullptr;
};

// The topic guidance window's name: the newest instance, or none.
extern TForm1 *Form1;

} // namespace quorlin
