// SPDX-License-Identifier: GPL-3.0-or-later
// The user's ways to the eight secondary windows, driven through the program's own buttons.
#pragma once

#include "app/application.h"
#include "forms/TabbedTemplate.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"

#include <QPushButton>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace quorlin::bench {

// Clicks a declared button of a window, as a mouse click would (the click handler runs).
inline void click(Form *form, const char *button)
{
    if (!form) {
        std::fprintf(stderr, "no window to click %s on\n", button);
        std::exit(1);
    }
    auto *b = form->findChild<QPushButton *>(QString::fromLatin1(button));
    if (!b) {
        std::fprintf(stderr, "no %s in %s\n", button, qPrintable(form->className()));
        std::exit(1);
    }
    b->click();
}

// One window and how to reach it: what comes before the click (untimed), the click that
// opens it, and the button that closes it again.
struct WindowPath
{
    const char *className;
    std::function<void()> prepare;
    std::function<void()> open;
    std::function<Form *()> opened;
    std::function<void()> close;
};

inline std::vector<WindowPath> windowPaths()
{
    auto none = [] {};
    return {
        {"TForm1", none, [] { click(TabbedForm, "Button7"); }, [] { return Form1; },
         [] { click(Form1, "Button6"); }},
        {"TForm2", none, [] { click(TabbedForm, "Button2"); }, [] { return Form2; },
         [] { click(Form2, "Button6"); }},
        {"TForm3", none, [] { click(TabbedForm, "Button6"); }, [] { return Form3; },
         [] { click(Form3, "Button1"); }},
        {"TForm4", none, [] { click(TabbedForm, "Button9"); }, [] { return Form4; },
         [] { click(Form4, "Button1"); }},
        {"TForm5", none, [] { click(TabbedForm, "Button8"); }, [] { return Form5; },
         [] { click(Form5, "Button1"); }},
        // The result windows: the ritual window opened and its first press made beforehand;
        // the second press opens the result (which rings and draws) and closes the ritual.
        {"TForm6",
         [] {
             click(TabbedForm, "Button6");
             click(Form3, "Button4");
         },
         [] { click(Form3, "Button4"); }, [] { return Form6; }, [] { click(Form6, "Button1"); }},
        {"TForm7",
         [] {
             click(TabbedForm, "Button8");
             click(Form5, "Button4");
         },
         [] { click(Form5, "Button4"); }, [] { return Form7; }, [] { click(Form7, "Button1"); }},
        {"TForm8",
         [] {
             click(TabbedForm, "Button9");
             click(Form4, "Button4");
         },
         [] { click(Form4, "Button4"); }, [] { return Form8; }, [] { click(Form8, "Button1"); }},
    };
}

// The full user path of each draw and guidance window: open, draw where there is a draw,
// close. Each cycle opens one instance of every secondary window class.
// `settle` runs after every opening (to let the new window paint).
inline void userCycle(const std::function<void()> &settle)
{
    click(TabbedForm, "Button6"); // topic ritual
    settle();
    click(Form3, "Button4");
    click(Form3, "Button4"); // topic result, ringing
    settle();
    click(Form6, "Button1");
    click(TabbedForm, "Button8"); // angel ritual
    settle();
    click(Form5, "Button4");
    click(Form5, "Button4"); // angel result
    settle();
    click(Form7, "Button1");
    click(TabbedForm, "Button9"); // obstacle ritual
    settle();
    click(Form4, "Button4");
    click(Form4, "Button4"); // obstacle result
    settle();
    click(Form8, "Button1");
    click(TabbedForm, "Button7"); // topic guidance
    settle();
    click(Form1, "Button6");
    click(TabbedForm, "Button2"); // card guidance
    settle();
    click(Form2, "Button6");
}

} // namespace quorlin::bench
