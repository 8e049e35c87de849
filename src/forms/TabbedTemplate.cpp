// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/TabbedTemplate.h"

#include "app/application.h"
#include "bell/bellplayer.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "ui/tabcontrol.h"

#include "buildconfig.h"

namespace quorlin {

TTabbedForm *TabbedForm = nullptr;

TTabbedForm::TTabbedForm() : Form(QStringLiteral("TTabbedForm")) {}

Form::NotifyHandler TTabbedForm::notifyHandler(const QString &name)
{
    return bindNotify<TTabbedForm>({{"FormCreate", &TTabbedForm::FormCreate},
                                    {"ImageControl6Click", &TTabbedForm::ImageControl6Click},
                                    {"Button1Click", &TTabbedForm::Button1Click},
                                    {"Button2Click", &TTabbedForm::Button2Click},
                                    {"Button4Click", &TTabbedForm::Button4Click},
                                    {"Button5Click", &TTabbedForm::Button5Click},
                                    {"Button6Click", &TTabbedForm::Button6Click},
                                    {"Button7Click", &TTabbedForm::Button7Click},
                                    {"Button8Click", &TTabbedForm::Button8Click},
                                    {"Button9Click", &TTabbedForm::Button9Click}},
                                   name);
}

void TTabbedForm::FormCreate(QObject *)
{
    member<TabControl>(QStringLiteral("TabControl1"))
        ->setActiveTab(member<TabItem>(QStringLiteral("TabItem1")));
    member<TabControl>(QStringLiteral("TabControl2"))
        ->setActiveTab(member<TabItem>(QStringLiteral("TabItem5")));
}

void TTabbedForm::ImageControl6Click(QObject *)
{
    auto *bell = member<BellPlayer>(QStringLiteral("MediaPlayer1"));
    if (bell->hasMedia())
        bell->play();
}

void TTabbedForm::Button1Click(QObject *) { Application::instance().close(this); }

void TTabbedForm::stopAndRewindBell()
{
    auto *bell = member<BellPlayer>(QStringLiteral("MediaPlayer1"));
    bell->stop();
    bell->setCurrentTime(0);
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
