// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace quorlin {

namespace {

const char ClickableProperty[] = "quorlinClickable";

// Picture view as assistive technology sees it: a graphic named by its description, or a
// button with a press action when a click on it does something (rings the bell).
class PictureViewAccessible : public QAccessibleWidget
{
public:
    explicit PictureViewAccessible(QWidget *w) : QAccessibleWidget(w, QAccessible::Graphic) {}

    QAccessible::Role role() const override
    {
        return isPictureClickable(widget()) ? QAccessible::Button : QAccessible::Graphic;
    }

    QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (isPictureClickable(widget()))
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString &actionName) override
    {
        if (actionName == pressAction() && isPictureClickable(widget())) {
            // The same signal a mouse click emits, so the same handler runs.
            QMetaObject::invokeMethod(widget(), "clicked");
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
};

QAccessibleInterface *controlsFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *w = static_cast<QWidget *>(object);
    if (className == QLatin1String("quorlin::PictureView"))
        return new PictureViewAccessible(w);
    if (className == QLatin1String("quorlin::ToolBar"))
        return new QAccessibleWidget(w, QAccessible::ToolBar);
    // The program's windows are plain widgets; they are frames to assistive technology, named
    // by their captions.
    if (className == QLatin1String("quorlin::Form") && w->isWindow())
        return new QAccessibleWidget(w, QAccessible::Window);
    return nullptr;
}

// Turns Return and Enter on a focused push button into a press.
class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
            return false;
        if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || key->isAutoRepeat())
            return false;
        auto *button = static_cast<QPushButton *>(watched);
        if (!button->isEnabled())
            return false;
        button->click();
        return true;
    }
};

// Copies a label's text into its window's accessible description when the window is shown.
class ShowDescriber : public QObject
{
public:
    ShowDescriber(QWidget *window, QLabel *label) : QObject(window), m_label(label) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && m_label)
            static_cast<QWidget *>(watched)->setAccessibleDescription(m_label->text());
        return false;
    }

private:
    QPointer<QLabel> m_label;
};

} // namespace

void installAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(controlsFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void setPictureClickable(QWidget *pictureView, bool clickable)
{
    pictureView->setProperty(ClickableProperty, clickable);
}

bool isPictureClickable(const QWidget *pictureView)
{
    return pictureView && pictureView->property(ClickableProperty).toBool();
}

void pressOnEnter(QPushButton *button)
{
    button->installEventFilter(new EnterPresses(button));
}

void describeWithLabel(QWidget *window, QLabel *label)
{
    window->installEventFilter(new ShowDescriber(window, label));
}

} // namespace quorlin
