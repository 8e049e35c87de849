// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit1.h"

#include "app/application.h"
#include "bell/bellplayer.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "ui/tabcontrol.h"

#include "buildconfig.h"

namespace quorlin {

TForm1 *Form1 = nullptr;

TForm1::TForm1() : Form(QStringLiteral("TForm1")) {}

Form::NotifyHandler TForm1::notifyHandler(const QString &name)
{
    return bindNotify<TForm1>({{"FormCreate", &TForm1::FormCreate},
                               {"ImageControl6Click", &TForm1::ImageControl6Click},
                               {"Button6Click", &TForm1::Button6Click},
                               {"Button3Click", &TForm1::Button3Click}},
                              name);
}

void TForm1::FormCreate(QObject *)
{
    member<TabControl>(QStringLiteral("TabControl3"))
        ->setActiveTab(member<TabItem>(QStringLiteral("TabItem10")));
}

void TForm1::ImageControl6Click(QObject *)
{
    // Nothing rewinds this bell, so it rings at most once per window.
    auto *bell = member<BellPlayer>(QStringLiteral("MediaPlayer1"));
    if (bell->hasMedia())
        bell->play();
}

void TForm1::Button6Click(QObject *)
{
    member<BellPlayer>(QStringLiteral("MediaPlayer1"))->stop();
    Application::instance().close(this);
}

void TForm1::Button3Click(QObject *)
{
    services().shell->openUrl(QStringLiteral(QUORLIN_TOPIC_VIDEO_URL));
}

} // namespace quorlin
