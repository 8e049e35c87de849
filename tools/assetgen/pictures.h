// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

#include <vector>

namespace quorlin::assetgen {

// One built-in picture: its file name, its size in pixels and the function that paints it.
struct Picture
{
    QString fileName;
    int width;
    int height;
    QImage (*draw)(int width, int height);
};

// Every picture the program embeds, in the order the contact sheet shows them.
const std::vector<Picture> &pictures();

// The singing-bowl program icon, drawn for one square size.
QImage drawIcon(int size);

} // namespace quorlin::assetgen
