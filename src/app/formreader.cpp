// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/formreader.h"

#include "app/application.h"
#include "app/builtintexts.h"
#include "app/form.h"
#include "base/exception.h"
#include "bell/bellplayer.h"
#include "platform/look.h"
#include "ui/accessibility.h"
#include "ui/controls.h"
#include "ui/pictures.h"
#include "ui/pictureview.h"
#include "ui/placement.h"
#include "ui/tabcontrol.h"

#include <QFile>
#include <QHash>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QPushButton>
#include <QSet>

#include <algorithm>
#include <initializer_list>
#include <memory>

namespace quorlin {

namespace {

[[noreturn]] void invalid(const QString &why) { throw Exception(why); }

const FormValue &at(const FormSetting &s, int i)
{
    if (i >= s.values.size())
        invalid(QStringLiteral("Missing property value"));
    return s.values.at(i);
}

double number(const FormSetting &s, int i = 0)
{
    const FormValue &v = at(s, i);
    if (v.kind != FormValue::Kind::Number)
        invalid(QStringLiteral("Invalid property value"));
    return v.number;
}

QString string(const FormSetting &s, int i = 0)
{
    const FormValue &v = at(s, i);
    if (v.kind != FormValue::Kind::String)
        invalid(QStringLiteral("Invalid property value"));
    return v.text;
}

QString identifier(const FormSetting &s, int i = 0)
{
    const FormValue &v = at(s, i);
    if (v.kind != FormValue::Kind::Identifier)
        invalid(QStringLiteral("Invalid property value"));
    return v.text;
}

bool boolean(const FormSetting &s)
{
    const QString v = identifier(s);
    if (v == QLatin1String("True"))
        return true;
    if (v == QLatin1String("False"))
        return false;
    invalid(QStringLiteral("Invalid property value"));
}

QColor color(const FormSetting &s, int i = 0)
{
    const FormValue &v = at(s, i);
    if (v.kind != FormValue::Kind::Color)
        invalid(QStringLiteral("Invalid property value"));
    return v.color;
}

QString resource(const FormSetting &s, int i = 0)
{
    const FormValue &v = at(s, i);
    if (v.kind != FormValue::Kind::Resource)
        invalid(QStringLiteral("Invalid property value"));
    return v.text;
}

QStringList lines(const FormSetting &s)
{
    const FormValue &v = at(s, 0);
    if (v.kind == FormValue::Kind::Resource)
        return builtInLines(v.text);
    if (v.kind != FormValue::Kind::List)
        invalid(QStringLiteral("Invalid property value"));
    QStringList out;
    for (const FormValue &item : v.list) {
        if (item.kind != FormValue::Kind::String)
            invalid(QStringLiteral("Invalid property value"));
        out << item.text;
    }
    return out;
}

Qt::Alignment horizontal(const QString &v)
{
    if (v == QLatin1String("Center"))
        return Qt::AlignHCenter;
    if (v == QLatin1String("Leading"))
        return Qt::AlignLeft;
    if (v == QLatin1String("Trailing"))
        return Qt::AlignRight;
    invalid(QStringLiteral("Invalid property value"));
}

Qt::Alignment vertical(const QString &v)
{
    if (v == QLatin1String("Center"))
        return Qt::AlignVCenter;
    if (v == QLatin1String("Leading"))
        return Qt::AlignTop;
    if (v == QLatin1String("Trailing"))
        return Qt::AlignBottom;
    invalid(QStringLiteral("Invalid property value"));
}

Placement::Align alignFrom(const QString &v)
{
    static const QHash<QString, Placement::Align> names{
        {QStringLiteral("None"), Placement::Align::None},
        {QStringLiteral("Top"), Placement::Align::Top},
        {QStringLiteral("Bottom"), Placement::Align::Bottom},
        {QStringLiteral("Left"), Placement::Align::Left},
        {QStringLiteral("Right"), Placement::Align::Right},
        {QStringLiteral("Client"), Placement::Align::Client},
        {QStringLiteral("Contents"), Placement::Align::Contents},
        {QStringLiteral("Center"), Placement::Align::Center}};
    const auto it = names.find(v);
    if (it == names.end())
        invalid(QStringLiteral("Invalid property value"));
    return *it;
}

// Font attributes a text control declares for itself; the rest come from the look.
void setFontAttribute(QWidget *w, const QString &name, const FormSetting &s)
{
    QFont f = w->font();
    if (name == QLatin1String("FontSize")) {
        f.setPixelSize(static_cast<int>(number(s)));
    } else if (name == QLatin1String("FontBold")) {
        f.setBold(boolean(s));
    } else if (name == QLatin1String("FontColor")) {
        QPalette p = w->palette();
        p.setColor(QPalette::WindowText, color(s));
        p.setColor(QPalette::Text, color(s));
        p.setColor(QPalette::ButtonText, color(s));
        w->setPalette(p);
        return;
    }
    w->setFont(f);
}

class Reader
{
public:
    explicit Reader(Form &form) : m_form(form) { installAccessibility(); }

