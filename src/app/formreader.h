// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/formdata.h"

#include <QImage>
#include <QStringList>

namespace quorlin {

class Form;

// Builds a window from its declared data: controls and members in declared order, each one's
// settings in declared order, then the views that fit the device, then "loading complete".
// A setting that fails is reported as "Error reading <member>.<setting>: <message>".
void readForm(Form &form, const FormData &data);

// The device kinds this machine fits, best-fitting first.
QStringList deviceKinds();

// A built-in picture by resource path ("pictures/home_bowl.png").
QImage builtInPicture(const QString &path);
// Starts decoding a built-in picture on a worker thread, so that it is ready by the time a
// window first paints it; builtInPicture then waits for it instead of decoding again. Given
// the size it will be drawn at, the worker scales it to that size as well.
void prefetchBuiltInPicture(const QString &path, QSize drawn = {});
// A built-in picture's size, read from its header; throws as builtInPicture does when missing.
QSize builtInPictureSize(const QString &path);
// A built-in text by resource path, as lines, with the build's addresses filled in
// (expandBuildSettings()).
QStringList builtInLines(const QString &path);

} // namespace quorlin
