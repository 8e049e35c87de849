// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMarginsF>
#include <QMetaType>
#include <QPointF>
#include <QSizeF>

class QWidget;

namespace quorlin {

// How a control is placed in its parent, as declared: docked to an edge, filling what is left,
// filling the whole parent, centred in what is left, or at a fixed position.
struct Placement
{
    enum class Align { None, Top, Bottom, Left, Right, Client, Contents, Center };
    Align align = Align::None;
    QMarginsF margins;
    QPointF position;
    QSizeF size;
};

Placement placementOf(const QWidget *control);
void setPlacement(QWidget *control, const Placement &placement);

// Places the children of a container in declaration order: docked controls take their edge of
// what is left, then client and centred controls use what remains. Positions are rounded to the
// nearest unit, halves to even.
void arrangeChildren(QWidget *container);

} // namespace quorlin

Q_DECLARE_METATYPE(quorlin::Placement)
