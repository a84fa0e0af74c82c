#pragma once
// The hidden companion value of a control (its "tag"): the real password
// behind a masked field, the date behind a date label, the outcome of a
// dialog. Kept in memory only, as a property of the control.

#include <QObject>
#include <QString>

namespace keyholm {

inline QString ControlTag(const QObject* control)
{
    return control ? control->property("keyholmTag").toString() : QString();
}

inline void SetControlTag(QObject* control, const QString& tag)
{
    if (control)
        control->setProperty("keyholmTag", tag);
}

} // namespace keyholm
