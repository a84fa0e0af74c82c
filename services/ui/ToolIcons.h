#pragma once
// The pictures of the command buttons (toolbars, page buttons): line drawings
// painted at whatever size is asked, so that they stay sharp on any screen,
// and greyed out by themselves when their button is disabled.

#include <QIcon>
#include <QString>
#include <QStringList>

namespace keyholm {

// The picture named `name` (see ToolIconNames); an unknown name gives a
// neutral dot, never a null icon.
QIcon ToolIcon(const QString& name);

// Every name ToolIcon draws.
QStringList ToolIconNames();

} // namespace keyholm
