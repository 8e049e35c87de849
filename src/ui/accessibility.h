// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace quorlin {

// Installs the accessible interfaces of the program's own controls: picture views (a graphic,
// or a button with a press action where a click does something) and tool bars. Safe to call
// more than once.
void installAccessibility();

// Marks a picture view as one whose click does something, so that assistive technology offers
// it as a button that can be pressed.
void setPictureClickable(QWidget *pictureView, bool clickable);
bool isPictureClickable(const QWidget *pictureView);

// Lets Return and Enter press a push button that has the keyboard focus, as Space does; a
// keyboard user expects either key to work on the focused button.
void pressOnEnter(QPushButton *button);

// Each time the window is shown, its accessible description becomes the label's text, so a
// screen reader announces what the window shows (a drawn topic or card) along with its
// caption, without moving the keyboard focus.
void describeWithLabel(QWidget *window, QLabel *label);

} // namespace quorlin
