// SPDX-License-Identifier: GPL-3.0-or-later
// Picture files dropped from the desktop on a picture view: a good one replaces that view's
// picture in that window only; anything else is passed over without a word.
#include "platform/look.h"
#include "probes.h"
#include "support/windowfixture.h"
#include "ui/pictureview.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace quorlin;
using namespace quorlin::test;

namespace {

const QString kDropProbe = QStringLiteral(R"(window TDropProbe {
    ClientSize = 388, 555
    PictureView Shown {
        Align = Center
        Size = 700, 600
        Picture = <pictures/home_bowl.png>
    }
})");

quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xFFFFFFFFu;
    for (char byte : data) {
        crc ^= quint8(byte);
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A valid PNG whose header claims another size, with the header's checksum made right, so
// that only the size gives it away.
QByteArray pngDeclaring(int width, int height)
{
    QByteArray bytes = png(QImage(QSize(4, 4), QImage::Format_ARGB32));
    const auto put = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char((v >> (24 - 8 * i)) & 0xFF);
    };
    // Signature (8), IHDR length (4), "IHDR" at 12, width at 16, height at 20, CRC at 29.
    put(16, quint32(width));
    put(20, quint32(height));
    put(29, crc32(bytes.mid(12, 17)));
    return bytes;
}

QImage noise(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    auto *random = QRandomGenerator::global();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, random->generate() | 0xFF000000u);
    return image;
}

