// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/buildsettings.h"

#include "base/exception.h"

#include "buildconfig.h"

#include <QRegularExpression>

#include <algorithm>

namespace quorlin {

const QList<BuildSetting> &buildSettings()
{
    static const QList<BuildSetting> settings{
        {QStringLiteral("QUORLIN_WEBSITE_URL"), QStringLiteral(QUORLIN_WEBSITE_URL)},
        {QStringLiteral("QUORLIN_FACEBOOK_URL"), QStringLiteral(QUORLIN_FACEBOOK_URL)},
        {QStringLiteral("QUORLIN_DONATION_EMAIL"), QStringLiteral(QUORLIN_DONATION_EMAIL)},
        {QStringLiteral("QUORLIN_DONATION_PHONE"), QStringLiteral(QUORLIN_DONATION_PHONE)},
    };
    return settings;
}

QString expandBuildSettings(const QString &text, const QString &where)
{
    // One pass over the placeholders, so that a value is never itself searched for more.
    static const QRegularExpression placeholder(QStringLiteral("\\{(QUORLIN_[A-Z0-9_]+)\\}"));
    QString out;
    qsizetype from = 0;
    for (auto it = placeholder.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        const auto setting = std::find_if(buildSettings().cbegin(), buildSettings().cend(),
                                          [&](const BuildSetting &s) { return s.name == name; });
        if (setting == buildSettings().cend())
            throw Exception(
                QStringLiteral("%1 names an unknown build setting {%2}").arg(where, name));
        out += QStringView(text).mid(from, m.capturedStart() - from);
        out += setting->value;
        from = m.capturedEnd();
    }
    if (from == 0)
        return text;
    out += QStringView(text).mid(from);
    return out;
}

} // namespace quorlin
