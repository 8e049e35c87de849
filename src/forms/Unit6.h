// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "deck/decks.h"
#include "forms/resultwindow.h"

#include <QString>

namespace quorlin {

// The text of the last topic draw, unframed; empty until the first draw of the run.
extern QString TopicText;

// The topic result window's draw: draws from the topic deck, keeps the text in TopicText and
// returns it framed for the window's label.
QString drawTopic();

// Topic result window: rings its bell, draws a topic and shows it in straight quotation marks.
class TForm6 : public ResultWindow
{
    Q_OBJECT
    Q_PROPERTY(quorlin::BellPlayer *MediaPlayer2 MEMBER m_bell)
    Q_PROPERTY(quorlin::TextLabel *toppic1 MEMBER m_label)

public:
    TForm6();

public slots:
    // Closes without touching the bell, which sounds on to its end.
    void toppic1Click(QObject *sender);

protected:
    // The topic as drawn, without the straight quotation marks the label frames it in.
    QString copiedText(const QString &) const override { return TopicText; }
};

// The topic result window's name: the newest instance, or none.
extern TForm6 *Form6;

} // namespace quorlin
