// SPDX-License-Identifier: GPL-3.0-or-later
// Reads fuzzed bytes as a picture file dragged and dropped on a picture view, through the view's
// own reading path with its size and allocation limits.
#include "ui/pictureview.h"

#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

using namespace quorlin;

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Image plugins need an application object; no window is ever shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_droppedpicture";
    static char *argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    static const QString path = dir.filePath(QStringLiteral("dropped"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    // Dropped on a 700 x 600 view: whatever the file declares, nothing larger comes back; and
    // a file the drop takes was welcomed while it was dragged.
    const QUrl url = QUrl::fromLocalFile(path);
    const QSize view(700, 600);
    const QImage image = PictureView::readDroppedPicture(url, view);
    if (!image.isNull() && (image.width() > view.width() || image.height() > view.height()))
        std::abort();
    QMimeData dragged;
    dragged.setUrls({url});
    if (!image.isNull() && !PictureView::couldBeDroppedPicture(&dragged))
        std::abort();
    return 0;
}
