#pragma once
// A toolbar whose buttons are known by a key text ("New", "Add", ...), as the
// command handlers dispatch on it, with optional drop-down items known by
// their own keys. Buttons are actions named after their key; drop-down items
// are actions of the button's menu, named after their item key.

#include <QString>
#include <QStringList>
#include <QToolBar>

class QAction;
class QIcon;
class QMenu;
class QToolButton;

namespace keyholm {

class KeyToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit KeyToolBar(const QString& objectName, QWidget* parent = nullptr);

    // Adds a button at the end; the tool tip is also its status text.
    QAction* AddButton(const QString& key, const QIcon& icon, const QString& caption, const QString& toolTip);
    // Adds a drop-down item to the button `key` (which then shows an arrow
    // beside it: a click on the button still runs the button itself).
    QAction* AddButtonMenu(const QString& key, const QString& itemKey, const QString& caption);

    // The button or drop-down item; nullptr when there is none.
    QAction* Button(const QString& key) const;
    QAction* ButtonMenu(const QString& key, const QString& itemKey) const;
    QToolButton* ButtonWidget(const QString& key) const;
    // Button keys in toolbar order.
    QStringList Keys() const { return keys_; }

Q_SIGNALS:
    void ButtonClick(const QString& key);
    void ButtonMenuClick(const QString& key, const QString& itemKey);

private:
    QStringList keys_;
};

} // namespace keyholm
