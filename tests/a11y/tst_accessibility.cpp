// SPDX-License-Identifier: GPL-3.0-or-later
// What assistive technology sees of every window, and the program driven from the keyboard alone.
#include "bell/bellplayer.h"
#include "forms/TabbedTemplate.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/pictureview.h"
#include "ui/tabcontrol.h"

#include <QAccessible>
#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace quorlin;
using namespace quorlin::test;

namespace {

using Role = QAccessible::Role;

// One control as a screen reader should find it. A null name means "the control's own visible
// text" (labels, whose texts are long or change, and text boxes, named by their first line).
struct Expected
{
    const char *member;
    Role role;
    QString name;
    QString description = {};
};

const QString kBowl = QStringLiteral("ขันทิเบตสีเข้มบนโต๊ะกลมสีดำ มีไพ่ใบเล็กวางกระจายอยู่รอบๆ");
const QString kRingsBell = QStringLiteral("กดที่ภาพเพื่อฟังเสียงระฆัง");
const QString kFlower = QStringLiteral("ภาพวาดสีเทียนบนกระดาษ ดอกไม้สีเขียวกับสีส้ม");
const QString kCards = QStringLiteral("ภาพถ่ายจากด้านบน ไพ่ใบเล็กเรียงเป็นวงบนแผ่นไม้กลม");
const QString kMascot = QStringLiteral("การ์ตูนกระดาษม้วนสีเขียวมีแขน กำลังยิ้ม");
const QString kBack = QStringLiteral("ย้อนกลับ");
const QString kAdvice = QStringLiteral("คำแนะนำ");
const QString kVideo = QStringLiteral("ตัวอย่าง-วิดีโอลิงค์");
const QString kOwnText; // null: the control's own visible text

QList<Expected> expectedControls(const QString &window)
{
    const Role Button = QAccessible::Button, Graphic = QAccessible::Graphic,
               Label = QAccessible::StaticText, TextBox = QAccessible::EditableText,
               Page = QAccessible::Client, ToolBar = QAccessible::ToolBar,
               Tabs = QAccessible::Client;
    if (window == QLatin1String("TTabbedForm"))
        return {
            {"HeaderToolBar", ToolBar, {}},
            {"ToolBarLabel", Label, QStringLiteral("Quorlin (Quorlin) 2.0")},
            {"TabControl1", Tabs, {}},
            {"TabItem1", Page, {}},
            {"ImageControl6", Button, kBowl, kRingsBell},
            {"Button1", Button, QStringLiteral("ออก")},
            {"Button4", Button, QStringLiteral("เว็บไซต์")},
            {"Button5", Button, QStringLiteral("เฟสบุ๊ค")},
            {"TabItem2", Page, {}},
            {"ImageControl7", Graphic, kFlower},
            {"Button6", Button, QStringLiteral("หัวข้อบันทึก")},
            {"Button7", Button, kAdvice},
            {"TabItem3", Page, {}},
            {"ImageControl1", Graphic, kCards},
            {"Button2", Button, kAdvice},
            {"Button8", Button, QStringLiteral("จับไพ่นางฟ้า")},
            {"Button9", Button, QStringLiteral("จับไพ่อุปสรรค")},
            {"TabItem4", Page, {}},
            {"TabControl2", Tabs, {}},
            {"TabItem5", Page, {}},
            {"ImageControl3", Graphic, QStringLiteral("สมุดบันทึกที่เปิดอยู่ มีภาพวาดรูปนางฟ้า")},
            {"Memo2", TextBox, kOwnText},
            {"TabItem6", Page, {}},
            {"ImageControl4", Graphic, QStringLiteral("กลุ่มคนนั่งล้อมวงกันบนพื้น")},
            {"Memo3", TextBox, kOwnText},
            {"TabItem7", Page, {}},
            {"ImageControl2", Graphic, QStringLiteral("ภาพหมู่ของผู้ใหญ่")},
            {"Memo1", TextBox, kOwnText},
            {"TabItem8", Page, {}},
            {"ImageControl5", Graphic, QStringLiteral("ภาพหมู่ของเยาวชนกลางแจ้ง")},
            {"Memo4", TextBox, kOwnText},
        };
    if (window == QLatin1String("TForm1"))
        return {
            {"HeaderToolBar", ToolBar, {}},
            {"ToolBarLabel", Label, QStringLiteral("คำแนะนำ - หัวข้อบันทึก (Quorlin 2.0)")},
            {"TabControl3", Tabs, {}},
            {"TabItem10", Page, {}},
            {"ImageControl6", Button, kBowl, kRingsBell},
            {"Memo1", TextBox, QStringLiteral("เกี่ยวกับ")},
            {"TabItem11", Page, {}},
            {"ImageControl7", Graphic, kFlower},
            {"Memo3", TextBox, QStringLiteral("กุญแจพื้นฐาน")},
            {"TabItem12", Page, {}},
            {"ImageControl1", Graphic, kCards},
            {"Memo4", TextBox, QStringLiteral("เขียนไม่หยุดปากกา")},
            {"TabItem14", Page, {}},
            {"ImageControl2", Graphic, QStringLiteral("หน้าสมุดบันทึกที่เขียนด้วยลายมือ")},
            {"Memo2", TextBox, QStringLiteral("การทบทวน")},
            {"TabItem13", Page, {}},
            {"ImageControl3", Graphic, kMascot},
            {"Button6", Button, kBack},
            {"Button3", Button, kVideo},
        };
    if (window == QLatin1String("TForm2"))
        return {
            {"HeaderToolBar", ToolBar, {}},
            {"ToolBarLabel", Label, QStringLiteral("คำแนะนำ - ไพ่ชีวิต (Quorlin 2.0)")},
            {"TabControl4", Tabs, {}},
            {"TabItem15", Page, {}},
            {"ImageControl6", Graphic,
             QStringLiteral("หน้าสมุดบันทึกที่มีลายมือ กับภาพวาดหัวใจ นางฟ้า และลูกโลก")},
            {"Memo1", TextBox, kOwnText},
            {"TabItem16", Page, {}},
            {"ImageControl7", Graphic, QStringLiteral("หน้าสมุดบันทึกเขียนด้วยลายมือ มีภาพวาดนางฟ้า")},
            {"Memo3", TextBox, kOwnText},
            {"TabItem17", Page, {}},
            {"ImageControl3", Graphic, kMascot},
            {"Button6", Button, kBack},
            {"Button3", Button, kVideo},
        };
    if (window == QLatin1String("TForm3"))
        return {{"toppic1", Label, kOwnText},
                {"Button4", Button, QStringLiteral("จับหัวข้อบันทึก")},
                {"Button1", Button, kBack}};
    if (window == QLatin1String("TForm4"))
        return {{"Button4", Button, QStringLiteral("จับไพ่อุปสรรค")},
                {"Button1", Button, kBack},
                {"AngelTell", Label, kOwnText}};
    if (window == QLatin1String("TForm5"))
        return {{"Button4", Button, QStringLiteral("จับไพ่นางฟ้า")},
                {"Button1", Button, kBack},
                {"AngelTell1", Label, kOwnText}};
    if (window == QLatin1String("TForm6"))
        return {
            {"toppic1", Label, kOwnText}, {"Button4", Button, kAdvice}, {"Button1", Button, kBack}};
    // TForm7, TForm8
    return {
        {"Button4", Button, kAdvice}, {"Button1", Button, kBack}, {"AngelTell1", Label, kOwnText}};
}

QStringList expectedTabs(const QString &tabControl)
{
    static const QHash<QString, QStringList> tabs{
        {QStringLiteral("TabControl1"),
         {QStringLiteral("หน้าแรก"), QStringLiteral("หัวข้อบันทึก"), QStringLiteral("ไพ่ชีวิต"),
          QStringLiteral("เกี่ยวกับเรา")}},
        {QStringLiteral("TabControl2"),
         {QStringLiteral("โปรแกรม"), QStringLiteral("การเขียนบำบัด"), QStringLiteral("โครงการ"),
          QStringLiteral("ร่วมสนับสนุน")}},
        {QStringLiteral("TabControl3"),
         {QStringLiteral("เกี่ยวกับ"), QStringLiteral("กุญแจพื้นฐาน"), QStringLiteral("ไม่หยุดปากกา"),
          QStringLiteral("การทบทวน"), QStringLiteral("เมนู")}},
        {QStringLiteral("TabControl4"),
         {QStringLiteral("เกี่ยวกับ"), QStringLiteral("การบันทึก"), QStringLiteral("เมนู")}},
    };
    return tabs.value(tabControl);
}

QString visibleText(QWidget *w)
{
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *memo = qobject_cast<Memo *>(w))
        for (const QString &line : memo->lines())
            if (!line.trimmed().isEmpty())
                return line.trimmed();
    return {};
}

