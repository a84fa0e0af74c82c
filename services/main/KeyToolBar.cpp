#include "services/main/KeyToolBar.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QToolButton>

namespace keyholm {

KeyToolBar::KeyToolBar(const QString& objectName, QWidget* parent)
    : QToolBar(parent)
{
    setObjectName(objectName);
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(22, 22));
}

QAction* KeyToolBar::AddButton(const QString& key, const QIcon& icon, const QString& caption, const QString& toolTip)
{
    QAction* action = addAction(icon, caption);
    action->setObjectName(key);
    action->setData(key);
    action->setToolTip(toolTip.isEmpty() ? caption : toolTip);
    action->setStatusTip(toolTip);
    keys_ << key;
    connect(action, &QAction::triggered, this, [this, key] { Q_EMIT ButtonClick(key); });
    return action;
}

QAction* KeyToolBar::AddButtonMenu(const QString& key, const QString& itemKey, const QString& caption)
{
    QAction* button = Button(key);
    if (!button)
        return nullptr;
    QMenu* menu = button->menu();
    if (!menu) {
        menu = new QMenu(this);
        menu->setObjectName(key + QStringLiteral("Menu"));
        button->setMenu(menu);
        if (QToolButton* tool = ButtonWidget(key))
            tool->setPopupMode(QToolButton::MenuButtonPopup);
    }
    QAction* item = menu->addAction(caption);
    item->setObjectName(itemKey);
    item->setData(itemKey);
    connect(item, &QAction::triggered, this, [this, key, itemKey] { Q_EMIT ButtonMenuClick(key, itemKey); });
    return item;
}

QAction* KeyToolBar::Button(const QString& key) const
{
    for (QAction* action : actions())
        if (action->data().toString() == key && !action->isSeparator())
            return action;
    return nullptr;
}

QAction* KeyToolBar::ButtonMenu(const QString& key, const QString& itemKey) const
{
    QAction* button = Button(key);
    if (!button || !button->menu())
        return nullptr;
    for (QAction* item : button->menu()->actions())
        if (item->data().toString() == itemKey)
            return item;
    return nullptr;
}

QToolButton* KeyToolBar::ButtonWidget(const QString& key) const
{
    QAction* button = Button(key);
    return button ? qobject_cast<QToolButton*>(widgetForAction(button)) : nullptr;
}

} // namespace keyholm
