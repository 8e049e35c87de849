// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/form.h"

class QPushButton;

namespace quorlin {

class BellPlayer;
class PictureView;
class TabControl;
class TabItem;

// Main window: the hub with the home, topic, card and about tabs.
class TTabbedForm : public Form
{
    Q_OBJECT

public:
    TTabbedForm();

    NotifyHandler notifyHandler(const QString &name) override;

    void FormCreate(QObject *sender);
    void ImageControl6Click(QObject *sender);
    void Button1Click(QObject *sender);
    void Button2Click(QObject *sender);
    void Button4Click(QObject *sender);
    void Button5Click(QObject *sender);
    void Button6Click(QObject *sender);
    void Button7Click(QObject *sender);
    void Button8Click(QObject *sender);
    void Button9Click(QObject *sender);

private:
    // Silences the home bell and puts it back to its start before a button does its work.
    void stopAndRewindBell();
};

// The main window's name: the newest instance, or none.
extern TTabbedForm *TabbedForm;

} // namespace quorlin
