// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit1.h"

#include "app/application.h"
#include "platform/services.h"
#include "platform/shell.h"

#include "buildconfig.h"

namespace quorlin {

TForm1 *Form1 = nullptr;

TForm1::TForm1() : Form(QStringLiteral("TForm1")) {}

void TForm1::FormCreate(QObject *)
{
    TabControl3->setActiveTab(TabItem10);
}

void TForm1::ImageControl6Click(QObject *)
{
    // Nothing rewinds this bell, so it rings at most once per window.
    if (MediaPlayer1->hasMedia())
        MediaPlayer1->play();
}

void TForm1::Button6Click(QObject *)
{
    MediaPlayer1->stop();
    Application::instance().close(this);
}

void TForm1::Button3Click(QObject *)
{
    services().shell->openUrl(QStringLiteral(QUORLIN_TOPIC_VIDEO_URL));
}

} // namespace quorlin
