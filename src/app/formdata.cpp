// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/formdata.h"

#include "base/exception.h"

#include <QFile>

namespace quorlin {

namespace {

// Grammar, one item per line:
//   Kind Name {            a control or member; "window Class {" at the top
//   Setting = v1, v2 ...   values: numbers, "strings", Identifiers, #AARRGGBB, <resource>, [lists]
//   }                      closes the innermost block
//   view Device { Member.Setting = ... }
//   # comment
class Parser
{
public:
    Parser(const QString &source, const QString &fileName) : m_src(source), m_file(fileName) {}

    FormData parse()
    {
        FormData data;
        bool haveRoot = false;
        skipSpace();
        while (!atEnd()) {
            const QString kind = identifier();
            if (kind == QLatin1String("view")) {
                FormView view;
                view.device = identifier();
                expect(u'{');
                skipSpace();
                while (!atEnd() && peek() != u'}') {
                    const int line = m_line;
                    const QString target = identifier();
                    const qsizetype dot = target.indexOf(u'.');
                    if (dot <= 0)
                        fail(QStringLiteral("view setting needs Member.Setting"));
                    FormSetting setting{target.mid(dot + 1), {}, line};
                    expect(u'=');
                    setting.values = values();
                    view.settings.emplace_back(target.left(dot), std::move(setting));
                    skipSpace();
                }
                expect(u'}');
                data.views.push_back(std::move(view));
            } else if (kind == QLatin1String("window") && !haveRoot) {
                data.root.kind = kind;
                data.root.name = identifier();
                expect(u'{');
                block(data.root);
                haveRoot = true;
            } else {
                fail(QStringLiteral("unexpected '%1'").arg(kind));
            }
            skipSpace();
        }
        if (!haveRoot)
            fail(QStringLiteral("no window declared"));
        return data;
    }

private:
    // Reads settings and children up to and including the closing brace.
    void block(FormNode &node)
    {
        for (;;) {
            skipSpace();
            if (atEnd())
                fail(QStringLiteral("missing '}'"));
            if (peek() == u'}') {
                ++m_pos;
                return;
            }
            const int line = m_line;
            const QString first = identifier();
            skipSpace();
            if (peek() == u'=') {
                ++m_pos;
                node.settings.push_back(FormSetting{first, values(), line});
            } else {
                auto child = std::make_unique<FormNode>();
                child->kind = first;
                child->name = identifier();
                expect(u'{');
                block(*child);
                node.children.push_back(std::move(child));
            }
        }
    }

    QList<FormValue> values()
    {
        QList<FormValue> result;
        result.append(value());
        skipBlanks();
        while (peek() == u',') {
            ++m_pos;
            result.append(value());
            skipBlanks();
        }
        return result;
    }

    FormValue value()
    {
        skipSpace();
        FormValue v;
        const QChar c = peek();
        if (c == u'"') {
            v.kind = FormValue::Kind::String;
            v.text = string();
        } else if (c == u'#') {
            ++m_pos;
            const QString hex = word();
            bool ok = false;
            const uint argb = hex.toUInt(&ok, 16);
            if (!ok || hex.size() != 8)
                fail(QStringLiteral("colour must be #AARRGGBB"));
            v.kind = FormValue::Kind::Color;
            v.color = QColor::fromRgba(argb);
        } else if (c == u'<') {
            ++m_pos;
            const qsizetype end = m_src.indexOf(u'>', m_pos);
            if (end < 0)
                fail(QStringLiteral("missing '>'"));
            v.kind = FormValue::Kind::Resource;
            v.text = m_src.mid(m_pos, end - m_pos);
            m_pos = end + 1;
        } else if (c == u'[') {
            ++m_pos;
            v.kind = FormValue::Kind::List;
            skipSpace();
            if (peek() != u']') {
                v.list.append(value());
                skipSpace();
                while (peek() == u',') {
                    ++m_pos;
                    v.list.append(value());
                    skipSpace();
                }
            }
            expect(u']');
        } else if (c == u'-' || c == u'+' || c.isDigit()) {
            const QString w = word();
            bool ok = false;
            v.kind = FormValue::Kind::Number;
            v.number = w.toDouble(&ok);
            if (!ok)
                fail(QStringLiteral("bad number '%1'").arg(w));
        } else {
            v.kind = FormValue::Kind::Identifier;
            v.text = identifier();
        }
        return v;
    }

