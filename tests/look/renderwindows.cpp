// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper, not part of the program: renders every window and every tab page, in both
// looks, to PNG files for a person to look at, and lists texts that do not fit their boxes.
//
//     render_windows [folder]        (default: ./renders)
//
// Writes <folder>/<look>/<window>[-<tab>[-<tab>]].png; runs offscreen unless told otherwise.
#include "forms/TabbedTemplate.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "forms/Unit4.h"
#include "forms/Unit5.h"
#include "forms/Unit6.h"
#include "forms/Unit7.h"
#include "forms/Unit8.h"
#include "platform/look.h"
#include "support/windowfixture.h"
#include "ui/controls.h"
#include "ui/tabcontrol.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTextDocument>

#include <cstdio>

using namespace quorlin;
using namespace quorlin::test;

namespace {

int g_problems = 0;

void note(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
}

void problem(const QString &line)
{
    ++g_problems;
    note(QStringLiteral("  ! ") + line);
}

class Renderer
{
public:
    explicit Renderer(QString folder) : m_folder(std::move(folder)) { QDir().mkpath(m_folder); }

    void save(Form *form, const QString &name)
    {
        QCoreApplication::processEvents();
        const QString file = m_folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!form->grab().save(file))
            problem(QStringLiteral("cannot write %1").arg(file));
        else
            note(QStringLiteral("  %1").arg(file));
    }

    // The window on each page of its first tab control; nested tab controls page by page.
    void savePages(Form *form, TabControl *tabs, const QString &base)
    {
        for (int i = 0; i < tabs->tabs().size(); ++i) {
            tabs->setCurrentIndex(i);
            TabItem *page = tabs->tabs().at(i);
            const QString name = base + QLatin1Char('-') + page->objectName();
            if (auto *inner =
                    page->findChild<TabControl *>(QString(), Qt::FindDirectChildrenOnly)) {
                const int kept = inner->currentIndex();
                savePages(form, inner, name);
                inner->setCurrentIndex(kept);
            } else {
                save(form, name);
            }
            if (!page->findChild<TabControl *>(QString(), Qt::FindDirectChildrenOnly))
                checkTexts(page);
        }
    }

    void saveWindow(Form *form)
    {
        if (auto *tabs = form->findChild<TabControl *>(QString(), Qt::FindDirectChildrenOnly)) {
            const int kept = tabs->currentIndex();
            savePages(form, tabs, form->className());
            tabs->setCurrentIndex(kept);
        } else {
            save(form, form->className());
            checkTexts(form);
        }
    }

    // Texts that a person would find cut off: labels taller than their box once wrapped, tab
    // captions wider than their header, button captions wider than their button.
    static void checkTexts(QWidget *within)
    {
        for (auto *label : within->findChildren<TextLabel *>())
            checkLabel(label, label->text());
        for (auto *button : within->findChildren<QPushButton *>()) {
            const int need = button->fontMetrics().horizontalAdvance(button->text()) + 12;
            if (need > button->width())
                problem(QStringLiteral("%1: caption needs %2 of %3")
                            .arg(button->objectName())
                            .arg(need)
                            .arg(button->width()));
        }
        for (auto *strip : within->findChildren<TabStrip *>()) {
            for (int i = 0; i < strip->count(); ++i) {
                const int need = strip->fontMetrics().horizontalAdvance(strip->tabText(i));
                const int room = strip->panelRect(i).width() - 2;
                if (need > room)
                    problem(QStringLiteral("tab \"%1\": caption needs %2 of %3")
                                .arg(strip->tabText(i))
                                .arg(need)
                                .arg(room));
            }
        }
        for (auto *memo : within->findChildren<Memo *>()) {
            const int text =
                int(memo->document()->size().height() * memo->fontMetrics().lineSpacing());
            note(QStringLiteral("  %1: %2 lines, %3 of text in %4 (%5)")
                     .arg(memo->objectName())
                     .arg(memo->lines().size())
                     .arg(text)
                     .arg(memo->viewport()->height())
                     .arg(text > memo->viewport()->height() ? QStringLiteral("scrolls")
                                                            : QStringLiteral("fits")));
        }
    }

