#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

namespace quorlin {

// One of the two built-in looks, with the colours it gives the controls.
struct PlatformLook
{
    QString title;
    QColor toolBar;
    QColor windowBackground;
    QColor tabPageBorder;
    QColor pictureFrame;
};

const PlatformLook &windows7Look();
const PlatformLook &windows8Look();

// The look for an operating system version. Windows before 6.2 gets "Windows 7"; 6.2 and every
// later version (10 and 11 included) gets "Windows 8 Desktop"; other systems get the latter too.
const PlatformLook &lookForVersion(bool isWindows, int major, int minor);

// The look in force, chosen once, the first time a window is styled.
const PlatformLook &platformLook();

// The default font family list: "Segoe UI" (Windows 6 and later, where present), "Tahoma"
// (before 6), else a Thai-capable family that renders tone marks well.
QStringList defaultFontFamilies(bool isWindows, int major, const QStringList &installed);

// A font of the default families at a size in logical pixels.
QFont lookFont(int pixelSize, bool bold = false);

// Chooses the look and sets the program's default font.
void applyPlatformLook();

} // namespace quorlin
