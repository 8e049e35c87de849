// SPDX-License-Identifier: GPL-3.0-or-later
// The about section of the main window: four reading pages with their pictures and text
// boxes, and its strip of equal headers along the window's bottom edge.
#include "app/builtintexts.h"
#include "app/formreader.h"
#include "buildconfig.h"
#include "forms/TabbedTemplate.h"
#include "platform/look.h"
#include "probes.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

using namespace quorlin;
using namespace quorlin::test;

class AboutSectionTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    template <typename T> T *get(const QString &name)
    {
        auto *w = control<T>(TabbedForm, name);
        if (!w)
            qFatal("no member %s", qPrintable(name));
        return w;
    }

    // Shows the about tab on one of its pages.
    Memo *showPageOf(const QString &memo)
    {
        get<TabControl>(QStringLiteral("TabControl1"))->setCurrentIndex(3);
        auto *box = get<Memo>(memo);
        get<TabControl>(QStringLiteral("TabControl2"))
            ->setActiveTab(qobject_cast<TabItem *>(box->parentWidget()));
        QCoreApplication::processEvents();
        return box;
    }

private slots:
    void initTestCase() { applyPlatformLook(); }

    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
        QVERIFY(TabbedForm);
    }

    void cleanup() { f.reset(); }

    void pagesHoldTheirPicturesAndTexts_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QRect>("pictureAt");
        QTest::addColumn<QSize>("pictureSize");
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QRect>("memoAt");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lineCount");
        QTest::newRow("program") << "TabItem5"
                                 << "โปรแกรม"
                                 << "ImageControl3" << QRect(-148, -113, 700, 600)
                                 << QSize(720, 480) << "Memo2" << QRect(20, 170, 348, 202)
                                 << "text/about_program.txt" << 14;
        QTest::newRow("therapeutic writing")
            << "TabItem6"
            << "การเขียนบำบัด"
            << "ImageControl4" << QRect(-32, -112, 700, 600) << QSize(720, 477) << "Memo3"
            << QRect(28, 170, 348, 202) << "text/about_writing.txt" << 3;
        QTest::newRow("project") << "TabItem7"
                                 << "โครงการ"
                                 << "ImageControl2" << QRect(-148, -73, 700, 600) << QSize(926, 617)
                                 << "Memo1" << QRect(28, 10, 333, 191) << "text/about_project.txt"
                                 << 7;
        QTest::newRow("support") << "TabItem8"
                                 << "ร่วมสนับสนุน"
                                 << "ImageControl5" << QRect(-112, -88, 700, 600) << QSize(640, 480)
                                 << "Memo4" << QRect(20, 32, 348, 249) << "text/about_support.txt"
                                 << 7;
    }

    void pagesHoldTheirPicturesAndTexts()
    {
        QFETCH(QString, page);
        QFETCH(QString, caption);
        QFETCH(QString, picture);
        QFETCH(QRect, pictureAt);
        QFETCH(QSize, pictureSize);
        QFETCH(QString, memo);
        QFETCH(QRect, memoAt);
        QFETCH(QString, text);
        QFETCH(int, lineCount);
        auto *item = get<TabItem>(page);
        QCOMPARE(item->caption, caption);
        QCOMPARE(item->geometry(), QRect(0, 0, 388, 409));
        auto *view = get<PictureView>(picture);
        auto *box = get<Memo>(memo);
        QCOMPARE(view->parentWidget(), item);
        QCOMPARE(box->parentWidget(), item);
        // The picture first, so that it lies behind the text box.
        QVERIFY(item->children().indexOf(view) < item->children().indexOf(box));
        QCOMPARE(view->geometry(), pictureAt);
        QCOMPARE(view->picture().size(), pictureSize);
        QCOMPARE(box->geometry(), memoAt);
        // Every line as written: leading blanks, empty lines and lines of blanks kept.
        const QStringList lines = box->lines();
        QCOMPARE(lines.size(), lineCount);
        QCOMPARE(lines, builtInLines(text));
        // The box takes its text when its page is first shown.
        QCOMPARE(showPageOf(memo), box);
        QCOMPARE(box->toPlainText(), lines.join(QLatin1Char('\n')));
    }

    void theTextsKeepTheirBlanks()
    {
        const QStringList program = get<Memo>(QStringLiteral("Memo2"))->lines();
        QCOMPARE(program.first(), QStringLiteral("   เกี่ยวกับ โปรแกรม Quorlin รุ่น 2.0"));
        const QStringList project = get<Memo>(QStringLiteral("Memo1"))->lines();
        QCOMPARE(project.first(), QStringLiteral("   "));
        QCOMPARE(project.last(), QStringLiteral("   "));
        // Shown as laid out: the first line of the program page starts three blanks in.
        Memo *box = showPageOf(QStringLiteral("Memo2"));
        const QTextLayout *first = box->document()->firstBlock().layout();
        QVERIFY(first->lineCount() >= 1);
        QVERIFY(first->lineAt(0).cursorToX(3) > first->lineAt(0).cursorToX(0));
    }

    void theSupportPageShowsTheAddressesTheProgramWasBuiltWith_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("before");
        QTest::newRow("donation e-mail")
            << "QUORLIN_DONATION_EMAIL" << QStringLiteral(QUORLIN_DONATION_EMAIL) << 2
            << QStringLiteral("อีเมล ");
        QTest::newRow("donation telephone")
            << "QUORLIN_DONATION_PHONE" << QStringLiteral(QUORLIN_DONATION_PHONE) << 2
            << QStringLiteral("โทร. ");
        // The same settings the home tab's buttons open.
        QTest::newRow("web site") << "QUORLIN_WEBSITE_URL" << QStringLiteral(QUORLIN_WEBSITE_URL)
                                  << 5 << QStringLiteral("เว็บไซต์ ");
        QTest::newRow("facebook") << "QUORLIN_FACEBOOK_URL" << QStringLiteral(QUORLIN_FACEBOOK_URL)
                                  << 6 << QStringLiteral("เฟซบุ๊ก ");
    }

    void theSupportPageShowsTheAddressesTheProgramWasBuiltWith()
    {
        QFETCH(QString, setting);
        QFETCH(QString, value);
        QFETCH(int, line);
        QFETCH(QString, before);
        const QStringList shown = showPageOf(QStringLiteral("Memo4"))->lines();
        QCOMPARE(shown.size(), 7);
        QVERIFY2(shown.at(line).contains(before + value), qPrintable(shown.at(line)));
        QVERIFY2(!shown.join(QLatin1Char('\n')).contains(QLatin1String("{QUORLIN_")),
                 "a placeholder is left in the text");

        // The page names the setting, never a copy of its value, so that changing the setting
        // changes the page.
        QFile resource(QStringLiteral(":/text/about_support.txt"));
        QVERIFY(resource.open(QIODevice::ReadOnly));
        const QString stored = QString::fromUtf8(resource.readAll());
        QVERIFY(stored.contains(QLatin1Char('{') + setting + QLatin1Char('}')));
        QVERIFY2(!stored.contains(value), qPrintable(stored));
    }

    void textBoxesWrapAndCanBeReadButNotChanged_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::newRow("program") << "Memo2";
        QTest::newRow("therapeutic writing") << "Memo3";
        QTest::newRow("project") << "Memo1";
        QTest::newRow("support") << "Memo4";
    }

    void textBoxesWrapAndCanBeReadButNotChanged()
    {
        QFETCH(QString, memo);
        Memo *box = showPageOf(memo);
        const QStringList before = box->lines();
        QVERIFY(box->isReadOnly());
        QVERIFY(!box->testAttribute(Qt::WA_InputMethodEnabled));
        QVERIFY(!box->horizontalScrollBar()->isVisible());

        // Long lines wrap inside the box.
        int wrapped = 0;
        for (QTextBlock b = box->document()->firstBlock(); b.isValid(); b = b.next())
            wrapped += b.layout()->lineCount() > 1 ? 1 : 0;
        QVERIFY2(wrapped > 0, "no line wraps");

        // Typing, deleting, cutting and pasting change nothing.
        QGuiApplication::clipboard()->setText(QStringLiteral("ข้อความอื่น"));
        box->setFocus();
        QTest::keyClicks(box, QStringLiteral("abc "));
        QKeyEvent thai(QEvent::KeyPress, 0, Qt::NoModifier, QStringLiteral("ท"));
        QCoreApplication::sendEvent(box, &thai);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->lines(), before);

        // ...but the text can be selected, by keyboard and by mouse.
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(box->textCursor().selectedText().size(), box->toPlainText().size());
        box->moveCursor(QTextCursor::Start);
        QVERIFY(!box->textCursor().hasSelection());
        QTextBlock words = box->document()->firstBlock();
        while (words.text().trimmed().isEmpty())
            words = words.next();
        QTextCursor inWord(words);
        inWord.setPosition(words.position() + std::min(5, words.length() - 2)); // past the indent
        QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, box->cursorRect(inWord).center());
        QVERIFY(box->textCursor().hasSelection());
    }

    void theStripRunsAlongTheBottomInFourEqualHeaders()
    {
        auto *about = get<TabControl>(QStringLiteral("TabControl2"));
        QCOMPARE(get<TabItem>(QStringLiteral("TabItem8"))->declaredWidth, 95.0);
        showPageOf(QStringLiteral("Memo2"));
        const QImage image = rendered(TabbedForm);
        const QColor border = platformLook().tabPageBorder;
        TabStrip *strip = about->strip();
        QCOMPARE(strip->mapTo(TabbedForm, QPoint(0, 0)).y(), 555 - 49);
        // Dividers every 97 units, whatever width the last header declares.
        const int mid = 555 - 25;
        for (int x : {0, 97, 194, 291, 387})
            QUORLIN_PROBE(image, x, mid, border, 0);
        for (int x : {96, 98, 193, 195, 290, 292, 386})
            QVERIFY2(!near(at(image, x, mid), border, 8), qPrintable(QString::number(x)));
        // The selected header reaches the window's bottom edge; the others stop 2 short.
        QUORLIN_PROBE(image, 40, 554, border, 0);
        QUORLIN_PROBE(image, 40, 553, platformLook().tabSelected, 0);
        QUORLIN_PROBE(image, 140, 552, border, 0);
        QVERIFY(!near(at(image, 140, 553), border, 8));
    }
};

QTEST_MAIN(AboutSectionTest)
#include "tst_aboutsection.moc"
