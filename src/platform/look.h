// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>
#include <QStringList>

#include <functional>

namespace quorlin {

// One of the two built-in looks, with the colours it gives the controls.
struct PlatformLook
{
    QString title;
    QColor toolBar;
    QColor windowBackground;
    QColor tabPageBorder;
    QColor pictureFrame;
    // Tab panels: an unselected panel shades from its top to its bottom colour (the same colour
    // for a flat panel); the selected panel is white like the page it joins.
    QColor tabTop;
    QColor tabBottom;
    QColor tabSelected;
    QColor textBoxBorder;
    QColor button;
    QColor highlight;
};

const PlatformLook &windows7Look();
const PlatformLook &windows8Look();

// The look for an operating system version. Windows before 6.2 gets "Windows 7"; 6.2 and every
// later version (10 and 11 included) gets "Windows 8 Desktop"; other systems get the latter too.
const PlatformLook &lookForVersion(bool isWindows, int major, int minor);

// The look in force, chosen once, the first time a window is styled.
const PlatformLook &platformLook();

// Puts another look in force while it lives, so that both looks can be drawn in one run (tests
// and the render tool); the program itself never changes its look.
class ScopedPlatformLook
{
public:
    explicit ScopedPlatformLook(const PlatformLook &look);
    ~ScopedPlatformLook();
    ScopedPlatformLook(const ScopedPlatformLook &) = delete;
    ScopedPlatformLook &operator=(const ScopedPlatformLook &) = delete;

private:
    const PlatformLook *m_previous;
};

// The default font family list: "Segoe UI" (Windows 6 and later, where present) or "Tahoma"
// (before 6), followed by a Thai-capable face where that one has no Thai letters (thaiCapable
// lists the installed faces that have them, asked only then); else a Thai-capable family that
// renders tone marks well.
QStringList defaultFontFamilies(bool isWindows, int major, const QStringList &installed,
                                const std::function<QStringList()> &thaiCapable);

// A font of the default families at a size in logical pixels.
QFont lookFont(int pixelSize, bool bold = false);

// The colours the look gives the toolkit's own drawing: black text in every state, white
// fields, the look's button face and window background.
QPalette lookPalette(const PlatformLook &look);

// Chooses the look, the plain push-button style, the palette and the program's default font.
void applyPlatformLook();

} // namespace quorlin
