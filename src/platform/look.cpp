#include "platform/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QOperatingSystemVersion>

#include <functional>

namespace quorlin {

const PlatformLook &windows7Look()
{
    static const PlatformLook look{QStringLiteral("Windows 7"), QColor(0xFFF4F4F4u),
                                   QColor(0xFFF4F4F4u), QColor(0xFF898C95u), QColor(0xFF828790u)};
    return look;
}

const PlatformLook &windows8Look()
{
    static const PlatformLook look{QStringLiteral("Windows 8 Desktop"), QColor(0xFFF0F0F0u),
                                   QColor(0xFFF0F0F0u), QColor(0xFFACACACu), QColor(0xFF828790u)};
    return look;
}

const PlatformLook &lookForVersion(bool isWindows, int major, int minor)
{
    if (!isWindows)
        return windows8Look();
    // Compared as a pair: 6.1 and earlier are the old look; 6.2, 6.3, 10.0 and later the new.
    if (major < 6 || (major == 6 && minor < 2))
        return windows7Look();
    return windows8Look();
}

namespace {
struct OsVersion
{
    bool isWindows;
    int major;
    int minor;
};

OsVersion currentOs()
{
    const auto v = QOperatingSystemVersion::current();
    return {v.type() == QOperatingSystemVersion::Windows, v.majorVersion(), v.minorVersion()};
}
} // namespace

const PlatformLook &platformLook()
{
    static const PlatformLook &chosen = [] {
        const OsVersion os = currentOs();
        return std::cref(lookForVersion(os.isWindows, os.major, os.minor));
    }();
    return chosen;
}

QStringList defaultFontFamilies(bool isWindows, int major, const QStringList &installed)
{
    const QString segoe = QStringLiteral("Segoe UI");
    const QString tahoma = QStringLiteral("Tahoma");
    if (isWindows && major < 6 && installed.contains(tahoma))
        return {tahoma};
    if ((!isWindows || major >= 6) && installed.contains(segoe))
        return {segoe};
    // Noto Sans for Latin text with the Thai UI face for Thai: the looped Thai face drops
    // tone marks at small sizes.
    return {QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans Thai UI")};
}

QFont lookFont(int pixelSize, bool bold)
{
    static const QStringList families = [] {
        const OsVersion os = currentOs();
        return defaultFontFamilies(os.isWindows, os.major, QFontDatabase::families());
    }();
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void applyPlatformLook()
{
    platformLook();
    QApplication::setFont(lookFont(12));
}

} // namespace quorlin
