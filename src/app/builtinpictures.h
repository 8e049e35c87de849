// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace quorlin {

// The pictures built into the program (assets/pictures), each decoded once per run and shared
// by every window that shows it.

// A built-in picture by resource path ("pictures/home_bowl.png"); throws Exception when there is
// no such picture.
QImage builtInPicture(const QString &path);
// Starts decoding a built-in picture on a worker thread, so that it is ready by the time a
// window first paints it; builtInPicture then waits for it instead of decoding again. Given
// the size it will be drawn at, the worker scales it to that size as well.
void prefetchBuiltInPicture(const QString &path, QSize drawn = {});
// A built-in picture's size, read from its header; throws as builtInPicture does when missing.
QSize builtInPictureSize(const QString &path);
// A built-in picture as a pixmap, converted once per run and shared like the picture itself.
QPixmap builtInPixmap(const QString &path);

} // namespace quorlin
