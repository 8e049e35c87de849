// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"
#include "bell/bellplayer.h"
#include "ui/tabcontrol.h"

namespace quorlin {

// Main window: the hub with the home, topic, card and about tabs.
class TTabbedForm : public Form
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TabControl *TabControl1 MEMBER TabControl1)
    Q_PROPERTY(quorlin::TabItem *TabItem1 MEMBER TabItem1)
    Q_PROPERTY(quorlin::TabControl *TabControl2 MEMBER TabControl2)
    Q_PROPERTY(quorlin::TabItem *TabItem5 MEMBER TabItem5)
    Q_PROPERTY(quorlin::BellPlayer *MediaPlayer1 MEMBER MediaPlayer1)

public:
    TTabbedForm();

public slots:
    void FormCreate(QObject *sender);
    void ImageControl6Click(QObject *sender);
    void Button1Click(QObject *sender);
    void Button2Click(QObject *sender);
    void Button4Click(QObject *sender);
    void Button5Click(QObject *sender);
    void Button6Click(QObject *sender);
    void Button7Click(QObject *sender);
    void Button8Click(QObject *sender);
    void Button9Click(QObject *sender);

private:
    // Silences the home bell and puts it back to its start before a button does its work.
    void stopAndRewindBell();

    TabControl *TabControl1 = nullptr;
    TabItem *TabItem1 = nullptr;
    TabControl *TabControl2 = nullptr;
    TabItem *TabItem5 = nullptr;
    BellPlayer *MediaPlayer1 = nullptr;
};

// The main window's name: the newest instance, or none.
extern TTabbedForm *TabbedForm;

} // namespace quorlin
