// SPDX-License-Identifier: GPL-3.0-or-later
// A whole session with the system's own audio output and no sound server to reach: every
// window opens, every bell is asked to ring, and nothing is shown, stops or hangs.
#include "drive.h"
#include "support/windowfixture.h"

#include <QTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

using namespace quorlin;
using namespace quorlin::test;

namespace {

// Leaves a socket file that nothing listens on: connecting to it is refused.
bool makeDeadSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound;
}

} // namespace

class NoAudioServerTest : public QObject
{
    Q_OBJECT

private slots:
    void everyFlowRunsSilently()
    {
        resetModuleState();
        WindowFixture f;
        SystemAudioOutput systemAudio;
        ScopedServices realAudio(Services{nullptr, nullptr, nullptr, nullptr, &systemAudio});
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