    void readRoot(const FormNode &root)
    {
        for (const FormSetting &s : root.settings)
            guarded(root.name, s, [&] { applyWindow(s); });
        for (const auto &child : root.children)
            readNode(*child, &m_form, &m_form);
    }

    void readView(const FormView &view)
    {
        for (const auto &[memberName, s] : view.settings) {
            QObject *target = memberName == m_form.className()
                                  ? static_cast<QObject *>(&m_form)
                                  : m_members.value(memberName);
            guarded(memberName, s, [&] {
                if (!target)
                    invalid(QStringLiteral("Component %1 not found").arg(memberName));
                if (target == &m_form)
                    applyWindow(s);
                else
                    applyControl(target, m_kinds.value(target), s);
            });
        }
    }

    void loaded()
    {
        // Parents come before their children in declaration order, so one pass places every
        // container before what it holds. Hidden pages get no resize events, so nothing here
        // waits for one.
        arrangeChildren(&m_form);
        for (QWidget *container : std::as_const(m_containers)) {
            if (auto *tabs = qobject_cast<TabControl *>(container))
                tabs->loaded();
            else
                arrangeChildren(container);
        }
        // Keyboard order: within each page, by declared tab order; pages as declared.
        QList<QWidget *> parents;
        for (const auto &entry : std::as_const(m_focusable))
            if (!parents.contains(entry.first->parentWidget()))
                parents.append(entry.first->parentWidget());
        std::stable_sort(m_focusable.begin(), m_focusable.end(),
                         [&parents](const auto &a, const auto &b) {
                             const auto pa = parents.indexOf(a.first->parentWidget());
                             const auto pb = parents.indexOf(b.first->parentWidget());
                             return pa != pb ? pa < pb : a.second < b.second;
                         });
        for (qsizetype i = 1; i < m_focusable.size(); ++i)
            QWidget::setTabOrder(m_focusable.at(i - 1).first, m_focusable.at(i).first);
        if (!m_describedBy.isEmpty()) {
            auto *label = qobject_cast<QLabel *>(m_members.value(m_describedBy));
            if (!label)
                throw EReadError::forSetting(
                    m_form.className(), QStringLiteral("Description"),
                    QStringLiteral("Component %1 not found").arg(m_describedBy));
            describeWithLabel(&m_form, label);
        }
        bindControls();
    }

private:
    template <typename F> void guarded(const QString &member, const FormSetting &s, F &&apply)
    {
        try {
            apply();
        } catch (const Exception &e) {
            throw EReadError::forSetting(member, s.name, e.message());
        } catch (const std::exception &e) {
            throw EReadError::forSetting(member, s.name, QString::fromUtf8(e.what()));
        }
    }

    void readNode(const FormNode &node, QWidget *parentWidget, QObject *)
    {
        QObject *object = create(node.kind, parentWidget);
        object->setObjectName(node.name);
        m_members.insert(node.name, object);
        m_kinds.insert(object, node.kind);
        const QString member = node.name.isEmpty() ? node.kind : node.name;
        for (const FormSetting &s : node.settings)
            guarded(member, s, [&] { applyControl(object, node.kind, s); });
        auto *widget = qobject_cast<QWidget *>(object);
        for (const auto &child : node.children)
            readNode(*child, widget ? widget : parentWidget, object);
        if (auto *item = qobject_cast<TabItem *>(object)) {
            auto *tabs = qobject_cast<TabControl *>(parentWidget);
            if (!tabs)
                throw EReadError(QStringLiteral("Tab %1 is not in a tab control").arg(node.name));
            tabs->addTab(item);
        }
    }

