// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/formdata.h"

#include <QStringList>

namespace quorlin {

class Form;

// Builds a window from its declared data: controls and members in declared order, each one's
// settings in declared order, then the views that fit the device, then "loading complete".
// A setting that fails is reported as "Error reading <member>.<setting>: <message>".
void readForm(Form &form, const FormData &data);

// The device kinds this machine fits, best-fitting first.
QStringList deviceKinds();

} // namespace quorlin
