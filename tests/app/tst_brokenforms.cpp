// SPDX-License-Identifier: GPL-3.0-or-later
// Broken window descriptions fed to the reader: the user is told exactly what is wrong, in the
// "Error" box of the window that asked, and the broken window is neither shown nor kept.
#include "app/application.h"
#include "app/formdata.h"
#include "support/fakeplatform.h"
#include "ui/controls.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace quorlin;
using namespace quorlin::test;

namespace {

QString brokenSource;                 // the declared data of the next TBroken
QList<QPointer<QWidget>> brokenBuilt; // every TBroken made, to see that none is kept
bool handlerRanOn = false;            // the opening handler went on after the creation

// A window read from the source a test gives.
class TBroken : public Form
{
    Q_OBJECT
    Q_PROPERTY(quorlin::TextLabel *Label1 MEMBER Label1)
    Q_PROPERTY(QPushButton *Button1 MEMBER Button1)
    Q_PROPERTY(QString Note MEMBER Note REQUIRED)

public:
    // Bound once the description is read.
    TextLabel *Label1 = nullptr;
    QPushButton *Button1 = nullptr;
    QString Note; // a text of the window's own, which its description must give

    TBroken() : Form(QStringLiteral("TBroken")) { brokenBuilt << this; }
    FormData declaredData() const override
    {
        return parseFormData(brokenSource, QStringLiteral("TBroken.form"));
    }

public slots:
    void Button1Click(QObject *) {}
    void FormCreate(QObject *) {}
};
TBroken *Broken = nullptr;

// The window whose button opens a TBroken, as every opener does: create, then show.
class THost : public Form
{
    Q_OBJECT

public:
    THost() : Form(QStringLiteral("THost")) {}
    FormData declaredData() const override
    {
        return parseFormData(QStringLiteral(R"(window THost {
                Caption = "host"
                ClientSize = 388, 555
                Button Button1 {
                    Align = Center
                    Size = 100, 40
                    Text = "open"
                    OnClick = Button1Click
                }
            })"),
                             QStringLiteral("THost.form"));
    }

public slots:
    void Button1Click(QObject *)
    {
        Application::instance().createForm(Broken);
        Application::instance().show(Broken);
        handlerRanOn = true;
    }
};
THost *Host = nullptr;

// A whole, working description, with one line of it replaced by the test's.
QString described(const QString &from, const QString &to)
{
    const QString whole = QStringLiteral(R"(window TBroken {
    Caption = "broken"
    ClientSize = 388, 555
    OnCreate = FormCreate
    Label Label1 {
        Align = Top
        Height = 150
        FontColor = #FFFFF8DC
        Text = "ข้อความ"
    }
    Button Button1 {
        Position = 10, 20
        Size = 108, 48
        Text = "ย้อนกลับ"
        OnClick = Button1Click
    }
    PictureView ImageControl1 {
        Size = 700, 600
        Picture = <pictures/home_bowl.png>
    }
    Note = "บันทึก"
}
)");
    if (!whole.contains(from))
        qFatal("no line %s in the description", qPrintable(from));
    QString source = whole;
    return source.replace(from, to);
}

} // namespace

class BrokenFormsTest : public QObject
{
    Q_OBJECT

private:
    FakeMessageBoxes m_boxes;
    FakeDesktop m_desktop;
    std::unique_ptr<ScopedServices> m_services;
    std::unique_ptr<Application> m_app;

private slots:
    void init()
    {
        m_boxes.boxes.clear();
        m_desktop.rect = QRect(0, 0, 1024, 768);
        m_services = std::make_unique<ScopedServices>(
            Services{nullptr, nullptr, &m_boxes, &m_desktop});
        m_app = std::make_unique<Application>();
        m_app->createForm(Host);
        m_app->startUp();
        brokenBuilt.clear();
        handlerRanOn = false;
    }

    void cleanup()
    {
        m_app.reset();
        m_services.reset();
    }

    void theWholeDescriptionOpens()
    {
        // The description the rows below break, whole: it opens, so each row's fault is its own.
        brokenSource = described(QStringLiteral("Caption"), QStringLiteral("Caption"));
        QTest::mouseClick(Host->findChild<QPushButton *>(), Qt::LeftButton);
        QVERIFY2(m_boxes.boxes.isEmpty(),
                 qPrintable(m_boxes.boxes.isEmpty() ? QString() : m_boxes.boxes[0].text));
        QVERIFY(Broken && Broken->isVisible());
        QVERIFY(handlerRanOn);
        QCOMPARE(Broken->Label1, Broken->findChild<TextLabel *>(QStringLiteral("Label1")));
        QCOMPARE(Broken->Button1, Broken->findChild<QPushButton *>(QStringLiteral("Button1")));
        QVERIFY(Broken->Label1 && Broken->Button1);
        QCOMPARE(Broken->Note, QStringLiteral("บันทึก"));
    }

