// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/services.h"

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/messageboxes.h"
#include "platform/shell.h"

namespace quorlin {

namespace {

Services &current()
{
    static Services s;
    return s;
}

template <typename Interface, typename Real>
Interface *orSystem(Interface *&slot)
{
    if (!slot) {
        static Real real;
        slot = &real;
    }
    return slot;
}

} // namespace

const Services &services()
{
    Services &s = current();
    orSystem<Clock, SystemClock>(s.clock);
    orSystem<Shell, DesktopShell>(s.shell);
    orSystem<MessageBoxes, QtMessageBoxes>(s.boxes);
    orSystem<Desktop, ScreenDesktop>(s.desktop);
    return s;
}

ScopedServices::ScopedServices(const Services &replacement) : m_previous(services())
{
    Services &s = current();
    if (replacement.clock)
        s.clock = replacement.clock;
    if (replacement.shell)
        s.shell = replacement.shell;
    if (replacement.boxes)
        s.boxes = replacement.boxes;
    if (replacement.desktop)
        s.desktop = replacement.desktop;
}

ScopedServices::~ScopedServices() { current() = m_previous; }

} // namespace quorlin
