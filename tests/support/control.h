// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

namespace quorlin::test {

// A window's declared member by name, as a test reaches it; null when the window has none of
// that name and type.
template <typename T> T *control(const QObject *form, const QString &name)
{
    return form ? form->findChild<T *>(name) : nullptr;
}

} // namespace quorlin::test
