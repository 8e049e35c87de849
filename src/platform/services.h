// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace quorlin {

class Clock;
class Desktop;
class MessageBoxes;
class Shell;

// The platform services the program reaches the outside world through. Production uses the
// system's; tests put their own in place with ScopedServices.
struct Services
{
    Clock *clock = nullptr;
    Shell *shell = nullptr;
    MessageBoxes *boxes = nullptr;
    Desktop *desktop = nullptr;
};

// The services in force. Any left unset are the system's own.
const Services &services();

// Replaces the services it is given (non-null members) for its lifetime.
class ScopedServices
{
public:
    explicit ScopedServices(const Services &replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices &) = delete;
    ScopedServices &operator=(const ScopedServices &) = delete;

private:
    Services m_previous;
};

} // namespace quorlin
