// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the build's addresses into a built-in text.
#include "app/buildsettings.h"
#include "base/exception.h"
#include "buildconfig.h"

#include <QTest>

using namespace quorlin;

class BuildSettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void placeholdersBecomeTheSettingsValues_data()
    {
        const QString site = QStringLiteral(QUORLIN_WEBSITE_URL);
        const QString mail = QStringLiteral(QUORLIN_DONATION_EMAIL);
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expanded");
        QTest::newRow("none") << QStringLiteral("ไม่มีที่อยู่") << QStringLiteral("ไม่มีที่อยู่");
        QTest::newRow("alone") << QStringLiteral("{QUORLIN_WEBSITE_URL}") << site;
        QTest::newRow("two, side by side")
            << QStringLiteral("{QUORLIN_WEBSITE_URL}{QUORLIN_DONATION_EMAIL}") << site + mail;
        QTest::newRow("in Thai, across lines")
            << QStringLiteral("อีเมล {QUORLIN_DONATION_EMAIL}\n   เว็บไซต์ {QUORLIN_WEBSITE_URL}\n")
            << QStringLiteral("อีเมล %1\n   เว็บไซต์ %2\n").arg(mail, site);
        // Braces that name no build setting are text.
        QTest::newRow("other braces") << QStringLiteral("{a} {quorlin_website_url} {QUORLIN_")
                                      << QStringLiteral("{a} {quorlin_website_url} {QUORLIN_");
    }

    void placeholdersBecomeTheSettingsValues()
    {
        QFETCH(QString, text);
        QFETCH(QString, expanded);
        QCOMPARE(expandBuildSettings(text, QStringLiteral("text/x.txt")), expanded);
    }

    void aMisspeltPlaceholderIsAnError()
    {
        // Shown as it is, it would put "{QUORLIN_WEBSITE_ULR}" before a reader.
        try {
            expandBuildSettings(QStringLiteral("เว็บไซต์ {QUORLIN_WEBSITE_ULR}"),
                                QStringLiteral("text/about_support.txt"));
            QFAIL("a placeholder naming no setting was accepted");
        } catch (const Exception &e) {
            QVERIFY2(e.message().contains(QLatin1String("text/about_support.txt")) &&
                         e.message().contains(QLatin1String("QUORLIN_WEBSITE_ULR")),
                     qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(BuildSettingsTest)
#include "tst_buildsettings.moc"
