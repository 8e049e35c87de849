// SPDX-License-Identifier: GPL-3.0-or-later
// The window model: creation requests, names, showing, closing, activation and ending.
#include "app/application.h"
#include "app/formdata.h"
#include "support/fakeplatform.h"

#include <QApplication>
#include <QCloseEvent>
#include <QPushButton>
#include <QTest>

using namespace quorlin;
using namespace quorlin::test;

namespace {

QStringList events; // what the test windows' handlers did, in order
bool failCreation = false;
std::function<void(Form *)> onButton;
std::function<void(Form *)> onClose;

// A window declared inline, logging its handlers.
class LoggingForm : public Form
{
    Q_OBJECT

public:
    LoggingForm(const QString &className, int width, int height)
        : Form(className), m_width(width), m_height(height)
    {
    }

    FormData declaredData() const override
    {
        return parseFormData(QStringLiteral(R"(window %1 {
                Caption = "%1"
                ClientSize = %2, %3
                OnCreate = FormCreate
                OnClose = FormClose
                Button Button1 {
                    Align = Center
                    Size = 100, 40
                    Text = "go"
                    OnClick = Button1Click
                }
            })")
                                 .arg(className())
                                 .arg(m_width)
                                 .arg(m_height),
                             className());
    }

    ~LoggingForm() override { events << className() + QStringLiteral(" destroyed"); }

public slots:
    void FormCreate(QObject *)
    {
        events << className() + QStringLiteral(" create");
        if (failCreation)
            throw Exception(QStringLiteral("creation refused"));
    }

    void Button1Click(QObject *)
    {
        events << className() + QStringLiteral(" click");
        if (onButton)
            onButton(this);
    }

    void FormClose(QObject *, quorlin::CloseAction &action)
    {
        events << className() + QStringLiteral(" close");
        QCOMPARE(action, CloseAction::Hide);
        if (onClose)
            onClose(this);
    }

private:
    int m_width;
    int m_height;
};

class TMainTest : public LoggingForm
{
public:
    TMainTest() : LoggingForm(QStringLiteral("TMainTest"), 388, 555) {}
};

class TSecondTest : public LoggingForm
{
public:
    TSecondTest() : LoggingForm(QStringLiteral("TSecondTest"), 392, 555) {}
};

class TThirdTest : public LoggingForm
{
public:
    TThirdTest() : LoggingForm(QStringLiteral("TThirdTest"), 388, 555) {}
};

TMainTest *MainTest = nullptr;
TSecondTest *SecondTest = nullptr;
TThirdTest *ThirdTest = nullptr;

} // namespace

class WindowModelTest : public QObject
{
    Q_OBJECT

private:
    FakeMessageBoxes m_boxes;
    FakeDesktop m_desktop;
    std::unique_ptr<ScopedServices> m_services;
    std::unique_ptr<Application> m_app;

    void click(Form *form) { QTest::mouseClick(form->findChild<QPushButton *>(), Qt::LeftButton); }

private slots:
    void init()
    {
        events.clear();
        failCreation = false;
        onButton = nullptr;
        onClose = nullptr;
        m_boxes.boxes.clear();
        m_boxes.onShow = nullptr;
        m_desktop.rect = QRect(0, 0, 1024, 768);
        m_services = std::make_unique<ScopedServices>(Services{nullptr, nullptr, &m_boxes,
                                                               &m_desktop});
        m_app = std::make_unique<Application>();
    }

    void cleanup()
    {
        m_app.reset();
        m_services.reset();
    }

    void requestsBeforeTheLoopAreOnlyRecorded()
    {
        m_app->createForm(MainTest);
        QVERIFY2(!MainTest, "no window may exist before the loop runs");
        QVERIFY(events.isEmpty());

        m_app->startUp();
        QVERIFY(MainTest);
        QCOMPARE(m_app->mainForm(), MainTest);
        QVERIFY(MainTest->isVisible());
        QCOMPARE(m_app->activeForm(), MainTest);
        QCOMPARE(events, QStringList{"TMainTest create"});

        // Once running, Create builds at once, hidden, never shown.
        m_app->createForm(SecondTest);
        QVERIFY(SecondTest);
        QVERIFY(!SecondTest->isVisible());
        QVERIFY(SecondTest->neverShown);
        QCOMPARE(SecondTest->windowTitle(), QStringLiteral("TSecondTest"));
        QCOMPARE(SecondTest->size(), QSize(392, 555));
        QVERIFY(SecondTest->windowFlags() & Qt::FramelessWindowHint);
    }

