#pragma once
// The start and the end of the main window: its load (options, pages,
// recent files, the last database) and its closing, from the window's close
// button or from the exit command.

#include "services/main/MainArea.h"

namespace keyholm {

class DatabaseFile;
class WindowLayout;
class WorkingOptions;

class WindowLifecycle : public MainArea {
public:
    WindowLifecycle(MainWindowUi& ui, MainState& state, MainProcedures& procedures, WorkingOptions& options,
        DatabaseFile& file, WindowLayout& layout);

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

private:
    // The update check comes with the about window and web links.
    void CheckForUpdate(bool atStartUp, int mode);
    // Releasing the update-check web object comes with the update check.
    void DropUpdateCheck();
    // Loads the chosen logo picture into PictureLogo (built-in one when
    // none or missing).
    void SetPicturelogo(const QString& path);

    WorkingOptions& options_;
    DatabaseFile& file_;
    WindowLayout& layout_;
    bool closing_ = false; // the window is being unloaded
    bool exitConfirmed_ = false; // the exit command asked already
};

} // namespace keyholm
