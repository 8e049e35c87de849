// SPDX-License-Identifier: GPL-3.0-or-later
#include "forms/Unit7.h"

#include "forms/Unit2.h"

namespace quorlin {

QString AngelCardText;
std::int32_t AngelDrawMark = 0;
TForm7 *Form7 = nullptr;

QString drawAngelCard()
{
    const QString card = drawAndKeep(angelDeck(), AngelCardText);
    AngelDrawMark = 1;
    return card;
}

TForm7::TForm7() : ResultWindow(QStringLiteral("TForm7"), drawAngelCard, createdWindow<Form2>) {}

} // namespace quorlin
