// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QList>
#include <QString>

#include <memory>
#include <vector>

namespace quorlin {

// One value of a declared setting.
struct FormValue
{
    enum class Kind { Number, String, Identifier, Color, Resource, List };
    Kind kind = Kind::Identifier;
    double number = 0;
    QString text;          // string, identifier or resource path
    QColor color;          // colour written #AARRGGBB
    QList<FormValue> list; // [ a, b, ... ]
};

// A setting as declared: its name and its comma-separated values.
struct FormSetting
{
    QString name;
    QList<FormValue> values;
    int line = 0;
};

// A control or member as declared, with its settings and children in declared order.
struct FormNode
{
    QString kind;
    QString name;
    std::vector<FormSetting> settings;
    std::vector<std::unique_ptr<FormNode>> children;
};

// A view: settings for named members, applied over the declared data on one kind of device.
struct FormView
{
    QString device;
    std::vector<std::pair<QString, FormSetting>> settings; // member name, setting
};

// A window's declared data: the window's own settings, its controls, and its views.
struct FormData
{
    FormNode root; // kind "window", name = the window class
    std::vector<FormView> views;
};

// Parses declared data. Throws quorlin::Exception with the line number on malformed input.
FormData parseFormData(const QString &source, const QString &fileName);

// Reads ":/forms/<className>.form" and parses it.
FormData loadFormData(const QString &className);

} // namespace quorlin
