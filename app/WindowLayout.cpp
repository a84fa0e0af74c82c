#include "app/WindowLayout.h"

#include "search/TraceLogViewer.h"

#include "components/FileTools.h"
#include "services/ApplicationOptions.h"
#include "services/Environment.h"
#include "services/ui/AboutSoftware.h"
#include "services/ui/Messages.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>

namespace keyholm {

QString WindowLayout::ProductPage()
{
    return MakerHomePage + QStringLiteral("Keyholm/");
}

QString WindowLayout::HelpPage()
{
    return ProductPage() + QStringLiteral("helpv1.htm");
}

QString WindowLayout::HistoryPage()
{
    return ProductPage() + QStringLiteral("historique.htm");
}

QString WindowLayout::VotePage()
{
    return ProductPage() + QStringLiteral("vote.htm");
}

QString WindowLayout::DonationPage()
{
    return ProductPage() + QStringLiteral("index.htm#Donation");
}

void WindowLayout::Form_Resize()
{
    QMainWindow* window = ui_.Window;
    if (window->isMinimized())
        return;
    const int minimumWidth = MainWindowUi::TwipsToPixels(MainWindowUi::MinimumWidthTwips);
    const int minimumHeight = MainWindowUi::TwipsToPixels(MainWindowUi::MinimumHeightTwips);
    if (!window->isMaximized() && !window->isFullScreen()
        && (window->width() < minimumWidth || window->height() < minimumHeight))
        window->resize(qMax(window->width(), minimumWidth), qMax(window->height(), minimumHeight));
    // The pages are laid out by their layouts: each field keeps its left
    // edge and stretches to its margin; only the current page needs it now.
    if (QWidget* page = ui_.PasswordTabView->currentWidget())
        page->updateGeometry();
    window->update();
}

void WindowLayout::ShowChangeAlert(bool changed)
{
    if (changed)
        ui_.TimerAlert->start();
    else
        ui_.TimerAlert->stop();
    for (QLabel* picture : ui_.PictureAlert)
        picture->setVisible(changed);
    ui_.SetStatusMsg(QString());
}

void WindowLayout::TimerAlert_Timer()
{
    QLabel* first = ui_.PictureAlert[0];
    QLabel* second = ui_.PictureAlert[1];
    first->setVisible(!second->isHidden());
    second->setVisible(second->isHidden());
}

void WindowLayout::PictureAlert_MouseMove(int index)
{
    if (index >= 0 && index < int(ui_.PictureAlert.size()))
        ui_.SetStatusMsg(ui_.PictureAlert[index]->toolTip());
}

void WindowLayout::ShowHelpPage(const QString& address)
{
    ui_.PasswordTabView->setCurrentIndex(int(DetailPage::Help));
    WebBrowserHelp_Navigate(address);
}

void WindowLayout::WebBrowserHelp_Navigate(const QString& address)
{
    // No web engine here: the page says where the help is and opens it in
    // the user's browser on a click.
    ui_.WebBrowserHelp->setProperty("address", address);
    ui_.WebBrowserHelp->setHtml(
        QStringLiteral("<h2>Keyholm</h2><p>Cette page est disponible sur le site Web de Keyholm :</p>"
                       "<p><a href=\"%1\">%1</a></p>"
                       "<p style='color:#4a5566'>Un clic sur le lien l'ouvre dans votre navigateur.</p>")
            .arg(address.toHtmlEscaped()));
}

void WindowLayout::CommandWeb_Click()
{
    ShowHelpPage(ProductPage());
}

void WindowLayout::CommandHisto_Click()
{
    ShowHelpPage(HistoryPage());
}

void WindowLayout::CommandVote_Click()
{
    ShowHelpPage(VotePage());
}

void WindowLayout::CommandDon_Click()
{
    FileTools::Instance().ShellOpen(DonationPage());
}

void WindowLayout::MenuAideLog_Click()
{
    // The log viewer reads the current log, so there is nothing to show while
    // the log is off.
    if (!LogOption())
        ShowInfo(QStringLiteral("Activez l'enregistrement des Traces Logicielle pour les afficher"));
    else
        ShowTraceLog(QString(), ui_.Window);
}

void WindowLayout::MenuAideSitebWeb_Click()
{
    DisplayUrl(MakerHomePage);
}

void WindowLayout::MenuAideAbout_Click()
{
    AboutSoftware about(ui_.Window);
    about.exec();
}

void WindowLayout::MenuAideAchat_Click()
{
    FileTools::Instance().ShellOpen(DonationPage());
}

void WindowLayout::MenuAideAide_Click()
{
    DisplayUrl(ProductPage());
}

void WindowLayout::MenuAideVote_Click()
{
    DisplayUrl(VotePage());
}

void WindowLayout::PictureLogo_Click()
{
    FileTools::Instance().ShellOpen(ProductPage());
}

} // namespace keyholm
