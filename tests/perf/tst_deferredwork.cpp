// Work put off until it is needed: a picture view decodes its picture when it is first drawn
// (or fetched ahead on a worker), and a text box takes its text when it is first shown. What
// the user sees once the page is on screen must be the same as if nothing had waited.
#include "app/exception.h"
#include "app/formreader.h"
#include "ui/controls.h"
#include "ui/pictureview.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

using namespace quorlin;

namespace {

QImage solid(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

QColor centreOf(QWidget *w)
{
    return w->grab().toImage().pixelColor(w->width() / 2, w->height() / 2);
}

} // namespace

class DeferredWorkTest : public QObject
{
    Q_OBJECT

private slots:
    void deferredPictureIsLoadedOnceWhenFirstDrawn_data()
    {
        QTest::addColumn<QImage>("loaded");
        QTest::addColumn<QColor>("centre");
        QTest::addColumn<QSize>("sizeAfter");
        const QSize declared(80, 60);
        QTest::newRow("good picture") << solid(declared, Qt::red) << QColor(Qt::red) << declared;
        QTest::newRow("loader fails") << QImage() << QColor(Qt::white) << QSize();
        QTest::newRow("not the declared size")
            << solid(QSize(81, 60), Qt::red) << QColor(Qt::white) << QSize();
    }

    void deferredPictureIsLoadedOnceWhenFirstDrawn()
    {
        QFETCH(QImage, loaded);
        QFETCH(QColor, centre);
        QFETCH(QSize, sizeAfter);
        PictureView view;
        view.resize(200, 160);
        int loads = 0;
        view.setPicture(QSize(80, 60), [&] {
            ++loads;
            return loaded;
        });
        QCOMPARE(view.pictureSize(), QSize(80, 60));
        QCOMPARE(loads, 0);
        QCOMPARE(centreOf(&view), centre);
        QCOMPARE(centreOf(&view), centre);
        QCOMPARE(view.picture().isNull(), !sizeAfter.isValid());
        QCOMPARE(loads, 1); // a failed load is not tried again on every paint
        QCOMPARE(view.pictureSize(), sizeAfter);
    }

    void prefetchIsAskedOnlyWhileThePictureWaits()
    {
        PictureView view;
        view.resize(200, 100);
        int prefetches = 0;
        QSize drawnAt;
        const auto deferred = [&] {
            view.setPicture(
                QSize(4, 4), [] { return solid(QSize(4, 4), Qt::blue); },
                [&](QSize drawn) {
                    ++prefetches;
                    drawnAt = drawn;
                });
        };
        deferred();
        view.prefetch();
        view.prefetch();
        QCOMPARE(prefetches, 1);
        // Told the size the picture will be drawn at, to scale it there ahead of time.
        QCOMPARE(drawnAt, QSize(90, 90));

        deferred();
        (void)view.picture();
        view.prefetch();
        QCOMPARE(prefetches, 1); // already decoded: nothing more to fetch

        deferred();
        view.setPicture(solid(QSize(4, 4), Qt::green)); // a dropped picture replaces it
        view.prefetch();
        QCOMPARE(prefetches, 1);
        QCOMPARE(view.picture().pixelColor(1, 1), QColor(Qt::green));
    }

    // A built-in picture scaled ahead on the worker draws exactly as one scaled on the spot.
    void pictureScaledAheadDrawsTheSame_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("opaque") << QStringLiteral("pictures/home_bowl.png");
        QTest::newRow("cut-out on transparency") << QStringLiteral("pictures/mascot_scroll.png");
    }

    void pictureScaledAheadDrawsTheSame()
    {
        QFETCH(QString, path);
        const QSize viewSize(300, 200);
        PictureView ahead;
        ahead.resize(viewSize);
        ahead.setPicture(
            builtInPictureSize(path), [path] { return builtInPicture(path); },
            [path](QSize drawn) { prefetchBuiltInPicture(path, drawn); });
        ahead.prefetch();
        PictureView onTheSpot;
        onTheSpot.resize(viewSize);
        onTheSpot.setPicture(builtInPicture(path).copy()); // a picture of its own
        QCOMPARE(ahead.grab().toImage(), onTheSpot.grab().toImage());
    }

    void prefetchedBuiltInPictureIsTheSharedOne()
    {
        const QString path = QStringLiteral("pictures/topic_result_pages.png");
        prefetchBuiltInPicture(path);
        prefetchBuiltInPicture(path);
        const QImage first = builtInPicture(path);
        QVERIFY(!first.isNull());
        QCOMPARE(builtInPicture(path).cacheKey(), first.cacheKey());
        QCOMPARE(builtInPictureSize(path), first.size());
    }

    void prefetchOfAMissingPictureFailsWhereItIsAskedFor()
    {
        // The worker's failure travels to the thread that asks, as the reader's message.
        const QString path = QStringLiteral("pictures/not-built-in.png");
        prefetchBuiltInPicture(path);
        try {
            (void)builtInPicture(path);
            QFAIL("a missing picture was decoded");
        } catch (const Exception &e) {
            QCOMPARE(e.message(), QStringLiteral("Picture pictures/not-built-in.png not found"));
        }
        QVERIFY_THROWS_EXCEPTION(Exception, builtInPictureSize(path));
    }

    void textBoxShowsItsLatestTextOnceShown_data()
    {
        QTest::addColumn<bool>("shownFirst");
        QTest::newRow("set while hidden, then shown") << false;
        QTest::newRow("set while shown") << true;
    }

    void textBoxShowsItsLatestTextOnceShown()
    {
        QFETCH(bool, shownFirst);
        QWidget window;
        window.resize(300, 200);
        auto *box = new Memo(&window);
        box->setGeometry(10, 10, 280, 180);
        if (shownFirst)
            window.show();
        box->setLines({QStringLiteral("แรก")});
        const QStringList text{QStringLiteral("   หัวเรื่อง"), QString(),
                               QStringLiteral("ย่อหน้าที่ยาวพอจะตัดบรรทัดในกล่องข้อความนี้")};
        box->setLines(text);
        QCOMPARE(box->lines(), text); // what the reader names the box by, shown or not
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(box->toPlainText(), text.join(QLatin1Char('\n')));
        QCOMPARE(box->lines(), text);
        QCOMPARE(box->document()->blockCount(), 3);
        // Reading starts at the top, nothing selected, as for any text box just filled.
        QCOMPARE(box->textCursor().position(), 0);
        QVERIFY(!box->textCursor().hasSelection());
        QCOMPARE(box->verticalScrollBar()->value(), 0);
    }
};

QTEST_MAIN(DeferredWorkTest)
#include "tst_deferredwork.moc"
