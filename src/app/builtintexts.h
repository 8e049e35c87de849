// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace quorlin {

// A text built into the program by resource path ("text/about_program.txt"), as lines, with the
// build's addresses filled in (expandBuildSettings()); throws Exception when there is no such
// text.
QStringList builtInLines(const QString &path);

} // namespace quorlin
