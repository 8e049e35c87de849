// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit2.h"

#include "app/application.h"
#include "platform/services.h"
#include "platform/shell.h"

#include "buildconfig.h"

namespace quorlin {

TForm2 *Form2 = nullptr;

TForm2::TForm2() : Form(QStringLiteral("TForm2")) {}

void TForm2::FormCreate(QObject *)
{
    // The declared data selects the menu page; every guidance window opens on "เกี่ยวกับ".
    TabControl4->setActiveTab(TabItem15);
}

void TForm2::Button6Click(QObject *)
{
    Application::instance().close(this);
}

void TForm2::Button3Click(QObject *)
{
    services().shell->openUrl(QStringLiteral(QUORLIN_CARD_VIDEO_URL));
}

} // namespace quorlin
