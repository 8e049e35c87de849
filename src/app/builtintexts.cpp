// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/builtintexts.h"

#include "app/buildsettings.h"
#include "base/exception.h"

#include <QFile>

namespace quorlin {

QStringList builtInLines(const QString &path)
{
    QFile file(QStringLiteral(":/") + path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Text %1 not found").arg(path));
    QString text = expandBuildSettings(QString::fromUtf8(file.readAll()), path);
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text.split(QLatin1Char('\n'));
}

} // namespace quorlin
