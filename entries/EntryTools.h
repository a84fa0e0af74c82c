#pragma once
// The small command buttons beside the entry fields and the database note's
// toolbar: generating a password or a nickname, copying the login and the
// password, opening the web address with both put into it, the linked file,
// the note's file, the title's colour, and the date and time stamps. Nothing
// here changes the tree: the fields reach it at "Ajouter" or "Modifier".

#include "services/main/MainArea.h"

#include <QString>

class QEvent;
class QObject;
class QToolButton;

namespace keyholm {

class EntryTools : public MainArea {
public:
    using MainArea::MainArea;

    void CommandGenPasswd_Click();
    // The generator window behind CommandGenPasswd's drop-down.
    void GeneratorOptions_Click();
    void CommandGenPeudo_Click();
    void CommandCopyLogin_Click();
    void CommandCopyPassword_Click();
    void CommandGoWeb_Click();
    void CommandWebHelp_Click();
    void CommandOpenFile_Click();
    void CommandSelectFile_Click();
    void OpenContentNote_Click();
    void SaveContentNote_Click();
    void CommandColor_Click();
    void ToolbarNote_ButtonClick(const QString& key);

    // Events seen by the application's filter: the pointer over a copy
    // button and the keys pressed meanwhile (Ctrl or Shift ask for the
    // login and the password together). The focus never moves for it, so
    // the keys still reach the field being typed in.
    void WatchEvent(QObject* watched, QEvent* event);

    // The web address with each "KHM_LOGIN" and "KHM_PASSWORD" replaced, in
    // one pass (a value holding a placeholder stays as it is), the values
    // percent-encoded when `encode` so that they reach the site whole.
    static QString FillWebAddress(const QString& address, const QString& login, const QString& password, bool encode);

private:
    void Copy(bool password);
    bool IsCopyButton(const QObject* object) const;
    void SetPassword(const QString& password);

    const QObject* hovered_ = nullptr;
};

} // namespace keyholm