    QString string()
    {
        ++m_pos; // opening quote
        QString out;
        while (!atEnd() && peek() != u'"') {
            QChar c = m_src.at(m_pos++);
            if (c == u'\n')
                fail(QStringLiteral("string runs past the end of the line"));
            if (c == u'\\') {
                if (atEnd())
                    break;
                const QChar e = m_src.at(m_pos++);
                switch (e.unicode()) {
                case 'n': out += u'\n'; break;
                case 't': out += u'\t'; break;
                case 'u': {
                    bool ok = false;
                    const uint code = m_src.mid(m_pos, 4).toUInt(&ok, 16);
                    if (!ok)
                        fail(QStringLiteral("bad \\u escape"));
                    out += QChar(char16_t(code));
                    m_pos += 4;
                    break;
                }
                default: out += e; break;
                }
                continue;
            }
            out += c;
        }
        expect(u'"');
        return out;
    }

    QString identifier()
    {
        skipSpace();
        const qsizetype start = m_pos;
        while (!atEnd() && (peek().isLetterOrNumber() || peek() == u'_' || peek() == u'.'))
            ++m_pos;
        if (start == m_pos)
            fail(atEnd() ? QStringLiteral("unexpected end")
                         : QStringLiteral("unexpected '%1'").arg(peek()));
        return m_src.mid(start, m_pos - start);
    }

    QString word()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && !peek().isSpace() && peek() != u',' && peek() != u']')
            ++m_pos;
        return m_src.mid(start, m_pos - start);
    }

    void expect(QChar c)
    {
        skipSpace();
        if (atEnd() || peek() != c)
            fail(QStringLiteral("expected '%1'").arg(c));
        ++m_pos;
    }

    // Blanks within a line.
    void skipBlanks()
    {
        while (!atEnd() && (peek() == u' ' || peek() == u'\t'))
            ++m_pos;
    }

    // Blanks, line ends and comments.
    void skipSpace()
    {
        while (!atEnd()) {
            const QChar c = peek();
            if (c == u'\n') {
                ++m_line;
                ++m_pos;
            } else if (c.isSpace()) {
                ++m_pos;
            } else if (c == u'#' && (m_pos == 0 || m_src.at(m_pos - 1).isSpace()) &&
                       lineIsComment()) {
                while (!atEnd() && peek() != u'\n')
                    ++m_pos;
            } else {
                break;
            }
        }
    }

    // A '#' that starts a line's first word is a comment; elsewhere it starts a colour.
    bool lineIsComment() const
    {
        for (qsizetype i = m_pos - 1; i >= 0 && m_src.at(i) != u'\n'; --i)
            if (!m_src.at(i).isSpace())
                return false;
        return true;
    }

    bool atEnd() const { return m_pos >= m_src.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_src.at(m_pos); }

    [[noreturn]] void fail(const QString &what) const
    {
        throw Exception(QStringLiteral("%1 line %2: %3").arg(m_file).arg(m_line).arg(what));
    }

    const QString &m_src;
    QString m_file;
    qsizetype m_pos = 0;
    int m_line = 1;
};

} // namespace

FormData parseFormData(const QString &source, const QString &fileName)
{
    return Parser(source, fileName).parse();
}

FormData loadFormData(const QString &className)
{
    const QString path = QStringLiteral(":/forms/%1.form").arg(className);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Resource %1 not found").arg(path));
    return parseFormData(QString::fromUtf8(file.readAll()), path);
}

} // namespace quorlin