QImage solid(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

class DroppedPicturesTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_files;
    std::unique_ptr<WindowFixture> f;
    std::vector<std::unique_ptr<ProbeForm>> m_windows;

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_files.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }
    QUrl local(const QString &name) { return QUrl::fromLocalFile(m_files.filePath(name)); }

    PictureView *openView()
    {
        auto *form = new ProbeForm(QStringLiteral("TDropProbe"), kDropProbe);
        m_windows.emplace_back(form);
        form->load();
        form->show();
        return control<PictureView>(form, QStringLiteral("Shown"));
    }

    // Drops the URLs on the view's centre as the desktop would, and says whether it was taken.
    static bool drop(PictureView *view, const QList<QUrl> &urls, const QString &text = {})
    {
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        const QPointF at = QRectF(view->rect()).center();
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view, &dropped);
        return dropped.isAccepted();
    }

    static bool dragIsWelcome(PictureView *view, const QList<QUrl> &urls, const QString &text)
    {
        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        QDragEnterEvent enter(QPoint(350, 300), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        enter.ignore();
        QApplication::sendEvent(view, &enter);
        // The moves that follow give the same answer.
        QDragMoveEvent move(QPoint(360, 310), Qt::CopyAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
        move.ignore();
        QApplication::sendEvent(view, &move);
        // And the drag leaves undropped, as the desktop tells it: Qt forgets the view it took
        // as the drag's target, which it holds by a plain pointer and would otherwise still
        // hand the next drag's moves once the view is gone.
        QDragLeaveEvent leave;
        QApplication::sendEvent(view, &leave);
        if (move.isAccepted() != enter.isAccepted())
            qFatal("the drag was answered differently on entering and on moving");
        return enter.isAccepted();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_files.isValid());
        applyPlatformLook();
        write(QStringLiteral("green.png"), png(solid(QSize(50, 40), Qt::green)));
        write(QStringLiteral("blue.jpg"), [] {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            solid(QSize(30, 60), Qt::blue).save(&buffer, "JPG");
            return bytes;
        }());
        write(QStringLiteral("notes.txt"), QStringLiteral("บันทึกวันนี้\n").toUtf8());
        write(QStringLiteral("notes.png"), QStringLiteral("บันทึกวันนี้\n").toUtf8());
        const QByteArray whole = png(noise(QSize(200, 200)));
        write(QStringLiteral("truncated.png"), whole.left(whole.size() / 2));
        write(QStringLiteral("huge.png"), pngDeclaring(50000, 50000));
        write(QStringLiteral("bomb.png"), pngDeclaring(100000, 100000));
        write(QStringLiteral("too-many-pixels.png"), pngDeclaring(6000, 6000));
        // Real and whole, small on disk, but more pixels than a picture view shows: a green
        // PNG of 5000 x 5000 and a grey JPEG of 8000 x 6000, as a camera makes.
        {
            QImage big(5000, 5000, QImage::Format_Indexed8);
            big.setColorTable({qRgb(0, 160, 0)});
            big.fill(0);
            write(QStringLiteral("big.png"), png(big));
        }
        {
            QImage photo(8000, 6000, QImage::Format_Grayscale8);
            photo.fill(128);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            photo.save(&buffer, "JPG");
            write(QStringLiteral("photo.jpg"), bytes);
        }
        write(QStringLiteral("empty.png"), QByteArray());
        QVERIFY(QDir(m_files.path()).mkdir(QStringLiteral("folder.png")));
#ifndef _WIN32
        // (Windows keeps its named pipes out of the folders, under \\.\pipe\.)
        QVERIFY(
            ::mkfifo(QFile::encodeName(m_files.filePath(QStringLiteral("pipe.png"))).constData(),
                     0600) == 0);
#endif
    }

    void init() { f = std::make_unique<WindowFixture>(); }

    void cleanup()
    {
        m_windows.clear();
        f.reset();
    }

    void filesThatAreNoGoodPictureAreIgnoredSilently_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::newRow("text file") << QList<QUrl>{local("notes.txt")} << QString();
        QTest::newRow("text file named .png") << QList<QUrl>{local("notes.png")} << QString();
        QTest::newRow("truncated PNG") << QList<QUrl>{local("truncated.png")} << QString();
        QTest::newRow("PNG declaring 50000 x 50000") << QList<QUrl>{local("huge.png")} << QString();
        QTest::newRow("PNG declaring 100000 x 100000")
            << QList<QUrl>{local("bomb.png")} << QString();
        QTest::newRow("PNG declaring 6000 x 6000, holding 4 x 4")
            << QList<QUrl>{local("too-many-pixels.png")} << QString();
        QTest::newRow("empty file") << QList<QUrl>{local("empty.png")} << QString();
        QTest::newRow("directory") << QList<QUrl>{local("folder.png")} << QString();
#ifndef _WIN32
        QTest::newRow("named pipe") << QList<QUrl>{local("pipe.png")} << QString();
#endif
        QTest::newRow("missing file") << QList<QUrl>{local("gone.png")} << QString();
        QTest::newRow("web address")
            << QList<QUrl>{QUrl(QStringLiteral("https://example.org/bowl.png"))} << QString();
        QTest::newRow("file on another machine")
            << QList<QUrl>{QUrl(QStringLiteral("file://server/share/bowl.png"))} << QString();
        QTest::newRow("text, no file") << QList<QUrl>{} << QStringLiteral("bowl.png");
        QTest::newRow("several, none good")
            << QList<QUrl>{local("notes.txt"), local("huge.png"), local("folder.png")} << QString();
    }

    void filesThatAreNoGoodPictureAreIgnoredSilently()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        PictureView *view = openView();
        const QImage before = view->picture();
        const qsizetype windows = QApplication::topLevelWidgets().size();
        QVERIFY(!drop(view, urls, text));
        QCOMPARE(view->picture(), before);
        QVERIFY(f->boxes.boxes.isEmpty());
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
    }

    void onlyFilesThatCouldBePicturesAreWelcomeWhileDragging_data()
    {
        // Judged from the file's first bytes, before the drop: the pointer says no at once.
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("welcome");
        QTest::newRow("local file") << QList<QUrl>{local("green.png")} << QString() << true;
        QTest::newRow("web address, then local file")
            << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.png")), local("green.png")}
            << QString() << true;
        QTest::newRow("web address only")
            << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.png"))} << QString() << false;
        QTest::newRow("text only") << QList<QUrl>{} << QStringLiteral("green.png") << false;
        QTest::newRow("text file") << QList<QUrl>{local("notes.txt")} << QString() << false;
        QTest::newRow("text file named .png") << QList<QUrl>{local("notes.png")} << QString()
                                              << false;
        QTest::newRow("JPEG named by its content") << QList<QUrl>{local("blue.jpg")} << QString()
                                                   << true;
        QTest::newRow("text file, then a picture")
            << QList<QUrl>{local("notes.txt"), local("green.png")} << QString() << true;
        QTest::newRow("large photo") << QList<QUrl>{local("photo.jpg")} << QString() << true;
        QTest::newRow("PNG declaring 100000 x 100000") << QList<QUrl>{local("bomb.png")}
                                                       << QString() << false;
        QTest::newRow("empty file") << QList<QUrl>{local("empty.png")} << QString() << false;
        QTest::newRow("directory") << QList<QUrl>{local("folder.png")} << QString() << false;
#ifndef _WIN32
        QTest::newRow("named pipe") << QList<QUrl>{local("pipe.png")} << QString() << false;
#endif
        QTest::newRow("missing file") << QList<QUrl>{local("gone.png")} << QString() << false;
    }

    void onlyFilesThatCouldBePicturesAreWelcomeWhileDragging()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(bool, welcome);
        QCOMPARE(dragIsWelcome(openView(), urls, text), welcome);
    }

    void anOverLargePictureIsDecodedAtTheSizeItCanBeShown_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("largest"); // the view's size in device pixels
        QTest::addColumn<QSize>("decoded");
        QTest::addColumn<QColor>("colour");
        const QColor green(0, 160, 0);
        const QColor grey(128, 128, 128);
        QTest::newRow("PNG 5000 x 5000") << "big.png" << QSize(700, 600) << QSize(600, 600) << green;
        QTest::newRow("PNG 5000 x 5000, pixel ratio 2")
            << "big.png" << QSize(1400, 1200) << QSize(1200, 1200) << green;
        QTest::newRow("JPEG 8000 x 6000") << "photo.jpg" << QSize(700, 600) << QSize(700, 525)
                                          << grey;
        QTest::newRow("mascot banner") << "photo.jpg" << QSize(392, 153) << QSize(204, 153)
                                       << grey;
        QTest::newRow("smaller than the view: as it is")
            << "green.png" << QSize(700, 600) << QSize(50, 40) << QColor(Qt::green);
    }

    void anOverLargePictureIsDecodedAtTheSizeItCanBeShown()
    {
        QFETCH(QString, file);
        QFETCH(QSize, largest);
        QFETCH(QSize, decoded);
        QFETCH(QColor, colour);
        const QImage image = PictureView::readDroppedPicture(local(file), largest);
        QCOMPARE(image.size(), decoded);
        QVERIFY(near(image.pixelColor(decoded.width() / 2, decoded.height() / 2), colour, 8));
    }

    void aDroppedCameraPhotoReplacesThePicture_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("PNG 5000 x 5000") << "big.png" << QSize(600, 600);
        QTest::newRow("JPEG 8000 x 6000") << "photo.jpg" << QSize(700, 525);
    }

    void aDroppedCameraPhotoReplacesThePicture()
    {
        QFETCH(QString, file);
        QFETCH(QSize, decoded);
        PictureView *view = openView();
        QVERIFY(dragIsWelcome(view, {local(file)}, {}));
        QVERIFY(drop(view, {local(file)}));
        QCOMPARE(view->picture().size(), decoded);
        QCOMPARE(view->pictureSize(), decoded);
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void aGoodPictureReplacesThatViewsPictureOnly()
    {
        PictureView *first = openView();
        PictureView *second = openView();
        const QImage builtIn = second->picture();
        const QStringList filesBefore = QDir(m_files.path()).entryList(QDir::AllEntries);

        QVERIFY(drop(first, {local("green.png")}));
        QCOMPARE(first->picture().size(), QSize(50, 40));
        // Drawn fitted in the view: green in the middle, the white frame panel outside.
        const QImage drawn = rendered(first);
        QUORLIN_PROBE(drawn, 350, 300, QColor(Qt::green), 0);
        QUORLIN_PROBE(drawn, 2, 300, QColor(Qt::white), 0);

        // The other window of the same kind, and the next one opened, keep the built-in one.
        QCOMPARE(second->picture(), builtIn);
        QCOMPARE(openView()->picture(), builtIn);
        // Nothing written anywhere.
        QCOMPARE(QDir(m_files.path()).entryList(QDir::AllEntries), filesBefore);
        QVERIFY(f->boxes.boxes.isEmpty());
    }

    void ofSeveralFilesTheFirstGoodPictureWins()
    {
        PictureView *view = openView();
        QVERIFY(drop(
            view, {local("notes.txt"), local("huge.png"), local("blue.jpg"), local("green.png")}));
        QCOMPARE(view->picture().size(), QSize(30, 60));
        QVERIFY(near(view->picture().pixelColor(15, 30), Qt::blue, 8));
    }

    void doubleClickOpensNothing()
    {
        PictureView *view = openView();
        const QImage before = view->picture();
        const qsizetype windows = QApplication::topLevelWidgets().size();
        QTest::mouseDClick(view, Qt::LeftButton, {}, QPoint(350, 300));
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::topLevelWidgets().size(), windows);
        QCOMPARE(view->picture(), before);
    }
};

QTEST_MAIN(DroppedPicturesTest)
#include "tst_droppedpictures.moc"
