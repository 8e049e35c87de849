// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// One function per picture subject. Each paints at any size of the picture's own aspect ratio.

namespace quorlin::assetgen {

QImage drawSingingBowl(int width, int height);
QImage drawCrayonFlower(int width, int height);
QImage drawCardBoard(int width, int height);
QImage drawAngelNotebook(int width, int height);
QImage drawSharingCircle(int width, int height);
QImage drawAdultsGroup(int width, int height);
QImage drawYouthOutdoors(int width, int height);
QImage drawJournalPage(int width, int height);
QImage drawScrollMascot(int width, int height);
QImage drawHeartAngelGlobePage(int width, int height);
QImage drawAngelJournalPage(int width, int height);
QImage drawFourPages(int width, int height);
QImage drawLotusAngel(int width, int height);
QImage drawTangledLoops(int width, int height);

} // namespace quorlin::assetgen
