// SPDX-License-Identifier: GPL-3.0-or-later
// Reports the moment the first top-level window has been painted, then ends the process.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

// Prints "PAINTED <CLOCK_MONOTONIC ms> <child widgets of the window>" once the paint pass of
// the first window to paint is over, and exits.
class PaintedReporter : public QObject
{
public:
    PaintedReporter() { QCoreApplication::instance()->installEventFilter(this); }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (m_done || event->type() != QEvent::Paint)
            return false;
        auto *w = qobject_cast<QWidget *>(object);
        if (!w || !w->isWindow())
            return false;
        m_done = true;
        // Queued: runs once the whole tree has been painted and flushed.
        QMetaObject::invokeMethod(
            this,
            [w] {
                timespec t{};
                clock_gettime(CLOCK_MONOTONIC, &t);
                std::printf("PAINTED %.3f %lld\n", double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6,
                            static_cast<long long>(w->findChildren<QWidget *>().size()));
                std::fflush(stdout);
                std::_Exit(0);
            },
            Qt::QueuedConnection);
        return false;
    }

private:
    bool m_done = false;
};
