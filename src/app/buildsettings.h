// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>

namespace quorlin {

// An address the program was built with, under the name of its build setting.
struct BuildSetting
{
    QString name;
    QString value;
};

// The addresses that the reading texts may show: the web site and the Facebook page (which the
// home tab's buttons open too), the donation e-mail address and the donation telephone number.
const QList<BuildSetting> &buildSettings();

// `text` with every "{NAME}" of a build setting replaced by the setting's value, so that a page
// shows the very address the program was built with. Throws quorlin::Exception on a
// "{QUORLIN_...}" that names no setting, naming `where` the text came from, so that a misspelt
// placeholder never reaches a reader.
QString expandBuildSettings(const QString &text, const QString &where);

} // namespace quorlin
