// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QRect>

namespace quorlin {

// The desktop rectangle that windows are centred on: the union of all screens.
class Desktop
{
public:
    virtual ~Desktop() = default;
    virtual QRect virtualRect() = 0;
};

// The screens Qt knows of.
class ScreenDesktop final : public Desktop
{
public:
    QRect virtualRect() override;
};

} // namespace quorlin
