// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/shell.h"

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#else
#include <QDesktopServices>
#include <QUrl>
#endif

namespace quorlin {

void DesktopShell::openUrl(const QString &address)
{
#ifdef _WIN32
    ShellExecuteW(nullptr, L"open", reinterpret_cast<LPCWSTR>(address.utf16()), L"", L"",
                  SW_SHOWNORMAL);
#else
    // Returns at once; whether a browser opened is not our concern.
    QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
#endif
}

} // namespace quorlin