    void showingCentresOnTheDesktopWithHalvesToEven_data()
    {
        QTest::addColumn<QRect>("desktop");
        QTest::addColumn<QPoint>("expected");
        // 388 wide: (1024 - 388) / 2 = 318; (768 - 555) / 2 = 106.5 -> 106.
        QTest::newRow("one screen") << QRect(0, 0, 1024, 768) << QPoint(318, 106);
        // (1025 - 388) / 2 = 318.5 -> 318; (769 - 555) / 2 = 107.
        QTest::newRow("odd sizes") << QRect(0, 0, 1025, 769) << QPoint(318, 107);
        // Two screens side by side: the whole desktop counts, with its origin.
        QTest::newRow("two screens") << QRect(-1280, 0, 3200, 1080) << QPoint(126, 262);
        // (1027 - 388) / 2 = 319.5 -> 320; (771 - 555) / 2 = 108.
        QTest::newRow("half rounds to even") << QRect(10, 20, 1027, 771) << QPoint(330, 128);
    }

    void showingCentresOnTheDesktopWithHalvesToEven()
    {
        QFETCH(QRect, desktop);
        QFETCH(QPoint, expected);
        m_desktop.rect = desktop;
        m_app->createForm(MainTest);
        m_app->startUp();
        QCOMPARE(MainTest->pos(), expected);
    }

    void failedCreationLeavesTheNameEmptyUntilTheNextSuccess()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        TSecondTest *first = SecondTest;
        QVERIFY(first);

        failCreation = true;
        QVERIFY_THROWS_EXCEPTION(Exception, m_app->createForm(SecondTest));
        QVERIFY2(!SecondTest, "a failed creation leaves the name referring to no window");
        QVERIFY(!m_app->owned().contains(nullptr));
        QCOMPARE(m_app->owned().size(), 2); // the half-built window is gone

