// SPDX-License-Identifier: GPL-3.0-or-later
// The platform look: which look and which font family a system gets, that the text really is
// set in them, that captions stay black, and that style names the look lacks change nothing.
#include "platform/look.h"
#include "probes.h"

#include <QApplication>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <QTextLayout>

using namespace quorlin;
using namespace quorlin::test;

class PlatformLookTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { applyPlatformLook(); }

    void lookFollowsTheSystemVersion_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<QString>("look");
        const QString seven = QStringLiteral("Windows 7");
        const QString eight = QStringLiteral("Windows 8 Desktop");
        QTest::newRow("XP 5.1") << true << 5 << 1 << seven;
        QTest::newRow("Vista 6.0") << true << 6 << 0 << seven;
        QTest::newRow("7 6.1") << true << 6 << 1 << seven;
        QTest::newRow("8 6.2") << true << 6 << 2 << eight;
        QTest::newRow("8.1 6.3") << true << 6 << 3 << eight;
        // Minor 0, yet a later system: compared as a pair, not minor alone.
        QTest::newRow("10 and 11, 10.0") << true << 10 << 0 << eight;
        QTest::newRow("not Windows") << false << 6 << 1 << eight;
    }

    void lookFollowsTheSystemVersion()
    {
        QFETCH(bool, windows);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(QString, look);
        QCOMPARE(lookForVersion(windows, major, minor).title, look);
    }

    void fontFamilyFollowsTheSystemAndWhatIsInstalled_data()
    {
        QTest::addColumn<bool>("windows");
        QTest::addColumn<int>("major");
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QStringList>("thaiCapable");
        QTest::addColumn<QStringList>("families");
        const QString segoe = QStringLiteral("Segoe UI");
        const QString tahoma = QStringLiteral("Tahoma");
        const QString leelawadee = QStringLiteral("Leelawadee UI");
        const QStringList both{QStringLiteral("Arial"), segoe, tahoma};
        const QStringList none;
        const QStringList thai{QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans Thai UI")};
        QTest::newRow("7, both installed") << true << 6 << both << none << QStringList{segoe};
        QTest::newRow("10, both installed") << true << 10 << both << none << QStringList{segoe};
        QTest::newRow("XP, both installed") << true << 5 << both << none << QStringList{tahoma};
        QTest::newRow("XP, Tahoma only")
            << true << 5 << QStringList{tahoma} << none << QStringList{tahoma};
        QTest::newRow("XP, Segoe UI only") << true << 5 << QStringList{segoe} << none << thai;
        QTest::newRow("10, Tahoma only") << true << 10 << QStringList{tahoma} << none << thai;
        QTest::newRow("other system, neither")
            << false << 12 << QStringList{QStringLiteral("DejaVu Sans")} << none << thai;
        QTest::newRow("other system, Segoe UI")
            << false << 12 << QStringList{segoe} << none << QStringList{segoe};
        // Where the named face lacks Thai letters, a face that has them follows it: the
        // system's own Thai UI face first, then Tahoma, then any other.
        QTest::newRow("10, Thai in Leelawadee UI and Tahoma")
            << true << 10 << both << QStringList{tahoma, leelawadee}
            << QStringList{segoe, leelawadee};
        QTest::newRow("7, Thai in Tahoma") << true << 6 << both << QStringList{tahoma}
                                           << QStringList{segoe, tahoma};
        QTest::newRow("10, Thai in an unknown face only")
            << true << 10 << both << QStringList{QStringLiteral("Garuda")}
            << QStringList{segoe, QStringLiteral("Garuda")};
        QTest::newRow("10, Segoe UI with Thai")
            << true << 10 << both << QStringList{segoe, tahoma} << QStringList{segoe};
        QTest::newRow("XP, Tahoma with Thai")
            << true << 5 << both << QStringList{leelawadee, tahoma} << QStringList{tahoma};
    }

    void fontFamilyFollowsTheSystemAndWhatIsInstalled()
    {
        QFETCH(bool, windows);
        QFETCH(int, major);
        QFETCH(QStringList, installed);
        QFETCH(QStringList, thaiCapable);
        QFETCH(QStringList, families);
        QCOMPARE(defaultFontFamilies(windows, major, installed, [&] { return thaiCapable; }),
                 families);
    }

    void thaiAndLatinAreSetInTheChosenFaces()
    {
        const QStringList installed = QFontDatabase::families();
        if (installed.contains(QStringLiteral("Segoe UI")))
            QSKIP("Segoe UI is installed: the Thai face is the system's own fallback");
        // Lay the text out as a label would and look at the faces Qt actually used.
        QTextLayout layout(QStringLiteral("เกี่ยวกับ โปรแกรม Quorlin รุ่น 2.0"), lookFont(12));
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        QStringList faces;
        for (const QGlyphRun &run : layout.glyphRuns())
            faces << run.rawFont().familyName();
        faces.removeDuplicates();
        faces.sort();
        QCOMPARE(faces,
                 (QStringList{QStringLiteral("Noto Sans"), QStringLiteral("Noto Sans Thai UI")}));
    }

    void buttonCaptionsStayBlackInEveryState_data()
    {
        QTest::addColumn<QString>("look");
        QTest::addColumn<bool>("enabled");
        for (const PlatformLook *l : {&windows7Look(), &windows8Look()}) {
            QTest::newRow(qPrintable(l->title + QStringLiteral(", enabled"))) << l->title << true;
            QTest::newRow(qPrintable(l->title + QStringLiteral(", disabled"))) << l->title << false;
        }
    }

    void buttonCaptionsStayBlackInEveryState()
    {
        QFETCH(QString, look);
        QFETCH(bool, enabled);
        ScopedPlatformLook scoped(look == windows7Look().title ? windows7Look() : windows8Look());
        QWidget window;
        window.resize(200, 100);
        auto *button = new QPushButton(QStringLiteral("ย้อนกลับ"), &window);
        button->setFont(lookFont(12));
        button->setGeometry(40, 26, 108, 48);
        button->setEnabled(enabled);
        window.show();
        const QImage image = rendered(button);
        int darkest = 255;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                darkest = std::min(darkest, qGray(image.pixel(x, y)));
        QVERIFY2(darkest < 40, qPrintable(QStringLiteral("darkest caption pixel %1").arg(darkest)));
    }

    void styleNamesTheLookLacksDrawTheDefaultLook()
    {
        // The same window twice, once with the style names the program declares: nothing
        // may differ, and nothing may complain.
        const QString source = QStringLiteral(R"(window TStyleProbe {
                ClientSize = 300, 200
                ToolBar HeaderToolBar {
                    Align = Top
                    Height = 48
                    Label ToolBarLabel {
                        Align = Contents
                        %1
                        Text = "คำแนะนำ"
                        TextAlign = Center
                        VertTextAlign = Center
                    }
                }
                TabControl Tabs {
                    Align = Client
                    TabHeight = 49
                    TabItem A {
                        Text = "หน้าแรก"
                        %2
                    }
                    TabItem B {
                        Text = "หัวข้อบันทึก"
                        %3
                    }
                    TabItem C {
                        Text = "ไพ่ชีวิต"
                        %4
                    }
                    TabItem D {
                        Text = "เกี่ยวกับเรา"
                        %5
                    }
                }
            })");
        ProbeForm plain(QStringLiteral("TStyleProbe"),
                        source.arg(QString(), QString(), QString(), QString(), QString()));
        ProbeForm named(QStringLiteral("TStyleProbe"),
                        source.arg(QStringLiteral("StyleLookup = \"toollabel\""),
                                   QStringLiteral("StyleLookup = \"tabitemtoprated\""),
                                   QStringLiteral("StyleLookup = \"tabitemcontacts\""),
                                   QStringLiteral("StyleLookup = \"tabitemrecent\""),
                                   QStringLiteral("StyleLookup = \"tabitemmostrecent\"")));
        plain.load();
        named.load();
        plain.show();
        named.show();
        QCOMPARE(rendered(&named), rendered(&plain));
    }
};

QTEST_MAIN(PlatformLookTest)
#include "tst_platformlook.moc"
