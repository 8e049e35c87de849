// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/TabbedTemplate.h"

#include "app/application.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "platform/services.h"
#include "platform/shell.h"

#include "buildconfig.h"

namespace quorlin {

TTabbedForm *TabbedForm = nullptr;

TTabbedForm::TTabbedForm() : Form(QStringLiteral("TTabbedForm")) {}

void TTabbedForm::FormCreate(QObject *)
{
    TabControl1->setActiveTab(TabItem1);
    TabControl2->setActiveTab(TabItem5);
}

void TTabbedForm::ImageControl6Click(QObject *)
{
    if (MediaPlayer1->hasMedia())
        MediaPlayer1->play();
}

void TTabbedForm::Button1Click(QObject *) { Application::instance().close(this); }

void TTabbedForm::stopAndRewindBell()
{
    MediaPlayer1->stop();
    MediaPlayer1->setCurrentTime(0);
}

void TTabbedForm::Button5Click(QObject *)
{
    stopAndRewindBell();
    services().shell->openUrl(QStringLiteral(QUORLIN_FACEBOOK_URL));
}

void TTabbedForm::Button4Click(QObject *)
{
    stopAndRewindBell();
    services().shell->openUrl(QStringLiteral(QUORLIN_WEBSITE_URL));
}

void TTabbedForm::Button6Click(QObject *)
{
    stopAndRewindBell();
    Application::instance().createForm(Form3);
    Application::instance().show(Form3);
}

void TTabbedForm::Button7Click(QObject *)
{
    stopAndRewindBell();
    Application::instance().createForm(Form1);
    Application::instance().show(Form1);
}

void TTabbedForm::Button8Click(QObject *)
{
    stopAndRewindBell();
    Application::instance().createForm(Form5);
    Application::instance().show(Form5);
}

void TTabbedForm::Button9Click(QObject *)
{
    stopAndRewindBell();
    Application::instance().createForm(Form4);
    Application::instance().show(Form4);
}

void TTabbedForm::Button2Click(QObject *)
{
    stopAndRewindBell();
    Application::instance().createForm(Form2);
    Application::instance().show(Form2);
}

} // namespace quorlin
