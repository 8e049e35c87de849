// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"

namespace quorlin {

// Card guidance window: what the angel and obstacle cards are and how to write about them.
class TForm2 : public Form
{
    Q_OBJECT

public:
    TForm2();

    NotifyHandler notifyHandler(const QString &name) override;

    void FormCreate(QObject *sender);
    void Button6Click(QObject *sender);
    void Button3Click(QObject *sender);
};

// The card guidance window's name: the newest instance, or none.
extern TForm2 *Form2;

} // namespace quorlin