    QObject *create(const QString &kind, QWidget *parent)
    {
        if (kind == QLatin1String("ToolBar"))
            return container(new ToolBar(parent));
        if (kind == QLatin1String("Label")) {
            auto *label = new TextLabel(parent);
            label->setFont(lookFont(12));
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return label;
        }
        if (kind == QLatin1String("Button")) {
            auto *button = new QPushButton(parent);
            button->setFont(lookFont(12));
            button->setAutoDefault(false);
            pressOnEnter(button);
            m_focusable.append({button, int(m_focusable.size())});
            return button;
        }
        if (kind == QLatin1String("TabControl")) {
            auto *tabs = new TabControl(parent);
            tabs->strip()->setFont(lookFont(12));
            return container(tabs);
        }
        if (kind == QLatin1String("TabItem"))
            return container(new TabItem(parent));
        if (kind == QLatin1String("PictureView"))
            return new PictureView(parent);
        if (kind == QLatin1String("Memo")) {
            auto *memo = new Memo(parent);
            memo->setFont(lookFont(12));
            return memo;
        }
        if (kind == QLatin1String("BellPlayer"))
            return new BellPlayer(&m_form);
        throw EReadError(QStringLiteral("Class %1 not found").arg(kind));
    }

    QWidget *container(QWidget *w)
    {
        m_containers.append(w);
        return w;
    }

    void applyWindow(const FormSetting &s)
    {
        const QString &n = s.name;
        if (n == QLatin1String("Caption")) {
            m_form.setWindowTitle(string(s));
        } else if (n == QLatin1String("ClientSize")) {
            m_form.setFixedSize(static_cast<int>(number(s, 0)), static_cast<int>(number(s, 1)));
        } else if (n == QLatin1String("Fill")) {
            m_form.setFill(fill(s));
        } else if (n == QLatin1String("StyleLookup")) {
            // A window style the look lacks falls back to the default background, which a
            // window with a fill of its own does not draw.
            m_form.setProperty("styleName", string(s));
        } else if (n == QLatin1String("Description")) {
            // A fixed text, or the name of a label whose text describes the window each time
            // it is shown.
            if (at(s, 0).kind == FormValue::Kind::Identifier)
                m_describedBy = identifier(s);
            else
                m_form.setAccessibleDescription(string(s));
        } else if (n == QLatin1String("OnCreate")) {
            m_form.setCreateHandler(notify(s));
        } else if (n == QLatin1String("OnClose")) {
            const int index = slotIndex(identifier(s), {"QObject*", "quorlin::CloseAction&"});
            m_form.setCloseHandler([form = &m_form, index](QObject *sender, CloseAction &action) {
                void *arguments[] = {nullptr, &sender, &action};
                form->qt_metacall(QMetaObject::InvokeMetaMethod, index, arguments);
            });
        } else if (const QMetaProperty text = declaredText(n); text.isValid()) {
            text.write(&m_form, string(s));
            m_texts.insert(n);
        } else {
            invalid(QStringLiteral("Property %1 does not exist").arg(n));
        }
    }

    // A text property the window's class declares beyond Form's ("Instruction"), which its
    // declared data sets; invalid when `name` is none.
    QMetaProperty declaredText(const QString &name) const
    {
        const QMetaObject *meta = m_form.metaObject();
        const int index = meta->indexOfProperty(name.toLatin1().constData());
        if (index < Form::staticMetaObject.propertyCount())
            return {};
        const QMetaProperty property = meta->property(index);
        return property.metaType() == QMetaType::fromType<QString>() ? property : QMetaProperty();
    }

