// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"

namespace quorlin {

// Topic guidance window: how to write with the journal topics, with a bell on its first picture.
class TForm1 : public Form
{
    Q_OBJECT

public:
    TForm1();

    NotifyHandler notifyHandler(const QString &name) override;

    void FormCreate(QObject *sender);
    void ImageControl6Click(QObject *sender);
    void Button6Click(QObject *sender);
    void Button3Click(QObject *sender);
};

// The topic guidance window's name: the newest instance, or none.
extern TForm1 *Form1;

} // namespace quorlin