        failCreation = false;
        m_app->createForm(SecondTest);
        QVERIFY(SecondTest && SecondTest != first);
    }

    void failedCreationInAHandlerIsReportedAndStopsTheHandler()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        onButton = [this](Form *) {
            failCreation = true;
            m_app->createForm(SecondTest);
            events << "after create"; // must not run
        };
        click(MainTest);
        QCOMPARE(m_boxes.boxes.size(), 1);
        QCOMPARE(m_boxes.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(m_boxes.boxes[0].text, QStringLiteral("creation refused."));
        QCOMPARE(m_boxes.boxes[0].owner.data(), MainTest);
        QVERIFY(!events.contains("after create"));
        QVERIFY(!SecondTest);
        QVERIFY(MainTest->isVisible());
    }

    void twoInstancesEachCloseOnlyThemselves()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        TSecondTest *older = SecondTest;
        m_app->show(older);
        m_app->createForm(SecondTest);
        TSecondTest *newer = SecondTest;
        m_app->show(newer);
        QVERIFY(older->isVisible() && newer->isVisible());
        QCOMPARE(SecondTest, newer);

        onButton = [this](Form *form) { m_app->close(form); };
        click(older);
        QVERIFY(!older->isVisible());
        QVERIFY(newer->isVisible());
        QCOMPARE(SecondTest, newer);
        QVERIFY2(m_app->owned().contains(older), "a hidden window lives until the end");
    }

    void closingHidesAndRunsTheCloseHandlerOnce()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        m_app->show(SecondTest);
        // A close request arriving while the window is closing has no effect.
        onClose = [this](Form *form) { m_app->close(form); };
        m_app->close(SecondTest);
        QCOMPARE(events.count("TSecondTest close"), 1);
        QVERIFY(!SecondTest->isVisible());
        QVERIFY(!SecondTest->closing);

        // Hidden for good: showing again is never asked, and a second close runs again.
        onClose = nullptr;
        m_app->close(SecondTest);
        QCOMPARE(events.count("TSecondTest close"), 2);
    }

    void closingFlagIsClearedWhenTheCloseHandlerFails()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        m_app->show(SecondTest);
        onClose = [](Form *) { throw Exception(QStringLiteral("close failed")); };
        m_app->dispatch([this] { m_app->close(SecondTest); });
        QVERIFY(!SecondTest->closing);
        QVERIFY2(SecondTest->isVisible(), "the rest of Close does not run after an error");
        QCOMPARE(m_boxes.boxes.size(), 1);
        QCOMPARE(m_boxes.boxes[0].text, QStringLiteral("close failed."));
    }

    void systemCloseCommandRunsClose()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        m_app->show(SecondTest);
        QCloseEvent event;
        QApplication::sendEvent(SecondTest, &event);
        QVERIFY(!event.isAccepted());
        QVERIFY(!SecondTest->isVisible());
        QCOMPARE(events.last(), QStringLiteral("TSecondTest close"));
        QVERIFY(!m_app->terminateRequested());

        QCloseEvent mainEvent;
        QApplication::sendEvent(MainTest, &mainEvent);
        QVERIFY(m_app->terminateRequested());
        QVERIFY2(MainTest->isVisible(), "closing the main window ends the program, not hides it");
    }

    void altF4ClosesWhereverTheFocusIs_data()
    {
        QTest::addColumn<bool>("onTheMainWindow");
        QTest::newRow("secondary window: hidden") << false;
        QTest::newRow("main window: the program ends") << true;
    }

    void altF4ClosesWhereverTheFocusIs()
    {
        // Where the desktop does not turn Alt+F4 into a close request itself, the key reaches
        // the window, with the focus on one of its controls; it closes as the close command.
        QFETCH(bool, onTheMainWindow);
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        m_app->show(SecondTest);
        Form *form = onTheMainWindow ? static_cast<Form *>(MainTest) : SecondTest;
        if (onTheMainWindow)
            m_app->show(MainTest);
        QVERIFY(QTest::qWaitForWindowActive(form));
        auto *button = form->findChild<QPushButton *>();
        button->setFocus();
        QCOMPARE(QApplication::focusWidget(), button);
        events.clear();

#ifdef Q_OS_WIN
        // Windows turns the key into the close command itself (systemCloseCommandRunsClose):
        // the key that reaches the window after it must not close it a second time.
        QTest::keyClick(button, Qt::Key_F4, Qt::AltModifier);
        QCOMPARE(events, QStringList{});
        QVERIFY(form->isVisible());
        QVERIFY(!m_app->terminateRequested());
        return;
#endif
        QTest::keyClick(button, Qt::Key_F4, Qt::AltModifier);
        QCOMPARE(events, QStringList{form->className() + QStringLiteral(" close")});
        QCOMPARE(m_app->terminateRequested(), onTheMainWindow);
        QCOMPARE(form->isVisible(), onTheMainWindow);

        // F4 alone is no close command.
        if (!onTheMainWindow) {
            m_app->show(MainTest);
            QVERIFY(QTest::qWaitForWindowActive(MainTest));
            QTest::keyClick(MainTest->findChild<QPushButton *>(), Qt::Key_F4);
            QVERIFY(MainTest->isVisible());
            QCOMPARE(events.size(), 1);
        }
    }

    void closingTheActiveWindowActivatesByTheWindowList()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        m_app->show(SecondTest);
        m_app->createForm(ThirdTest);
        m_app->show(ThirdTest);
        QCOMPARE(m_app->windows(), (QList<Form *>{MainTest, SecondTest, ThirdTest}));
        QCOMPARE(m_app->activeForm(), ThirdTest);

        // Activating the main window moves it to the end of the list.
        m_app->show(MainTest);
        QCOMPARE(m_app->windows(), (QList<Form *>{SecondTest, ThirdTest, MainTest}));

        // Third is not active: closing it changes nothing else.
        m_app->close(ThirdTest);
        QCOMPARE(m_app->activeForm(), MainTest);

        // Second active, nothing visible after it but... the main window is after it.
        m_app->show(SecondTest);
        QCOMPARE(m_app->windows(), (QList<Form *>{ThirdTest, MainTest, SecondTest}));
        m_app->close(SecondTest);
        QCOMPARE(m_app->activeForm(), MainTest); // the first visible before it
    }

    void activationSkipsWindowsThatAreNotOnScreen()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        m_app->show(SecondTest);
        // Created after Second but never shown: it stands later in the list, yet is not visible.
        m_app->createForm(ThirdTest);
        QCOMPARE(m_app->windows(), (QList<Form *>{MainTest, SecondTest, ThirdTest}));
        QCOMPARE(m_app->activeForm(), SecondTest);
        m_app->close(SecondTest);
        QCOMPARE(m_app->activeForm(), MainTest);
        QVERIFY(!ThirdTest->isVisible());
    }

    void endingDestroysNewestFirstMainLastWithoutHandlers()
    {
        m_app->createForm(MainTest);
        m_app->startUp();
        m_app->createForm(SecondTest);
        m_app->show(SecondTest);
        m_app->createForm(ThirdTest);
        m_app->show(ThirdTest);
        events.clear();

        onButton = [this](Form *form) { m_app->close(form); };
        click(MainTest);
        QVERIFY(m_app->terminateRequested());
        QVERIFY2(!events.contains("TSecondTest close") && !events.contains("TThirdTest close"),
                 "visible secondary windows vanish with the main window, unclosed");

        m_app->finish();
        QCOMPARE(events, (QStringList{"TMainTest click", "TMainTest close", "TThirdTest destroyed",
                                      "TSecondTest destroyed", "TMainTest destroyed"}));
        QVERIFY(m_app->owned().isEmpty());
    }

    void errorBoxTextAddsAFullStopByTheCodeRule_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("shown");
        QTest::newRow("letter") << "File not found" << "File not found.";
        QTest::newRow("digit") << "code 7" << "code 7.";
        QTest::newRow("thai") << QStringLiteral("ไม่พบ") << QStringLiteral("ไม่พบ.");
        QTest::newRow("full stop") << "Done." << "Done.";
        QTest::newRow("exclamation") << "Stop!" << "Stop!";
        QTest::newRow("parenthesis") << "(x)" << "(x)";
        QTest::newRow("blank") << "trailing " << "trailing ";
        QTest::newRow("slash") << "a/" << "a/.";
        QTest::newRow("empty") << "" << "";
    }

    void errorBoxTextAddsAFullStopByTheCodeRule()
    {
        QFETCH(QString, message);
        QFETCH(QString, shown);
        QCOMPARE(Application::errorBoxText(message), shown);
    }

    void applicationErrorTextFollowsItsFormat_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("text");
        QTest::newRow("reading error")
            << "Error reading MediaPlayer1.FileName: File not found"
            << "Exception EReadError in module quorlin at 0012AB3F.\n"
               "Error reading MediaPlayer1.FileName: File not found.\n";
        QTest::newRow("ends with a full stop") << "Done."
                                               << "Exception EReadError in module quorlin at "
                                                  "0012AB3F.\nDone.\n";
        QTest::newRow("ends with an exclamation mark")
            << "Stop!" << "Exception EReadError in module quorlin at 0012AB3F.\nStop!.\n";
    }

    void applicationErrorTextFollowsItsFormat()
    {
        QFETCH(QString, message);
        QFETCH(QString, text);
        QCOMPARE(Application::applicationErrorText(QStringLiteral("EReadError"),
                                                   QStringLiteral("quorlin"), 0x12ab3f, message),
                 text);
    }

    void startUpFailureShowsTheApplicationErrorBoxAndExitsWithOne()
    {
        failCreation = true;
        m_app->createForm(MainTest);
        QCOMPARE(m_app->run(), 1);
        QCOMPARE(m_boxes.boxes.size(), 1);
        const auto &box = m_boxes.boxes[0];
        QCOMPARE(box.title, QStringLiteral("Application Error"));
        QVERIFY(!box.hadOwner);
        const QString module = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
        const QRegularExpression format(
            QStringLiteral("^Exception Exception in module %1 at [0-9A-F]{8}\\.\\n"
                           "creation refused\\.\\n$")
                .arg(QRegularExpression::escape(module)));
        QVERIFY2(format.match(box.text).hasMatch(), qPrintable(box.text));
        QVERIFY(!MainTest);
        QVERIFY2(m_app->owned().isEmpty(), "no window may appear");
    }
};

QTEST_MAIN(WindowModelTest)
#include "tst_windowmodel.moc"
