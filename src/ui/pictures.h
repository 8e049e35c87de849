// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace quorlin {

// The pictures built into the program (assets/pictures), and their copies at the sizes they are
// drawn at. Each is decoded once per run and shared by every window that shows it, and so is
// each scaled copy: there are few such pictures and sizes, and every opening of a window shows
// them again.

// A built-in picture by resource path ("pictures/home_bowl.png"); throws Exception when there is
// no such picture.
QImage builtInPicture(const QString &path);
// Starts decoding a built-in picture on a worker thread, so that it is ready by the time a
// window first paints it; builtInPicture then waits for it instead of decoding again. Given
// the size it will be drawn at, the worker scales it to that size as well (scalePictureAhead).
void prefetchBuiltInPicture(const QString &path, QSize drawn = {});
// A built-in picture's size, read from its header; throws as builtInPicture does when missing.
QSize builtInPictureSize(const QString &path);

// A shared (built-in) picture stretched to `size`, aspect not kept, with area averaging, which
// keeps fine lines that a per-paint bilinear stretch would break up. Made once per run for each
// picture and size, or taken from what scalePictureAhead left. GUI thread only.
QPixmap sharedScaledPicture(const QImage &picture, QSize size);
// Scales a shared picture to a size it will be drawn at, on whatever thread calls it, for the
// first sharedScaledPicture of that picture and size to take.
void scalePictureAhead(const QImage &picture, QSize size);
// A picture of one view's own (a dropped one) stretched to `size` as sharedScaledPicture does,
// kept by no one else.
QPixmap scaledPicture(const QImage &picture, QSize size);

} // namespace quorlin
