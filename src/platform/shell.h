// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace quorlin {

// Opens a web address in the user's default browser. The result is never examined.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual void openUrl(const QString &address) = 0;
};

// ShellExecuteW("open") on Windows, Qt's desktop services elsewhere.
class DesktopShell final : public Shell
{
public:
    void openUrl(const QString &address) override;
};

} // namespace quorlin
