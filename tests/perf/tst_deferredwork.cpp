// SPDX-License-Identifier: GPL-3.0-or-later
// Work put off until it is needed, or done once for the whole run: a picture view decodes its
// picture when it is first drawn (or fetched ahead on a worker), and a text box takes its text
// when it is first shown, laid out once for every box of its size and font. What the user sees
// once the page is on screen must be the same as if nothing had waited or been shared.
#include "app/form.h"
#include "app/formreader.h"
#include "base/exception.h"
#include "ui/controls.h"
#include "ui/pictures.h"
#include "ui/pictureview.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <vector>

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

const QString kParagraph = QStringLiteral(
    "การเขียนบันทึกช่วยให้เราได้หยุดฟังเสียงในใจของตัวเอง ทบทวนเรื่องราวที่ผ่านมา "
    "และมองเห็นสิ่งที่เคยมองข้ามไป เมื่อเขียนต่อเนื่องทุกวัน ");

// The lines of a text box, from one that fits to one that needs its scroll bar.
QStringList textOf(int paragraphs)
{
    QStringList lines{QStringLiteral("   หัวเรื่อง"), QString()};
    for (int i = 0; i < paragraphs; ++i)
        lines << QString::number(i + 1) + QStringLiteral(". ") + kParagraph;
    return lines;
}

// A text box filled as any editor is, by the editor itself, dressed as `like` is.
std::unique_ptr<QPlainTextEdit> editorLike(const Memo &like, const QStringList &lines)
{
    auto editor = std::make_unique<QPlainTextEdit>();
    editor->setAttribute(Qt::WA_DontShowOnScreen);
    editor->setReadOnly(true);
    editor->setFrameStyle(like.frameStyle());
    editor->setLineWidth(like.lineWidth());
    editor->setPalette(like.palette());
    editor->setFont(like.font());
    editor->setWordWrapMode(like.wordWrapMode());
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->resize(like.size());
    editor->show();
    editor->setPlainText(lines.join(QLatin1Char('\n')));
    QCoreApplication::processEvents(); // the editor settles its scroll bar
    return editor;
}