    static bool checkLabel(TextLabel *label, const QString &text)
    {
        const QString kept = label->text();
        label->setText(text);
        const int need =
            label->wordWrap() ? label->heightForWidth(label->width()) : label->sizeHint().height();
        label->setText(kept);
        if (need > label->height()) {
            problem(QStringLiteral("%1: \"%2\" needs %3 of %4")
                        .arg(label->objectName(), text.left(40))
                        .arg(need)
                        .arg(label->height()));
            return false;
        }
        return true;
    }

    // Every text a result label can show, and the window with the tallest one.
    void saveWithLongestText(Form *form, const QString &labelName, const DrawDeck &deck)
    {
        auto *label = control<TextLabel>(form, labelName);
        const QString kept = label->text();
        QString tallest;
        int tallestHeight = -1;
        int fit = 0;
        for (int i = deck.first; i <= deck.last(); ++i) {
            const QString text = deck.displayText(deck.text(i));
            fit += checkLabel(label, text) ? 1 : 0;
            label->setText(text);
            const int h = label->heightForWidth(label->width());
            if (h > tallestHeight) {
                tallestHeight = h;
                tallest = text;
            }
        }
        note(QStringLiteral("  %1: %2 of %3 texts fit; the tallest needs %4 of %5")
                 .arg(form->className())
                 .arg(fit)
                 .arg(deck.size())
                 .arg(tallestHeight)
                 .arg(label->height()));
        label->setText(tallest);
        save(form, form->className() + QStringLiteral("-tallest"));
        label->setText(kept);
    }

private:
    QString m_folder;
};

template <typename T> T *open(WindowFixture &f, T *&name)
{
    f.app->createForm(name);
    f.app->show(name);
    return name;
}

void pressDraw(Form *form)
{
    control<QPushButton>(form, QStringLiteral("Button4"))->click();
}

void renderLook(const PlatformLook &look, const QString &folder)
{
    ScopedPlatformLook scoped(look);
    note(QStringLiteral("%1 -> %2").arg(look.title, folder));
    Renderer r(folder);
    WindowFixture f;
    f.app->createForm(TabbedForm);
    f.app->startUp();
    r.saveWindow(TabbedForm);

    r.saveWindow(open(f, Form1));
    r.saveWindow(open(f, Form2));

    // The ritual windows before and after the first press of the draw button; the angel
    // ritual acts only while no angel card has been drawn since it last opened.
    AngelDrawMark = 0;
    for (Form *ritual : {static_cast<Form *>(open(f, Form3)), static_cast<Form *>(open(f, Form4)),
                         static_cast<Form *>(open(f, Form5))}) {
        r.saveWindow(ritual);
        pressDraw(ritual);
        r.save(ritual, ritual->className() + QStringLiteral("-instruction"));
        Renderer::checkTexts(ritual);
        f.app->close(ritual);
    }

    r.saveWindow(open(f, Form6));
    r.saveWithLongestText(Form6, QStringLiteral("toppic1"), topicDeck());
    r.saveWindow(open(f, Form7));
    r.saveWithLongestText(Form7, QStringLiteral("AngelTell1"), angelDeck());
    r.saveWindow(open(f, Form8));
    r.saveWithLongestText(Form8, QStringLiteral("AngelTell1"), obstacleDeck());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUORLIN_SOURCE_DIR"))
        qputenv("QUORLIN_SOURCE_DIR", QUORLIN_SOURCE_DIR_DEFAULT);
    QApplication qtApp(argc, argv);
    const QString folder =
        QDir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("renders")).absolutePath();
    applyPlatformLook();
    renderLook(windows7Look(), folder + QStringLiteral("/windows7"));
    renderLook(windows8Look(), folder + QStringLiteral("/windows8"));
    note(QStringLiteral("%1 problem(s)").arg(g_problems));
    return g_problems == 0 ? 0 : 1;
}
