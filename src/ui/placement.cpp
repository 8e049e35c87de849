// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/placement.h"

#include <QCoreApplication>
#include <QResizeEvent>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace quorlin {

namespace {
const char *const kPlacement = "quorlinPlacement";

int snap(double v)
{
    return static_cast<int>(std::nearbyint(v));
}

void place(QWidget *w, const QRectF &r)
{
    const int left = snap(r.left());
    const int top = snap(r.top());
    const QSize before = w->size();
    w->setGeometry(left, top, snap(r.right()) - left, snap(r.bottom()) - top);
    // A hidden control is told of its new size only when it is shown; controls that arrange
    // what they hold (a tab control on a page not shown yet) need to know at once.
    if (w->testAttribute(Qt::WA_PendingResizeEvent) && w->size() != before) {
        QResizeEvent resized(w->size(), before);
        QCoreApplication::sendEvent(w, &resized);
    }
}
} // namespace

Placement placementOf(const QWidget *control)
{
    return control->property(kPlacement).value<Placement>();
}

void setPlacement(QWidget *control, const Placement &placement)
{
    control->setProperty(kPlacement, QVariant::fromValue(placement));
}

void arrangeChildren(QWidget *container)
{
    QRectF rest(QPointF(0, 0), QSizeF(container->size()));
    const QRectF whole = rest;
    QList<QWidget *> later;
    for (QObject *child : container->children()) {
        auto *w = qobject_cast<QWidget *>(child);
        if (!w || w->isWindow() || !w->property(kPlacement).isValid())
            continue;
        const Placement p = placementOf(w);
        const QMarginsF &m = p.margins;
        switch (p.align) {
        case Placement::Align::Top: {
            const double h = p.size.height();
            place(w, QRectF(rest.left() + m.left(), rest.top() + m.top(),
                            rest.width() - m.left() - m.right(), h));
            rest.setTop(rest.top() + m.top() + h + m.bottom());
            break;
        }
        case Placement::Align::Bottom: {
            const double h = p.size.height();
            place(w, QRectF(rest.left() + m.left(), rest.bottom() - m.bottom() - h,
                            rest.width() - m.left() - m.right(), h));
            rest.setBottom(rest.bottom() - m.bottom() - h - m.top());
            break;
        }
        case Placement::Align::Left: {
            const double wd = p.size.width();
            place(w, QRectF(rest.left() + m.left(), rest.top() + m.top(), wd,
                            rest.height() - m.top() - m.bottom()));
            rest.setLeft(rest.left() + m.left() + wd + m.right());
            break;
        }
        case Placement::Align::Right: {
            const double wd = p.size.width();
            place(w, QRectF(rest.right() - m.right() - wd, rest.top() + m.top(), wd,
                            rest.height() - m.top() - m.bottom()));
            rest.setRight(rest.right() - m.right() - wd - m.left());
            break;
        }
        case Placement::Align::Contents:
            place(w, whole.marginsRemoved(m));
            break;
        case Placement::Align::Client:
        case Placement::Align::Center:
            later.append(w);
            break;
        case Placement::Align::None:
            place(w, QRectF(p.position, p.size));
            break;
        }
    }
    for (QWidget *w : later) {
        const Placement p = placementOf(w);
        const QRectF free = rest.marginsRemoved(p.margins);
        if (p.align == Placement::Align::Client) {
            place(w, free);
        } else {
            const QSizeF s = p.size;
            place(w, QRectF(free.left() + (free.width() - s.width()) / 2,
                            free.top() + (free.height() - s.height()) / 2, s.width(), s.height()));
        }
    }
}

} // namespace quorlin