    Form::Fill fill(const FormSetting &s)
    {
        Form::Fill f;
        const QString kind = identifier(s, 0);
        if (kind == QLatin1String("Solid")) {
            f.kind = Form::Fill::Kind::Solid;
            f.color = color(s, 1);
        } else if (kind == QLatin1String("Gradient")) {
            f.kind = Form::Fill::Kind::Gradient;
            for (int i = 1; i + 1 < s.values.size(); i += 2)
                f.stops.append({number(s, i + 1), color(s, i)});
            if (f.stops.size() < 2)
                invalid(QStringLiteral("Invalid property value"));
        } else if (kind == QLatin1String("Picture")) {
            f.kind = Form::Fill::Kind::Picture;
            f.picture = FillPicture::builtIn(resource(s, 1), m_form.size());
        } else {
            invalid(QStringLiteral("Invalid property value"));
        }
        return f;
    }

    // The index of the window's slot `name` taking exactly `parameters`, from the most derived
    // class down; "Method <name> not found" when it has none.
    int slotIndex(const QString &name, std::initializer_list<QByteArrayView> parameters) const
    {
        const QByteArray wanted = name.toLatin1();
        const QMetaObject *meta = m_form.metaObject();
        for (int i = meta->methodCount() - 1; i >= 0; --i) {
            const QMetaMethod method = meta->method(i);
            if (method.methodType() != QMetaMethod::Slot || method.name() != wanted ||
                method.parameterCount() != int(parameters.size()))
                continue;
            int at = 0;
            if (std::all_of(parameters.begin(), parameters.end(), [&](QByteArrayView type) {
                    return method.parameterTypeName(at++) == type;
                }))
                return i;
        }
        invalid(QStringLiteral("Method %1 not found").arg(name));
    }

    // A declared handler name as a call of the window's slot, resolved now. The call goes
    // straight to the window's own meta-call code, so that an error the handler raises reaches
    // our dispatch boundary without passing through Qt's.
    Form::NotifyHandler notify(const FormSetting &s)
    {
        const int index = slotIndex(identifier(s), {"QObject*"});
        return [form = &m_form, index](QObject *sender) {
            void *arguments[] = {nullptr, &sender};
            form->qt_metacall(QMetaObject::InvokeMetaMethod, index, arguments);
        };
    }

