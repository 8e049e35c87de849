// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"
#include "ui/tabcontrol.h"

namespace quorlin {

// Card guidance window: what the angel and obstacle cards are and how to write about them.
class TForm2 : public Form
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TabControl *TabControl4 MEMBER TabControl4)
    Q_PROPERTY(quorlin::TabItem *TabItem15 MEMBER TabItem15)

public:
    TForm2();

public slots:
    void FormCreate(QObject *sender);
    void Button6Click(QObject *sender);
    void Button3Click(QObject *sender);

private:
    TabControl *TabControl4 = nullptr;
    TabItem *TabItem15 = nullptr;
};

// The card guidance window's name: the newest instance, or none.
extern TForm2 *Form2;

} // namespace quorlin