// What a box shows, in one format whether it is a window or a control.
QImage drawn(QWidget *box)
{
    return box->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A window of text boxes side by side, each shown as its window opens.
struct Boxes
{
    explicit Boxes(const QStringList &lines, int count = 2, QSize size = QSize(348, 200))
    {
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.resize(count * (size.width() + 10), size.height() + 20);
        for (int i = 0; i < count; ++i) {
            auto *box = new Memo(&window);
            box->setGeometry(i * (size.width() + 10), 10, size.width(), size.height());
            box->setLines(lines);
            boxes.push_back(box);
        }
        window.show();
        QCoreApplication::processEvents();
    }
    Memo *operator[](int i) const { return boxes.at(i); }
    QWidget window;
    std::vector<Memo *> boxes;
};

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

    // A window's built-in fill is decoded, and stretched to the window, on a worker from the
    // moment its data names it; the window then draws exactly as one given the picture at hand.
    // (Run before anything else here decodes these pictures, so that the worker does both.)
    void builtInFillDrawsAsAGivenOne_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QSize>("size");
        QTest::newRow("angel result, opaque")
            << QStringLiteral("pictures/angel_result_lotus.png") << QSize(388, 555);
        QTest::newRow("obstacle result, another size")
            << QStringLiteral("pictures/obstacle_result_loops.png") << QSize(200, 100);
    }

    void builtInFillDrawsAsAGivenOne()
    {
        QFETCH(QString, path);
        QFETCH(QSize, size);
        Form::Fill fill;
        fill.kind = Form::Fill::Kind::Picture;
        Form ahead(QStringLiteral("TAhead"));
        ahead.setFixedSize(size);
        fill.picture = FillPicture::builtIn(path, size);
        ahead.setFill(fill);
        QCOMPARE(fill.picture.size(), builtInPictureSize(path));
        Form given(QStringLiteral("TGiven"));
        given.setFixedSize(size);
        fill.picture = builtInPicture(path).copy(); // a picture of its own
        given.setFill(fill);
        QCOMPARE(ahead.grab().toImage(), given.grab().toImage());
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

    // Boxes of the same text, size and font view one document, laid out when the first of
    // them was shown, and draw exactly what a box laid out by itself draws.
    void textBoxesShareOneLayoutAndDrawAsTheirOwn_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("one paragraph, fits") << textOf(1) << QSize(348, 200) << false;
        QTest::newRow("seven paragraphs, scrolls") << textOf(7) << QSize(348, 200) << true;
        QTest::newRow("narrow box") << textOf(2) << QSize(150, 120) << true;
        QTest::newRow("one empty line") << QStringList{QString()} << QSize(200, 60) << false;
    }

    void textBoxesShareOneLayoutAndDrawAsTheirOwn()
    {
        QFETCH(QStringList, lines);
        QFETCH(QSize, size);
        QFETCH(bool, scrolls);
        Boxes first(lines, 1, size);
        Boxes later(lines, 2, size);
        const auto own = editorLike(*first[0], lines);
        const QImage expected = drawn(own.get());
        QCOMPARE(own->verticalScrollBar()->isVisible(), scrolls);
        for (Memo *box : {first[0], later[0], later[1]}) {
            QCOMPARE(box->document(), first[0]->document());
            QCOMPARE(box->lines(), lines);
            QCOMPARE(box->verticalScrollBar()->isVisible(), scrolls);
            QCOMPARE(box->verticalScrollBar()->maximum(), own->verticalScrollBar()->maximum());
            QCOMPARE(drawn(box), expected);
            QCOMPARE(box->textCursor().position(), 0);
        }
        // Scrolled to its end, a shared box shows the same last lines as a box of its own.
        later[1]->verticalScrollBar()->setValue(later[1]->verticalScrollBar()->maximum());
        own->verticalScrollBar()->setValue(own->verticalScrollBar()->maximum());
        QCOMPARE(drawn(later[1]), drawn(own.get()));
    }

    // What one box does (scrolling, selecting, going away) is its own: the others sharing its
    // text stay as they were.
    void sharedTextBoxesKeepTheirOwnPlaceAndSelection()
    {
        Boxes boxes(textOf(7), 3);
        const QImage untouched = drawn(boxes[0]);
        boxes[1]->selectAll();
        boxes[1]->verticalScrollBar()->setValue(boxes[1]->verticalScrollBar()->maximum());
        QVERIFY(drawn(boxes[1]) != untouched);
        delete boxes[2];
        QCOMPARE(boxes[0]->verticalScrollBar()->value(), 0);
        QVERIFY(!boxes[0]->textCursor().hasSelection());
        QCOMPARE(drawn(boxes[0]), untouched);
        Boxes again(textOf(7), 1); // a box opened after another has gone
        QCOMPARE(again[0]->document(), boxes[0]->document());
        QCOMPARE(drawn(again[0]), untouched);
    }

    // A box given another size, font or text takes its text into a document of its own first:
    // the boxes still sharing draw as before, and the changed one as a box of its own would.
    void textBoxLeavesTheSharedLayoutBeforeItChanges_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("wider") << "wider";
        QTest::newRow("narrower") << "narrower";
        QTest::newRow("shorter") << "shorter";
        QTest::newRow("larger font") << "font";
        QTest::newRow("new text") << "text";
    }

    void textBoxLeavesTheSharedLayoutBeforeItChanges()
    {
        QFETCH(QString, change);
        const QStringList lines = textOf(3);
        Boxes boxes(lines, 2, QSize(300, 200));
        const QImage before = drawn(boxes[0]);
        QTextDocument *shared = boxes[0]->document();
        const QString sharedText = shared->toPlainText();
        Memo *changed = boxes[1];
        QStringList now = lines;
        if (change == QLatin1String("wider"))
            changed->resize(340, 200);
        else if (change == QLatin1String("narrower"))
            changed->resize(200, 200);
        else if (change == QLatin1String("shorter"))
            changed->resize(300, 60);
        else if (change == QLatin1String("font")) {
            QFont larger = changed->font();
            larger.setPointSizeF(larger.pointSizeF() * 1.5);
            changed->setFont(larger);
        } else {
            now = textOf(1);
            changed->setLines(now);
        }
        QCoreApplication::processEvents();
        QCOMPARE(drawn(boxes[0]), before);
        QCOMPARE(shared->toPlainText(), sharedText);
        QCOMPARE(changed->lines(), now);
        const auto own = editorLike(*changed, now);
        QCOMPARE(changed->verticalScrollBar()->isVisible(), own->verticalScrollBar()->isVisible());
        QCOMPARE(drawn(changed), drawn(own.get()));
        QVERIFY(changed->document() != shared);
    }
};

QTEST_MAIN(DeferredWorkTest)
#include "tst_deferredwork.moc"