    // Sets each control property the window declares beyond Form's (a pointer to a QObject
    // class, named as a member of the declared data) to that member: "Component <name> not
    // found" when there is none, "Component <name> is not a <class>" when it is of another kind.
    // A required text property left undeclared is "Property <name> not declared".
    void bindControls()
    {
        const QMetaObject *meta = m_form.metaObject();
        for (int i = Form::staticMetaObject.propertyCount(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            // A text the window cannot do without (REQUIRED) must be declared.
            if (property.isRequired() && property.metaType() == QMetaType::fromType<QString>() &&
                !m_texts.contains(QString::fromLatin1(property.name())))
                throw EReadError::forSetting(
                    m_form.className(), QString::fromLatin1(property.name()),
                    QStringLiteral("Property %1 not declared").arg(property.name()));
            const QMetaObject *type = property.metaType().metaObject();
            if (!(property.metaType().flags() & QMetaType::PointerToQObject) || !type)
                continue;
            const QString name = QString::fromLatin1(property.name());
            QObject *control = m_members.value(name);
            const auto fail = [&](const QString &why) {
                throw EReadError::forSetting(m_form.className(), name, why);
            };
            if (!control)
                fail(QStringLiteral("Component %1 not found").arg(name));
            if (!control->metaObject()->inherits(type)) {
                const QString className = QString::fromLatin1(type->className());
                fail(QStringLiteral("Component %1 is not a %2")
                         .arg(name, className.section(QLatin1String("::"), -1)));
            }
            // A QObject pointer is the same bits as a pointer to the class it inherits from.
            property.write(&m_form, QVariant(property.metaType(), &control));
        }
    }

    // Connects a click signal to a handler, run at our dispatch boundary.
    template <typename Sender, typename Signal>
    void bindClick(Sender *sender, Signal signal, const FormSetting &s)
    {
        auto handler = notify(s);
        QObject::connect(sender, signal, &m_form, [sender, handler] {
            Application::instance().dispatch([&] { handler(sender); });
        });
    }

    void applyControl(QObject *object, const QString &kind, const FormSetting &s)
    {
        const QString &n = s.name;
        if (auto *player = qobject_cast<BellPlayer *>(object)) {
            if (n != QLatin1String("FileName"))
                invalid(QStringLiteral("Property %1 does not exist").arg(n));
            player->setFileName(string(s));
            return;
        }
        auto *w = qobject_cast<QWidget *>(object);
        if (!w)
            invalid(QStringLiteral("Property %1 does not exist").arg(n));
        if (applyPlacement(w, s))
            return;
        if (n == QLatin1String("StyleLookup")) {
            // Named looks the platform look does not have fall back to the default look.
            w->setProperty("styleName", string(s));
            if (auto *item = qobject_cast<TabItem *>(w))
                item->styleName = string(s);
        } else if (n == QLatin1String("TabOrder")) {
            for (auto &entry : m_focusable)
                if (entry.first == w)
                    entry.second = static_cast<int>(number(s));
        } else if (n == QLatin1String("CanFocus")) {
            w->setFocusPolicy(boolean(s) ? Qt::StrongFocus : Qt::NoFocus);
        } else if (auto *label = qobject_cast<TextLabel *>(w)) {
            applyLabel(label, s);
        } else if (auto *button = qobject_cast<QPushButton *>(w)) {
            if (n == QLatin1String("Text"))
                button->setText(string(s));
            else if (n == QLatin1String("OnClick"))
                bindClick(button, &QPushButton::clicked, s);
            else
                invalid(QStringLiteral("Property %1 does not exist").arg(n));
        } else if (auto *tabs = qobject_cast<TabControl *>(w)) {
            applyTabControl(tabs, s);
        } else if (auto *item = qobject_cast<TabItem *>(w)) {
            if (n == QLatin1String("Text"))
                item->caption = string(s);
            else if (n == QLatin1String("IsSelected"))
                item->declaredSelected = boolean(s);
            else if (n == QLatin1String("Width"))
                item->declaredWidth = number(s);
            else
                invalid(QStringLiteral("Property %1 does not exist").arg(n));
        } else if (auto *picture = qobject_cast<PictureView *>(w)) {
            if (n == QLatin1String("Picture")) {
                // Only the size is read now; the pixels when the picture is first drawn.
                const QString path = resource(s);
                picture->setPicture(
                    builtInPictureSize(path),
                    [path] {
                        try {
                            return builtInPicture(path);
                        } catch (const Exception &) {
                            return QImage();
                        }
                    },
                    [path](QSize drawn) { prefetchBuiltInPicture(path, drawn); });
            } else if (n == QLatin1String("OnClick")) {
                bindClick(picture, &PictureView::clicked, s);
                setPictureClickable(picture, true);
            } else if (n == QLatin1String("Description")) {
                // What the picture shows, then optionally what a click on it does.
                picture->setAccessibleName(string(s));
                picture->setAccessibleDescription(s.values.size() > 1 ? string(s, 1) : QString());
            } else
                invalid(QStringLiteral("Property %1 does not exist").arg(n));
        } else if (auto *memo = qobject_cast<Memo *>(w)) {
            if (n == QLatin1String("Lines")) {
                memo->setLines(lines(s));
                // Named by its heading, its first line with text; the whole text is its value.
                const QStringList all = memo->lines();
                const auto heading = std::find_if(all.begin(), all.end(), [](const QString &l) {
                    return !l.trimmed().isEmpty();
                });
                memo->setAccessibleName(heading == all.end() ? QString() : heading->trimmed());
            } else if (n == QLatin1String("FontSize"))
                setFontAttribute(memo, n, s);
            else
                invalid(QStringLiteral("Property %1 does not exist").arg(n));
        } else if (qobject_cast<ToolBar *>(w)) {
            invalid(QStringLiteral("Property %1 does not exist").arg(n));
        } else {
            invalid(QStringLiteral("Property %1 of %2 does not exist").arg(n, kind));
        }
    }

    bool applyPlacement(QWidget *w, const FormSetting &s)
    {
        const QString &n = s.name;
        Placement p = placementOf(w);
        if (n == QLatin1String("Align"))
            p.align = alignFrom(identifier(s));
        else if (n == QLatin1String("Position"))
            p.position = QPointF(number(s, 0), number(s, 1));
        else if (n == QLatin1String("Size"))
            p.size = QSizeF(number(s, 0), number(s, 1));
        else if (n == QLatin1String("Width"))
            p.size.setWidth(number(s));
        else if (n == QLatin1String("Height"))
            p.size.setHeight(number(s));
        else if (n == QLatin1String("Margins"))
            p.margins = QMarginsF(number(s, 0), number(s, 1), number(s, 2), number(s, 3));
        else
            return false;
        if (qobject_cast<TabItem *>(w) && n == QLatin1String("Width"))
            return false; // a header width, not a placement
        setPlacement(w, p);
        return true;
    }

    void applyLabel(TextLabel *label, const FormSetting &s)
    {
        const QString &n = s.name;
        if (n == QLatin1String("Text")) {
            label->setText(string(s));
        } else if (n == QLatin1String("FontSize") || n == QLatin1String("FontBold") ||
                   n == QLatin1String("FontColor")) {
            setFontAttribute(label, n, s);
        } else if (n == QLatin1String("TextAlign")) {
            label->setAlignment((label->alignment() & Qt::AlignVertical_Mask) |
                                horizontal(identifier(s)));
        } else if (n == QLatin1String("VertTextAlign")) {
            label->setAlignment((label->alignment() & Qt::AlignHorizontal_Mask) |
                                vertical(identifier(s)));
        } else if (n == QLatin1String("WordWrap")) {
            label->setWordWrap(boolean(s));
        } else if (n == QLatin1String("OnClick")) {
            bindClick(label, &TextLabel::clicked, s);
        } else {
            invalid(QStringLiteral("Property %1 does not exist").arg(n));
        }
    }

    void applyTabControl(TabControl *tabs, const FormSetting &s)
    {
        const QString &n = s.name;
        if (n == QLatin1String("TabPosition")) {
            const QString v = identifier(s);
            // The platform default puts the strip at the top on desktop systems.
            if (v == QLatin1String("Top") || v == QLatin1String("PlatformDefault"))
                tabs->setStripPosition(TabControl::StripPosition::Top);
            else if (v == QLatin1String("Bottom"))
                tabs->setStripPosition(TabControl::StripPosition::Bottom);
            else
                invalid(QStringLiteral("Invalid property value"));
        } else if (n == QLatin1String("TabHeight")) {
            tabs->setTabHeight(static_cast<int>(number(s)));
        } else if (n == QLatin1String("TabIndex")) {
            tabs->setDeclaredIndex(static_cast<int>(number(s)));
        } else if (n == QLatin1String("TabStop")) {
            // Not reached with Tab; a header still takes focus when pressed.
            tabs->strip()->setFocusPolicy(boolean(s) ? Qt::StrongFocus : Qt::ClickFocus);
        } else {
            invalid(QStringLiteral("Property %1 does not exist").arg(n));
        }
    }

    Form &m_form;
    // The declared members by name.
    QHash<QString, QObject *> m_members;
    QHash<QObject *, QString> m_kinds;
    QList<QWidget *> m_containers;
    QList<QPair<QWidget *, int>> m_focusable;
    QString m_describedBy; // the label whose text describes the window
    QSet<QString> m_texts; // the window's own text properties declared
};

} // namespace

QStringList deviceKinds()
{
    // Only the desktop kind exists here; a tablet kind would come first where it fitted.
    return {QStringLiteral("Windows")};
}

void readForm(Form &form, const FormData &data)
{
    Reader reader(form);
    reader.readRoot(data.root);
    for (const QString &device : deviceKinds()) {
        const auto view = std::find_if(data.views.begin(), data.views.end(),
                                       [&](const FormView &v) { return v.device == device; });
        if (view != data.views.end()) {
            reader.readView(*view);
            break;
        }
    }
    reader.loaded();
}

} // namespace quorlin
