#pragma once
// Small helpers shared by the builders of the main window's controls.

#include <QLabel>
#include <QString>

namespace keyholm {

// "Name_<index>": the object name of one control of an indexed set.
inline QString Indexed(const char* name, int index)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(index);
}

template <class T> T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

// A label with the quieter caption look of the style sheet.
inline QLabel* Caption(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->setProperty("role", QStringLiteral("caption"));
    return label;
}

} // namespace keyholm
