// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace quorlin {

// An error raised by the program's own code, carrying the kind and message the user is shown.
class Exception : public std::exception
{
public:
    explicit Exception(QString message, QString kind = QStringLiteral("Exception"));

    const QString &message() const { return m_message; }
    // The error's kind as the start-up error box names it ("EReadError", ...).
    const QString &kind() const { return m_kind; }
    // Where the error was raised: an offset into the program's own code, see codeOffset().
    quintptr address() const { return m_address; }
    const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_message;
    QString m_kind;
    QByteArray m_what;
    quintptr m_address;
};

// A failure while a window's declared data is applied, worded
// "Error reading <member>.<setting>: <message>".
class EReadError : public Exception
{
public:
    explicit EReadError(const QString &message);
    static EReadError forSetting(const QString &member, const QString &setting,
                                 const QString &message);
};

// The offset, within the loaded object that holds it, of a code address. Used as the "address"
// of an error: stable across runs (no address-space randomisation) and meaningful with a map
// file or `addr2line -e quorlin`.
quintptr codeOffset(const void *codeAddress);

} // namespace quorlin