    void aBrokenDescriptionIsReportedAndNothingIsKept_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        // As the "Error" box shows it: a fault in a setting in the reader's words, one in the
        // text itself with its line.
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown control kind") << "PictureView ImageControl1 {"
                                              << "Slider ImageControl1 {"
                                              << "Class Slider not found.";
        QTest::newRow("unknown property")
            << "Text = \"ย้อนกลับ\""
            << "Caption = \"ย้อนกลับ\""
            << "Error reading Button1.Caption: Property Caption does not exist.";
        QTest::newRow("bad colour") << "FontColor = #FFFFF8DC"
                                    << "FontColor = #FFF8DC"
                                    << "TBroken.form line 8: colour must be #AARRGGBB.";
        QTest::newRow("colour that is no colour")
            << "FontColor = #FFFFF8DC"
            << "FontColor = cornsilk"
            << "Error reading Label1.FontColor: Invalid property value.";
        QTest::newRow("bad number")
            << "Size = 108, 48"
            << "Size = 108, 4x8"
            << "TBroken.form line 13: bad number '4x8'"; // no full stop after a quote
        QTest::newRow("number missing")
            << "Position = 10, 20"
            << "Position = 10"
            << "Error reading Button1.Position: Missing property value.";
        QTest::newRow("missing closing brace") << "        OnClick = Button1Click\n    }"
                                               << "        OnClick = Button1Click"
                                               << "TBroken.form line 22: missing '}'";
        QTest::newRow("missing end of a string")
            << "Text = \"ข้อความ\""
            << "Text = \"ข้อความ"
            << "TBroken.form line 9: string runs past the end of the line.";
        QTest::newRow("picture that does not exist")
            << "<pictures/home_bowl.png>"
            << "<pictures/no_such_picture.png>"
            << "Error reading ImageControl1.Picture: Picture pictures/no_such_picture.png not "
               "found.";
        // A window's fill is decoded after the window is made, but its picture is looked for
        // as the window is read.
        QTest::newRow("fill picture that does not exist")
            << "ClientSize = 388, 555"
            << "ClientSize = 388, 555\n    Fill = Picture, <pictures/no_such_fill.png>"
            << "Error reading TBroken.Fill: Picture pictures/no_such_fill.png not found.";
        QTest::newRow("handler that does not exist")
            << "OnClick = Button1Click"
            << "OnClick = Button9Click"
            << "Error reading Button1.OnClick: Method Button9Click not found.";
        QTest::newRow("window handler that does not exist")
            << "OnCreate = FormCreate"
            << "OnCreate = FormShow"
            << "Error reading TBroken.OnCreate: Method FormShow not found.";
        QTest::newRow("handler that is a slot of another signature")
            << "OnClick = Button1Click"
            << "OnClick = deleteLater"
            << "Error reading Button1.OnClick: Method deleteLater not found.";
        QTest::newRow("control the window binds, missing")
            << "Label Label1 {"
            << "Label Label2 {"
            << "Error reading TBroken.Label1: Component Label1 not found.";
        QTest::newRow("text the window needs, missing")
            << "Note = \"บันทึก\"" << ""
            << "Error reading TBroken.Note: Property Note not declared.";
        QTest::newRow("window text given to a control's name")
            << "Note = \"บันทึก\"" << "Label1 = \"บันทึก\""
            << "Error reading TBroken.Label1: Property Label1 does not exist.";
        QTest::newRow("control the window binds, of another kind")
            << "Button Button1 {"
            << "Label Button1 {"
            << "Error reading TBroken.Button1: Component Button1 is not a QPushButton.";
    }

    void aBrokenDescriptionIsReportedAndNothingIsKept()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        brokenSource = described(from, to);
        const qsizetype owned = m_app->owned().size();

        QTest::mouseClick(Host->findChild<QPushButton *>(), Qt::LeftButton);
        QCOMPARE(m_boxes.boxes.size(), 1);
        QCOMPARE(m_boxes.boxes[0].title, QStringLiteral("Error"));
        QCOMPARE(m_boxes.boxes[0].text, message);
        QCOMPARE(m_boxes.boxes[0].owner.data(), Host);

        // Neither shown nor kept: the name refers to no window, the half-built one is gone,
        // and the handler that asked stopped there.
        QVERIFY(!Broken);
        QVERIFY(!handlerRanOn);
        QCOMPARE(m_app->owned().size(), owned);
        QCOMPARE(brokenBuilt.size(), 1);
        QVERIFY2(brokenBuilt.first().isNull(), "the half-built window was kept");
        for (QWidget *w : QApplication::topLevelWidgets())
            QVERIFY2(w == Host || !w->isVisible(), qPrintable(w->windowTitle()));
        QVERIFY(Host->isVisible());
    }
};

QTEST_MAIN(BrokenFormsTest)
#include "tst_brokenforms.moc"
