// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "random.h"

#include <QColor>
#include <QPainter>
#include <QString>
#include <QStringList>

// Real Thai writing for the journal pages, set in a handwriting face and roughened a little so
// that it reads as written by hand. The face is read from one font file named at build time,
// never looked up by family, so that the pictures come out the same wherever they are drawn.

namespace quorlin::assetgen {

struct Handwriting
{
    QColor ink{30, 40, 90};
    double size = 24.0;       // the face's pixel size (its em)
    double lineHeight = 36.0; // baseline to baseline
    double weight = 0.0;      // extra stroke around the letters, for felt pens and markers
    double slant = 0.08;      // lean to the right, as a share of the height above the baseline
    double indent = 2.0;      // first-line indent of a paragraph, in ems
};

// False, with the reason in *error, when the handwriting face cannot be loaded. The painting
// functions below stop the program in that case, and when the face lacks a character written.
bool handwritingAvailable(QString *error);

// Writes the paragraphs from the area's top left, wrapped at Thai word boundaries to its width,
// one baseline every lineHeight. Text that does not fit in the area's height stops the program:
// a page must not lose the end of what was written on it. Returns the number of lines written.
int handwriting(QPainter &p, const QRectF &area, const QStringList &paragraphs,
                const Handwriting &style, Random &rng);
// One line of writing with its baseline starting at start, as long as the text makes it.
void handwritingLine(QPainter &p, QPointF start, const QString &text, const Handwriting &style,
                     Random &rng);
// The width one line of the text takes, before the hand's wobble.
double handwritingWidth(const QString &text, const Handwriting &style);

} // namespace quorlin::assetgen
