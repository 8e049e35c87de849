// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/desktop.h"
#include "platform/messageboxes.h"
#include "platform/services.h"
#include "platform/shell.h"

#include <QList>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace quorlin::test {

// Records every message box instead of showing one.
class FakeMessageBoxes final : public MessageBoxes
{
public:
    struct Box
    {
        QPointer<QWidget> owner;
        bool hadOwner = false;
        QString title;
        QString text;
    };
    QList<Box> boxes;
    // Runs while a box is "up", as a person's reaction would.
    std::function<void(const Box &)> onShow;

    void showError(QWidget *owner, const QString &title, const QString &text) override
    {
        boxes.append({owner, owner != nullptr, title, text});
        if (onShow)
            onShow(boxes.constLast());
    }
};

// Records the web addresses asked for.
class FakeShell final : public Shell
{
public:
    QStringList opened;
    void openUrl(const QString &address) override { opened.append(address); }
};

// A desktop of a chosen size.
class FakeDesktop final : public Desktop
{
public:
    QRect rect{0, 0, 1024, 768};
    QRect virtualRect() override { return rect; }
};

} // namespace quorlin::test
