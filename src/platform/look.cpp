// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QOperatingSystemVersion>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleFactory>

#include <functional>

namespace quorlin {

const PlatformLook &windows7Look()
{
    static const PlatformLook look{.title = QStringLiteral("Windows 7"),
                                   .toolBar = QColor(0xFFF4F4F4u),
                                   .windowBackground = QColor(0xFFF4F4F4u),
                                   .tabPageBorder = QColor(0xFF898C95u),
                                   .pictureFrame = QColor(0xFF828790u),
                                   .tabTop = QColor(0xFFF6F6F6u),
                                   .tabBottom = QColor(0xFFDDDDDDu),
                                   .tabSelected = QColor(0xFFFFFFFFu),
                                   .textBoxBorder = QColor(0xFFABADB3u),
                                   .button = QColor(0xFFE9E9E9u),
                                   .highlight = QColor(0xFF3399FFu)};
    return look;
}

const PlatformLook &windows8Look()
{
    static const PlatformLook look{.title = QStringLiteral("Windows 8 Desktop"),
                                   .toolBar = QColor(0xFFF0F0F0u),
                                   .windowBackground = QColor(0xFFF0F0F0u),
                                   .tabPageBorder = QColor(0xFFACACACu),
                                   .pictureFrame = QColor(0xFF828790u),
                                   .tabTop = QColor(0xFFF0F0F0u),
                                   .tabBottom = QColor(0xFFE5E5E5u),
                                   .tabSelected = QColor(0xFFFFFFFFu),
                                   .textBoxBorder = QColor(0xFFABADB3u),
                                   .button = QColor(0xFFE1E1E1u),
                                   .highlight = QColor(0xFF3399FFu)};
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

namespace {
const PlatformLook *s_override = nullptr;
}

const PlatformLook &platformLook()
{
    static const PlatformLook &chosen = [] {
        const OsVersion os = currentOs();
        return std::cref(lookForVersion(os.isWindows, os.major, os.minor));
    }();
    return s_override ? *s_override : chosen;
}

ScopedPlatformLook::ScopedPlatformLook(const PlatformLook &look) : m_previous(s_override)
{
    s_override = &look;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setPalette(lookPalette(look));
}

ScopedPlatformLook::~ScopedPlatformLook()
{
    s_override = m_previous;
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        QApplication::setPalette(lookPalette(platformLook()));
}

QStringList defaultFontFamilies(bool isWindows, int major, const QStringList &installed,
                                const std::function<QStringList()> &thaiCapable)
{
    const QString segoe = QStringLiteral("Segoe UI");
    const QString tahoma = QStringLiteral("Tahoma");
    QString face;
    if (isWindows && major < 6 && installed.contains(tahoma))
        face = tahoma;
    else if ((!isWindows || major >= 6) && installed.contains(segoe))
        face = segoe;
    if (face.isEmpty()) {
        // Noto Sans for Latin text with the Thai UI face for Thai: the looped Thai face drops
        // tone marks at small sizes.
        return {QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans Thai UI")};
    }
    // Segoe UI has no Thai letters; Windows sets them in its linked Thai face, and so do we:
    // the named face first, then the first Thai-capable face, the system's own UI faces first.
    const QStringList thai = thaiCapable();
    if (thai.contains(face))
        return {face};
    for (const QString &preferred :
         {QStringLiteral("Leelawadee UI"), QStringLiteral("Leelawadee"), tahoma,
          QStringLiteral("Noto Sans Thai UI"), QStringLiteral("Noto Sans Thai")}) {
        if (thai.contains(preferred))
            return {face, preferred};
    }
    if (!thai.isEmpty())
        return {face, thai.first()};
    return {face};
}

QFont lookFont(int pixelSize, bool bold)
{
    static const QStringList families = [] {
        const OsVersion os = currentOs();
        return defaultFontFamilies(os.isWindows, os.major, QFontDatabase::families(),
                                   [] { return QFontDatabase::families(QFontDatabase::Thai); });
    }();
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QPalette lookPalette(const PlatformLook &look)
{
    QPalette palette(look.button, look.windowBackground);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        // Captions and texts stay black whatever state their control is in.
        palette.setColor(group, QPalette::WindowText, Qt::black);
        palette.setColor(group, QPalette::ButtonText, Qt::black);
        palette.setColor(group, QPalette::Text, Qt::black);
        palette.setColor(group, QPalette::Base, Qt::white);
        palette.setColor(group, QPalette::Window, look.windowBackground);
        palette.setColor(group, QPalette::Button, look.button);
        palette.setColor(group, QPalette::Highlight, look.highlight);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
    }
    return palette;
}

void applyPlatformLook()
{
    // One plain push-button style everywhere, drawn from the look's palette; the native styles
    // of the various desktops would each draw the buttons their own way.
    if (QStyle *plain = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(plain);
    // The style keeps its drawings of buttons and scroll bars in the shared pixmap cache, keyed
    // by the identity of each control's palette. Every window instance's controls get palettes
    // of their own, so no drawing is ever reused from one opening to the next: the cache would
    // fill its 10 MB with dead drawings, and the name of every drawing it drops stays behind in
    // it, so it grows on with every window opened. Without the cache the style draws as it
    // would on a miss. The program's own shared drawings are kept elsewhere.
    QPixmapCache::setCacheLimit(0);
    QApplication::setPalette(lookPalette(platformLook()));
    QApplication::setFont(lookFont(12));
}

} // namespace quorlin