QString roleName(Role role)
{
    return QString::number(int(role), 16);
}

// The focused control, named by its member (a tab strip by its tab control's member).
QString focusName()
{
    QWidget *w = QApplication::focusWidget();
    if (!w)
        return QStringLiteral("(none)");
    if (qobject_cast<TabStrip *>(w))
        return w->parentWidget()->objectName() + QStringLiteral(".strip");
    return w->objectName();
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    Form *open(const QString &window)
    {
        Application &app = *f->app;
        Form *form = nullptr;
        if (window == QLatin1String("TTabbedForm"))
            return TabbedForm;
        auto make = [&](auto *&name) {
            app.createForm(name);
            app.show(name);
            form = name;
        };
        if (window == QLatin1String("TForm1"))
            make(Form1);
        else if (window == QLatin1String("TForm2"))
            make(Form2);
        else if (window == QLatin1String("TForm3"))
            make(Form3);
        else if (window == QLatin1String("TForm4"))
            make(Form4);
        else if (window == QLatin1String("TForm5"))
            make(Form5);
        else if (window == QLatin1String("TForm6"))
            make(Form6);
        else if (window == QLatin1String("TForm7"))
            make(Form7);
        else if (window == QLatin1String("TForm8"))
            make(Form8);
        return form;
    }

    static QAccessibleInterface *iface(QObject *o)
    {
        QAccessibleInterface *i = QAccessible::queryAccessibleInterface(o);
        if (!i)
            qFatal("no accessible interface for %s", qPrintable(o->objectName()));
        return i;
    }

    static void activate(Form *form)
    {
        form->activateWindow();
        QApplication::setActiveWindow(form);
        QVERIFY(QTest::qWaitForWindowActive(form));
    }

    static void key(int k, Qt::KeyboardModifiers mods = {})
    {
        QWidget *target = QApplication::focusWidget();
        QVERIFY2(target, "nothing has the keyboard focus");
        QTest::keyClick(target, Qt::Key(k), mods);
    }

    void selectTab(TabControl *tabs, int index)
    {
        TabStrip *strip = tabs->strip();
        QTest::mouseClick(strip, Qt::LeftButton, {}, strip->tabRect(index).center());
        QCOMPARE(tabs->currentIndex(), index);
    }

private slots:
    void init()
    {
        resetModuleState();
        f = std::make_unique<WindowFixture>();
        f->app->createForm(TabbedForm);
        f->app->startUp();
        QVERIFY(TabbedForm);
    }

    void cleanup() { f.reset(); }

    void everyControlHasItsNameAndRole_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("caption");
        QTest::newRow("main") << "TTabbedForm"
                              << "Quorlin";
        QTest::newRow("topic guidance") << "TForm1"
                                        << "คำแนะนำ หัวข้อบันทึก";
        QTest::newRow("card guidance") << "TForm2"
                                       << "คำแนะนำ ไพ่ชีวิต";
        QTest::newRow("topic ritual") << "TForm3"
                                      << "หัวข้อบันทึก";
        QTest::newRow("obstacle ritual") << "TForm4"
                                         << "ไพ่อุปสรรค";
        QTest::newRow("angel ritual") << "TForm5"
                                      << "Form5";
        QTest::newRow("topic result") << "TForm6"
                                      << "หัวข้อบันทึก";
        QTest::newRow("angel result") << "TForm7"
                                      << "ไพ่นางฟ้า";
        QTest::newRow("obstacle result") << "TForm8"
                                         << "ไพ่อุปสรรค";
    }

    void everyControlHasItsNameAndRole()
    {
        QFETCH(QString, window);
        QFETCH(QString, caption);
        Form *form = open(window);
        QVERIFY(form);

        QAccessibleInterface *top = iface(form);
        QCOMPARE(top->role(), QAccessible::Window);
        QCOMPARE(top->text(QAccessible::Name), caption);

        const QList<Expected> table = expectedControls(window);
        QStringList listed;
        for (const Expected &e : table) {
            const QString member = QString::fromLatin1(e.member);
            listed << member;
            auto *w = control<QWidget>(form, member);
            QVERIFY2(w, qPrintable(member + QStringLiteral(" is missing")));
            QCOMPARE(w->objectName(), member);
            QAccessibleInterface *i = iface(w);
            const QString name = e.name.isNull() ? visibleText(w) : e.name;
            QVERIFY2(i->role() == e.role,
                     qPrintable(member + QStringLiteral(": role 0x") + roleName(i->role()) +
                                QStringLiteral(", expected 0x") + roleName(e.role)));
            QCOMPARE(i->text(QAccessible::Name), name);
            if (e.role == QAccessible::StaticText || e.role == QAccessible::EditableText ||
                e.role == QAccessible::Button || e.role == QAccessible::Graphic)
                QVERIFY2(!name.isEmpty(), qPrintable(member + QStringLiteral(" has no name")));
            if (!e.description.isNull())
                QCOMPARE(i->text(QAccessible::Description), e.description);
            if (e.role == QAccessible::EditableText) {
                QVERIFY2(i->state().readOnly, qPrintable(member));
                QVERIFY(i->textInterface());
                QCOMPARE(i->textInterface()->text(0, i->textInterface()->characterCount()),
                         qobject_cast<Memo *>(w)->toPlainText());
            }
            if (auto *tabs = qobject_cast<TabControl *>(w)) {
                // The strip is a list of page tabs named by their captions; a screen reader
                // presses one to change pages.
                QAccessibleInterface *strip = iface(tabs->strip());
                QCOMPARE(strip->role(), QAccessible::PageTabList);
                QStringList captions;
                for (int c = 0; c < strip->childCount(); ++c) {
                    QAccessibleInterface *tab = strip->child(c);
                    if (tab->role() != QAccessible::PageTab)
                        continue; // scroll buttons
                    captions << tab->text(QAccessible::Name);
                    QVERIFY(tab->actionInterface() &&
                            tab->actionInterface()->actionNames().contains(
                                QAccessibleActionInterface::pressAction()));
                }
                QCOMPARE(captions, expectedTabs(member));
            }
            if (e.role == QAccessible::Button) {
                QVERIFY(i->actionInterface());
                QVERIFY(i->actionInterface()->actionNames().contains(
                    QAccessibleActionInterface::pressAction()));
            }
        }
        // Nothing declared is left out of the table (a strip is checked with its tab control).
        for (QWidget *w : form->findChildren<QWidget *>()) {
            const bool inStrip =
                qobject_cast<TabStrip *>(w) || qobject_cast<TabStrip *>(w->parentWidget());
            if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")) &&
                !inStrip)
                QVERIFY2(listed.contains(w->objectName()),
                         qPrintable(w->objectName() + QStringLiteral(" is not in the table")));
        }
    }

    void aPictureThatRingsTheBellIsPressedThroughItsAction_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("main home picture") << "TTabbedForm";
        QTest::newRow("topic guidance picture") << "TForm1";
    }

    void aPictureThatRingsTheBellIsPressedThroughItsAction()
    {
        QFETCH(QString, window);
        Form *form = open(window);
        auto *bell = control<BellPlayer>(form, QStringLiteral("MediaPlayer1"));
        QVERIFY(bell);
        QVERIFY(bell->state() != BellPlayer::State::Playing);
        QAccessibleActionInterface *action =
            iface(control<PictureView>(form, QStringLiteral("ImageControl6")))->actionInterface();
        QVERIFY(action);
        action->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(bell->state(), BellPlayer::State::Playing);
        // A picture that does nothing on a click offers nothing to press.
        QAccessibleInterface *still =
            iface(control<PictureView>(form, QStringLiteral("ImageControl7")));
        QVERIFY(!still->actionInterface() || !still->actionInterface()->actionNames().contains(
                                                 QAccessibleActionInterface::pressAction()));
    }

    void tabGoesThroughEachPageInSlotOrder_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("page"); // tab of the window's first tab control, -1 for none
        QTest::addColumn<QStringList>("order");
        QTest::newRow("main home")
            << "TTabbedForm" << 0 << QStringList{"Button5", "Button4", "Button1", "Button5"};
        QTest::newRow("main topics")
            << "TTabbedForm" << 1 << QStringList{"Button6", "Button7", "Button6"};
        QTest::newRow("main cards")
            << "TTabbedForm" << 2 << QStringList{"Button8", "Button9", "Button2", "Button8"};
        QTest::newRow("main about")
            << "TTabbedForm" << 3 << QStringList{"TabControl2.strip", "Memo2", "TabControl2.strip"};
        QTest::newRow("topic guidance menu")
            << "TForm1" << 4
            << QStringList{"TabControl3.strip", "Button6", "Button3", "TabControl3.strip"};
        QTest::newRow("card guidance menu")
            << "TForm2" << 2
            << QStringList{"TabControl4.strip", "Button6", "Button3", "TabControl4.strip"};
        for (const char *w : {"TForm3", "TForm4", "TForm5", "TForm6", "TForm7", "TForm8"})
            QTest::newRow(w) << w << -1 << QStringList{"Button4", "Button1", "Button4"};
    }

    void tabGoesThroughEachPageInSlotOrder()
    {
        QFETCH(QString, window);
        QFETCH(int, page);
        QFETCH(QStringList, order);
        Form *form = open(window);
        activate(form);
        if (page >= 0)
            selectTab(form->findChild<TabControl *>(), page);
        // Start from the first control as the window's focus chain gives it.
        QWidget *first = control<QWidget>(form, order.first().section(QLatin1Char('.'), 0, 0));
        if (auto *tabs = qobject_cast<TabControl *>(first))
            first = tabs->strip();
        first->setFocus(Qt::TabFocusReason);
        QStringList seen{focusName()};
        for (int i = 1; i < order.size(); ++i) {
            key(Qt::Key_Tab);
            seen << focusName();
        }
        QCOMPARE(seen, order);
    }

    void aWindowOpensWithTheFocusOnItsFirstButton_data()
    {
        QTest::addColumn<QString>("window");
        for (const char *w : {"TForm3", "TForm4", "TForm5", "TForm6", "TForm7", "TForm8"})
            QTest::newRow(w) << w;
    }

    void aWindowOpensWithTheFocusOnItsFirstButton()
    {
        QFETCH(QString, window);
        Form *form = open(window);
        activate(form);
        QCOMPARE(focusName(), QStringLiteral("Button4"));
    }

    void spaceReturnAndEnterPressTheFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
    }

    void spaceReturnAndEnterPressTheFocusedButton()
    {
        QFETCH(int, key);
        activate(TabbedForm);
        auto *web = control<QPushButton>(TabbedForm, QStringLiteral("Button4"));
        web->setFocus(Qt::TabFocusReason);
        QSignalSpy clicks(web, &QPushButton::clicked);
        AccessibilityTest::key(key);
        QCOMPARE(clicks.size(), 1);
        QCOMPARE(f->shell.opened.size(), 1);
        // Keys with modifiers are left to whoever else wants them.
        AccessibilityTest::key(key == Qt::Key_Space ? Qt::Key_Return : key, Qt::ControlModifier);
        QCOMPARE(clicks.size(), 1);
    }

    void leftAndRightMoveAlongEveryTabStrip_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("tabControl");
        QTest::newRow("main") << "TTabbedForm"
                              << "TabControl1";
        QTest::newRow("about section") << "TTabbedForm"
                                       << "TabControl2";
        QTest::newRow("topic guidance") << "TForm1"
                                        << "TabControl3";
        QTest::newRow("card guidance") << "TForm2"
                                       << "TabControl4";
    }

    void leftAndRightMoveAlongEveryTabStrip()
    {
        QFETCH(QString, window);
        QFETCH(QString, tabControl);
        Form *form = open(window);
        activate(form);
        if (tabControl == QLatin1String("TabControl2"))
            selectTab(control<TabControl>(form, QStringLiteral("TabControl1")), 3);
        auto *tabs = control<TabControl>(form, tabControl);
        selectTab(tabs, 0);
        tabs->strip()->setFocus(Qt::TabFocusReason);
        const int last = int(tabs->tabs().size()) - 1;
        QList<int> seen;
        for (int i = 0; i <= last + 1; ++i) {
            key(Qt::Key_Right);
            seen << tabs->currentIndex();
        }
        for (int i = 0; i <= last + 1; ++i) {
            key(Qt::Key_Left);
            seen << tabs->currentIndex();
        }
        QList<int> expected; // on to the last tab and stop there, then back to the first
        for (int i = 1; i <= last + 2; ++i)
            expected << std::min(i, last);
        for (int i = last - 1; i >= -2; --i)
            expected << std::max(i, 0);
        QCOMPARE(seen, expected);
        QCOMPARE(QApplication::focusWidget(), tabs->strip());
    }

    void aClickOnAHeaderGivesItsStripTheArrowKeys_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("tabControl");
        QTest::addColumn<QString>("focused"); // before the click; empty: as the clicks left it
        QTest::newRow("main") << "TTabbedForm"
                              << "TabControl1"
                              << "Button6";
        // The main strip keeps the focus from the press that opened the about section.
        QTest::newRow("about section") << "TTabbedForm"
                                       << "TabControl2" << QString();
        QTest::newRow("topic guidance") << "TForm1"
                                        << "TabControl3"
                                        << "Memo3";
        QTest::newRow("card guidance") << "TForm2"
                                       << "TabControl4"
                                       << "Memo3";
    }

    void aClickOnAHeaderGivesItsStripTheArrowKeys()
    {
        // As a person does it: a click on the second header, then Left to whatever has the
        // focus. It must move the strip that was clicked, and that strip alone.
        QFETCH(QString, window);
        QFETCH(QString, tabControl);
        QFETCH(QString, focused);
        Form *form = open(window);
        activate(form);
        auto *main = form->findChild<TabControl *>(QString(), Qt::FindDirectChildrenOnly);
        if (tabControl == QLatin1String("TabControl2"))
            selectTab(main, 3);
        auto *tabs = control<TabControl>(form, tabControl);
        tabs->setCurrentIndex(1);
        if (!focused.isEmpty()) {
            control<QWidget>(form, focused)->setFocus(Qt::OtherFocusReason);
            QCOMPARE(focusName(), focused);
        }
        selectTab(tabs, 1);
        QCOMPARE(QApplication::focusWidget(), tabs->strip());
        key(Qt::Key_Left);
        QCOMPARE(tabs->currentIndex(), 0);
        if (main != tabs)
            QCOMPARE(main->currentIndex(), tabControl == QLatin1String("TabControl2") ? 3 : 0);
    }

    void pageKeysMoveTheWindowsPagesAndStopAtTheEnds_data()
    {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("focused"); // a control, or "<tab control>.strip"
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("moved"); // the tab control that moves
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("focusAfter");
        const int ctrl = Qt::ControlModifier;
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("Ctrl+Tab from a home button")
            << "TTabbedForm"
            << "Button5" << int(Qt::Key_Tab) << ctrl << "TabControl1" << 0 << 1 << "Button6";
        QTest::newRow("Ctrl+PageDown from a topic button")
            << "TTabbedForm"
            << "Button7" << int(Qt::Key_PageDown) << ctrl << "TabControl1" << 1 << 2 << "Button8";
        QTest::newRow("Ctrl+Shift+Tab from a card button")
            << "TTabbedForm"
            << "Button9" << int(Qt::Key_Backtab) << ctrlShift << "TabControl1" << 2 << 1
            << "Button6";
        QTest::newRow("Ctrl+PageUp from the main strip")
            << "TTabbedForm"
            << "TabControl1.strip" << int(Qt::Key_PageUp) << ctrl << "TabControl1" << 1 << 0
            << "TabControl1.strip";
        QTest::newRow("Ctrl+PageUp stops at the first page")
            << "TTabbedForm"
            << "Button5" << int(Qt::Key_PageUp) << ctrl << "TabControl1" << 0 << 0 << "Button5";
        QTest::newRow("Ctrl+Tab in a reading page moves the about section")
            << "TTabbedForm"
            << "Memo2" << int(Qt::Key_Tab) << ctrl << "TabControl2" << 0 << 1 << "Memo3";
        QTest::newRow("the about section stops at its last page")
            << "TTabbedForm"
            << "Memo4" << int(Qt::Key_PageDown) << ctrl << "TabControl2" << 3 << 3 << "Memo4";
        // The about strip's own focus leaves the page keys to the main strip, which is how
        // the keyboard leaves the about section.
        QTest::newRow("Ctrl+Shift+Tab from the about strip moves the main strip")
            << "TTabbedForm"
            << "TabControl2.strip" << int(Qt::Key_Backtab) << ctrlShift << "TabControl1" << 3 << 2
            << "Button8";
        QTest::newRow("the main strip stops at its last page")
            << "TTabbedForm"
            << "TabControl2.strip" << int(Qt::Key_Tab) << ctrl << "TabControl1" << 3 << 3
            << "TabControl2.strip";
        QTest::newRow("topic guidance, from its strip")
            << "TForm1"
            << "TabControl3.strip" << int(Qt::Key_PageDown) << ctrl << "TabControl3" << 0 << 1
            << "TabControl3.strip";
        QTest::newRow("topic guidance, from a reading page to the menu")
            << "TForm1"
            << "Memo2" << int(Qt::Key_Tab) << ctrl << "TabControl3" << 3 << 4 << "Button6";
        QTest::newRow("card guidance, back from the menu")
            << "TForm2"
            << "Button3" << int(Qt::Key_Backtab) << ctrlShift << "TabControl4" << 2 << 1
            << "Memo3";
        QTest::newRow("card guidance stops at its last page")
            << "TForm2"
            << "Button6" << int(Qt::Key_Tab) << ctrl << "TabControl4" << 2 << 2 << "Button6";
    }

    void pageKeysMoveTheWindowsPagesAndStopAtTheEnds()
    {
        QFETCH(QString, window);
        QFETCH(QString, focused);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, moved);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, focusAfter);
        Form *form = open(window);
        activate(form);
        auto *main = form->findChild<TabControl *>(QString(), Qt::FindDirectChildrenOnly);
        auto *tabs = control<TabControl>(form, moved);
        auto *about = control<TabControl>(form, QStringLiteral("TabControl2"));
        if (moved == QLatin1String("TabControl2"))
            main->setCurrentIndex(3);
        tabs->setCurrentIndex(from);
        const int aboutBefore = about ? about->currentIndex() : -1;
        QWidget *start = control<QWidget>(form, focused.section(QLatin1Char('.'), 0, 0));
        if (auto *strip = qobject_cast<TabControl *>(start))
            start = strip->strip();
        start->setFocus(Qt::OtherFocusReason);
        QCOMPARE(focusName(), focused);
        const int mainBefore = main->currentIndex();

        AccessibilityTest::key(key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(tabs->currentIndex(), to);
        QVERIFY(tabs->tabs().at(to)->isVisible());
        QCOMPARE(focusName(), focusAfter);
        // Only the one strip moves.
        if (tabs != main)
            QCOMPARE(main->currentIndex(), mainBefore);
        if (about && tabs != about)
            QCOMPARE(about->currentIndex(), aboutBefore);
    }

    void otherKeysWithTabOrThePageKeysMoveNoPage_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("PageDown") << int(Qt::Key_PageDown) << int(Qt::NoModifier);
        QTest::newRow("Shift+PageDown") << int(Qt::Key_PageDown) << int(Qt::ShiftModifier);
        QTest::newRow("Alt+PageDown") << int(Qt::Key_PageDown) << int(Qt::AltModifier);
        QTest::newRow("Ctrl+Alt+Tab")
            << int(Qt::Key_Tab) << int(Qt::ControlModifier | Qt::AltModifier);
    }

    void otherKeysWithTabOrThePageKeysMoveNoPage()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        activate(TabbedForm);
        auto *main = control<TabControl>(TabbedForm, QStringLiteral("TabControl1"));
        main->setCurrentIndex(1);
        control<QWidget>(TabbedForm, QStringLiteral("Button6"))->setFocus(Qt::OtherFocusReason);
        AccessibilityTest::key(key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(main->currentIndex(), 1);
    }

    void aWholeAngelDrawWithTheKeyboardAlone()
    {
        // From the main window as it opens, with no click anywhere: to the card page, draw,
        // and back from the result to the main window.
        activate(TabbedForm);
        QCOMPARE(focusName(), QStringLiteral("Button5"));
        key(Qt::Key_Tab, Qt::ControlModifier);
        key(Qt::Key_PageDown, Qt::ControlModifier);
        auto *main = control<TabControl>(TabbedForm, QStringLiteral("TabControl1"));
        QCOMPARE(main->currentIndex(), 2);
        QCOMPARE(focusName(), QStringLiteral("Button8"));
        key(Qt::Key_Space);
        QVERIFY(Form5 && Form5->isVisible());
        activate(Form5);
        key(Qt::Key_Space);
        QCOMPARE(AngelRitualStage, 1);
        key(Qt::Key_Space);
        QVERIFY(Form7 && Form7->isVisible());
        QVERIFY(!Form5->isVisible());
        const QString card = control<TextLabel>(Form7, QStringLiteral("AngelTell1"))->text();
        QVERIFY2(card.startsWith(QChar(0x201C)) && card.endsWith(QChar(0x201D)), qPrintable(card));
        activate(Form7);
        key(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Button1"));
        key(Qt::Key_Return); // Back
        QVERIFY(!Form7->isVisible());
        QCOMPARE(f->app->activeForm(), TabbedForm);
        QCOMPARE(main->currentIndex(), 2);
    }

    void aWholeTopicDrawFromTheKeyboardAnnouncesTheTopic()
    {
        activate(TabbedForm);
        selectTab(control<TabControl>(TabbedForm, QStringLiteral("TabControl1")), 1);
        key(Qt::Key_Tab); // from the strip the press left focused, to the first button
        QCOMPARE(focusName(), QStringLiteral("Button6"));
        key(Qt::Key_Return);
        QVERIFY(Form3);
        activate(Form3);
        QCOMPARE(focusName(), QStringLiteral("Button4"));
        key(Qt::Key_Space);
        QCOMPARE(TopicRitualStage, 1);
        QCOMPARE(focusName(), QStringLiteral("Button4"));
        key(Qt::Key_Return);
        QVERIFY(Form6);
        QVERIFY(Form6->isVisible());
        const QString topic = control<TextLabel>(Form6, QStringLiteral("toppic1"))->text();
        QVERIFY(topic.startsWith(QLatin1Char('"')) && topic.size() > 2);
        QAccessibleInterface *result = iface(Form6);
        QCOMPARE(result->text(QAccessible::Name), QStringLiteral("หัวข้อบันทึก"));
        QCOMPARE(result->text(QAccessible::Description), topic);
        // The announcement leaves the keyboard order as it was.
        activate(Form6);
        QCOMPARE(focusName(), QStringLiteral("Button4"));
        key(Qt::Key_Tab);
        QCOMPARE(focusName(), QStringLiteral("Button1"));
        key(Qt::Key_Space); // Back
        QVERIFY(!Form6->isVisible());
    }

    void aCardResultAnnouncesTheDrawnCard_data()
    {
        QTest::addColumn<QString>("window");
        QTest::newRow("angel") << "TForm7";
        QTest::newRow("obstacle") << "TForm8";
    }

    void aCardResultAnnouncesTheDrawnCard()
    {
        QFETCH(QString, window);
        Form *form = open(window);
        const QString card = control<TextLabel>(form, QStringLiteral("AngelTell1"))->text();
        QVERIFY(!card.contains(QStringLiteral("เปิดออกแล้ว"))); // the layout text was replaced
        QCOMPARE(iface(form)->text(QAccessible::Description), card);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
