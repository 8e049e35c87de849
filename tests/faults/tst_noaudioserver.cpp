// SPDX-License-Identifier: GPL-3.0-or-later
// A whole session with the system's own audio output and no sound server to reach: every
// window opens, every bell is asked to ring, and nothing is shown, stops or hangs.
#include "support/drive.h"
#include "support/soundserver.h"
#include "support/windowfixture.h"

#include <QTimer>


using namespace quorlin;
using namespace quorlin::test;

class NoAudioServerTest : public QObject
{
    Q_OBJECT

private slots:
    void everyFlowRunsSilently()
    {
        resetModuleState();
        WindowFixture f;
        SystemAudioOutput systemAudio;
        ScopedAudioOutput realAudio(systemAudio);
        f.app->createForm(TabbedForm);

        int steps = 0;
        QTimer::singleShot(0, [&] {
            auto settle = [&] {
                QTest::qWait(20); // let the audio back end report what it can
                ++steps;
            };
            selectTab(TabbedForm, "TabControl1", HomeTab);
            QTest::mouseClick(TabbedForm->findChild<QWidget *>("ImageControl6"), Qt::LeftButton);
            settle();
            drawTopicFromMain();
            settle();
            press(Form6, "Button4");
            selectTab(Form1, "TabControl3", 0);
            QTest::mouseClick(Form1->findChild<QWidget *>("ImageControl6"), Qt::LeftButton);
            settle();
            press(Form1, "Button6");
            drawAngelFromMain();
            settle();
            systemClose(Form7); // hidden, its bell left to play on
            drawObstacleFromMain();
            settle();
            press(Form8, "Button1");
            drawTopicFromMain();
            press(Form6, "Button1");
            settle();
            selectTab(TabbedForm, "TabControl1", HomeTab);
            press(TabbedForm, "Button1");
        });
        QCOMPARE(f.app->run(), 0);
        QCOMPARE(steps, 6);
        QVERIFY2(f.boxes.boxes.isEmpty(), qPrintable(f.boxes.boxes.value(0).text));
    }
};

int main(int argc, char **argv)
{
    // Before Qt Multimedia starts, which connects once per process.
    QTemporaryDir dir;
    const QString socket = dir.filePath(QStringLiteral("dead"));
    if (!makeDeadSocket(socket))
        qFatal("cannot make a dead socket");
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(socket));
    QApplication app(argc, argv);
    NoAudioServerTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_noaudioserver.moc"
