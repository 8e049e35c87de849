// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Drives the program's windows as a person would, for the fault suites.
#include "app/application.h"
#include "bell/bellplayer.h"
#include "forms/TabbedTemplate.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "support/modulestate.h"
#include "ui/tabcontrol.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QTest>

namespace quorlin::test {

inline void press(QWidget *form, const char *button)
{
    auto *b = form ? form->findChild<QPushButton *>(QString::fromLatin1(button)) : nullptr;
    if (!b)
        qFatal("no button %s", button);
    QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
}

inline void selectTab(QWidget *form, const char *tabControl, int index)
{
    auto *control = form->findChild<TabControl *>(QString::fromLatin1(tabControl));
    if (!control)
        qFatal("no tab control %s", tabControl);
    TabStrip *strip = control->strip();
    QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(index).center());
}

// The system's close command (a window manager's close, Alt+F4).
inline void systemClose(QWidget *form)
{
    QCloseEvent close;
    QApplication::sendEvent(form, &close);
}

inline BellPlayer *bellOf(Form *form)
{
    if (!form)
        return nullptr;
    const QList<BellPlayer *> players = form->findChildren<BellPlayer *>();
    return players.isEmpty() ? nullptr : players.first();
}

// The main window's tabs.
enum MainTab
{
    HomeTab = 0,
    TopicTab = 1,
    CardTab = 2,
    AboutTab = 3
};

// Topic ritual to its result window, from the main window.
inline void drawTopicFromMain()
{
    selectTab(TabbedForm, "TabControl1", TopicTab);
    press(TabbedForm, "Button6");
    press(Form3, "Button4");
    press(Form3, "Button4");
}

inline void drawAngelFromMain()
{
    selectTab(TabbedForm, "TabControl1", CardTab);
    press(TabbedForm, "Button8");
    press(Form5, "Button4");
    press(Form5, "Button4");
}

inline void drawObstacleFromMain()
{
    selectTab(TabbedForm, "TabControl1", CardTab);
    press(TabbedForm, "Button9");
    press(Form4, "Button4");
    press(Form4, "Button4");
}

inline void openTopicGuideFromMain()
{
    selectTab(TabbedForm, "TabControl1", TopicTab);
    press(TabbedForm, "Button7");
}

} // namespace quorlin::test
