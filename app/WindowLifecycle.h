#pragma once
// The start and the end of the main window: its load (options, pages,
// recent files, the last database) and its closing, from the window's close
// button or from the exit command.

#include "services/main/MainArea.h"

#include <QPointer>

namespace keyholm {

class DatabaseFile;
class WebTools;
class WindowLayout;
class WorkingOptions;

class WindowLifecycle : public MainArea {
public:
    WindowLifecycle(MainWindowUi& ui, MainState& state, MainProcedures& procedures, WorkingOptions& options,
        DatabaseFile& file, WindowLayout& layout);
    ~WindowLifecycle();

    void Form_Load();
    // The window is asked to close: false keeps it open (the unsaved-changes
    // question was cancelled).
    bool Form_QueryUnload();
    // Ends the application; endProcess also ends the event loop.
    void Form_Unload(bool endProcess = false);
    // "&Quitter". A cancelled unsaved-changes question keeps the program
    // open with nothing changed.
    void MenuBaseExit_Click();

    // Routed from the window's close event: true lets the window close.
    bool CloseRequested();

    // The product name and version shown in the presentation page.
    static QString VersionText();

    // "O&ptions...": the application options window, modal.
    void MenuBaseOptions_Click();
    // "Vérifiez la mise à jour du logiciel...".
    void MenuAideVersion_Click();

    // Looks for a newer version on the maker's site, without waiting for
    // the answer. A failure is reported with message 13227 from the menu
    // and only traced at start-up; the web object is dropped then.
    void CheckForUpdate(bool atStartUp, int mode);
    // The web object of the update check, while there is one.
    WebTools* UpdateCheck() const;

private:
    // Ends a pending update check and releases its web object.
    void DropUpdateCheck();
    // Loads the chosen logo picture into PictureLogo (built-in one when
    // none or missing).
    void SetPicturelogo(const QString& path);
    // After the options window's OK: shown when asked and no database is open.
    void ApplyLogo(bool shown, const QString& path);

    WorkingOptions& options_;
    DatabaseFile& file_;
    WindowLayout& layout_;
    QPointer<WebTools> webTools_;
    bool closing_ = false; // the window is being unloaded
    bool exitConfirmed_ = false; // the exit command asked already
};

} // namespace keyholm
