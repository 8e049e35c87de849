// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace quorlin {

// Modal message boxes with the error icon and a single "OK" button.
class MessageBoxes
{
public:
    virtual ~MessageBoxes() = default;
    // Blocks until dismissed. With no owner the box is modal for the whole program.
    virtual void showError(QWidget *owner, const QString &title, const QString &text) = 0;
};

// QMessageBox as the platform's message box.
class QtMessageBoxes final : public MessageBoxes
{
public:
    void showError(QWidget *owner, const QString &title, const QString &text) override;
};

} // namespace quorlin
