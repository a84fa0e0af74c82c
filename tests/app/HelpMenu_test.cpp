// The help menu's web pages and about window, and the options window as the
// main window shows it: the logo after OK.

#include "support/MainWindowFixture.h"
#include "support/ModalHelper.h"

#include "app/WindowLayout.h"
#include "components/FileTools.h"
#include "components/Version.h"
#include "services/ApplicationOptions.h"
#include "services/Environment.h"
#include "services/ui/AboutSoftware.h"
#include "services/ui/AppLogo.h"
#include "services/ui/OptionsForm.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

namespace keyholm::test {
namespace {

class HelpMenuTest : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        FileTools::Instance().SetOpener([this](const QUrl& address) {
            opened_ << (address.isLocalFile() ? address.toLocalFile() : address.toString());
            return true;
        });
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        FileTools::Instance().SetOpener({});
    }

    QStringList opened_;
};

TEST_F(HelpMenuTest, WebItemsOpenTheMakersPages)
{
    const struct {
        QAction* item;
        QString address;
    } cases[] = {
        { Ui().MenuAideSitebWeb, MakerHomePage },
        { Ui().MenuAideAide, WindowLayout::ProductPage() },
        { Ui().MenuAideVote, WindowLayout::VotePage() },
        { Ui().MenuAideAchat, WindowLayout::DonationPage() },
    };
    for (const auto& c : cases) {
        opened_.clear();
        c.item->trigger();
        EXPECT_EQ(opened_, QStringList { c.address }) << c.item->text().toStdString();
    }
    EXPECT_EQ(WindowLayout::DonationPage(), MakerHomePage + "Keyholm/index.htm#Donation");
}

TEST_F(HelpMenuTest, AboutShowsTheVersionsAndOpensItsLinks)
{
    ModalHelper modal;
    modal.Expect("AboutSoftware").Do([this](QWidget* window) {
        auto* about = qobject_cast<AboutSoftware*>(window);
        ASSERT_NE(about, nullptr);
        EXPECT_EQ(about->windowTitle(), "A propos de ...");
        EXPECT_EQ(about->lblVersion->text(), QString("Version ") + VersionNumber);
        EXPECT_EQ(about->lblTitle->text(), ApplicationTitle());
        EXPECT_TRUE(about->LabelLibraries->text().contains(qVersion()));
        EXPECT_TRUE(about->LabelLibraries->text().contains("libsodium"));
        EXPECT_EQ(about->cmdSysInfo->toolTip(), "Informations Windows");
        QTest::mouseClick(about->LabelSite, Qt::LeftButton);
        QTest::mouseClick(about->LabelDataFolder, Qt::LeftButton);
        EXPECT_EQ(opened_, QStringList({ MakerHomePage, DataFolder() }));

        ModalHelper box;
        box.ExpectMessageBox().Click(QMessageBox::Ok);
        QTest::mouseClick(about->cmdSysInfo, Qt::LeftButton);
        EXPECT_TRUE(box.Wait());
        EXPECT_EQ(box.Seen().at(0).text, "Les informations système ne sont pas disponibles pour l'instant");
        QTest::mouseClick(about->cmdOK, Qt::LeftButton);
    });
    Ui().MenuAideAbout->trigger();
    EXPECT_TRUE(modal.Wait());
}

TEST_F(HelpMenuTest, OptionsOkShowsTheLogoOnlyWithoutADatabase)
{
    QTemporaryDir folder;
    const QString picture = folder.filePath("logo.png");
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture));
    const QImage builtIn = AppLogo(128, Window().devicePixelRatioF()).toImage();
    const struct {
        const char* name;
        bool databaseOpen;
        QString path;
        bool shown;
        bool builtInPicture;
    } cases[] = {
        { "no database, missing picture", false, "/nonexistent/logo.png", true, true },
        { "no database, a picture", false, picture, true, false },
        { "a database open", true, picture, false, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.databaseOpen) {
            NewDatabase();
            MarkOpen();
        }
        ModalHelper modal;
        modal.Expect("OptionsForm").Do([&](QWidget* window) {
            auto* form = qobject_cast<OptionsForm*>(window);
            ASSERT_NE(form, nullptr);
            form->CheckLogo->setChecked(false);
            QTest::mouseClick(form->CheckLogo, Qt::LeftButton);
            form->TextImageFond->clear();
            QTest::keyClicks(form->TextImageFond, c.path);
            QTest::mouseClick(form->findChild<QPushButton*>("cmdOK"), Qt::LeftButton);
        });
        Ui().MenuBaseOptions->trigger();
        EXPECT_TRUE(modal.Wait());
        EXPECT_EQ(Ui().PictureLogo->isVisibleTo(&Window()), c.shown);
        EXPECT_EQ(Ui().PictureLogo->pixmap().toImage() == builtIn, c.builtInPicture);
        EXPECT_EQ(LogoPathOption(), c.path);
    }
}

} // namespace
} // namespace keyholm::test
