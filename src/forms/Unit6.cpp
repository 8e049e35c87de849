// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit6.h"

#include "forms/Unit1.h"

namespace quorlin {

QString TopicText;
TForm6 *Form6 = nullptr;

QString drawTopic() { return drawAndKeep(topicDeck(), TopicText); }

TForm6::TForm6() : ResultWindow(QStringLiteral("TForm6"), drawTopic, createdWindow<Form1>) {}

void TForm6::toppic1Click(QObject *) { Application::instance().close(this); }

} // namespace quorlin
