// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/exception.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace quorlin {

quintptr codeOffset(const void *codeAddress)
{
#ifdef _WIN32
    HMODULE module = nullptr;
    if (codeAddress &&
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                               GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCWSTR>(codeAddress), &module))
        return reinterpret_cast<quintptr>(codeAddress) - reinterpret_cast<quintptr>(module);
    return reinterpret_cast<quintptr>(codeAddress);
#else
    Dl_info info{};
    if (codeAddress && dladdr(codeAddress, &info) != 0 && info.dli_fbase)
        return reinterpret_cast<quintptr>(codeAddress) - reinterpret_cast<quintptr>(info.dli_fbase);
    return reinterpret_cast<quintptr>(codeAddress);
#endif
}

// Not inlined, so that the return address is the code that raised the error.
__attribute__((noinline)) Exception::Exception(QString message, QString kind)
    : m_message(std::move(message)),
      m_kind(std::move(kind)),
      m_what(m_message.toUtf8()),
      m_address(codeOffset(__builtin_return_address(0)))
{
}

EReadError::EReadError(const QString &message) : Exception(message, QStringLiteral("EReadError")) {}

EReadError EReadError::forSetting(const QString &member, const QString &setting,
                                  const QString &message)
{
    return EReadError(QStringLiteral("Error reading %1%2%3: %4")
                          .arg(member, QStringLiteral("."), setting, message));
}

} // namespace quorlin
