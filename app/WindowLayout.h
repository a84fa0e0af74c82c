#pragma once
// The main window's layout (minimum size, pages fitted to the window), the
// blinking unsaved-changes alert, and the presentation page with its web
// buttons and the help browser.

#include "services/main/MainArea.h"

#include <QString>

namespace keyholm {

class WindowLayout : public MainArea {
public:
    using MainArea::MainArea;

    // Snaps a window smaller than the minimum size back to it and fits the
    // current page; a minimized window is left alone.
    void Form_Resize();
    // The alert follows the unsaved-changes mark: it blinks while there are
    // changes, and the status message is cleared at each setting.
    void ShowChangeAlert(bool changed);
    // One tick of the alert: the two pictures show by turns.
    void TimerAlert_Timer();
    // The pointer over an alert picture shows its tool tip in "Msg".
    void PictureAlert_MouseMove(int index);

    void CommandWeb_Click();
    void CommandHisto_Click();
    void CommandVote_Click();
    void CommandDon_Click();
    void PictureLogo_Click();
    // "Affichage des Traces logicielles...": the log viewer, or a word that
    // the log is off.
    void MenuAideLog_Click();
    // The other items of the help menu but the update check: the maker's
    // pages in the browser, and the about window.
    void MenuAideSitebWeb_Click();
    void MenuAideAbout_Click();
    void MenuAideAchat_Click();
    void MenuAideAide_Click();
    void MenuAideVote_Click();

    // Shows a page of the maker's site in the help browser (page 7).
    void ShowHelpPage(const QString& address);
    // Points the help browser at a page without showing it.
    void WebBrowserHelp_Navigate(const QString& address);

    // Addresses of the maker's pages.
    static QString ProductPage();
    static QString HelpPage();
    static QString HistoryPage();
    static QString VotePage();
    static QString DonationPage();
};

} // namespace keyholm
