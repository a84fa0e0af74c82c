#include "services/ui/AboutSoftware.h"

#include "components/FileTools.h"
#include "components/SystemInfo.h"
#include "components/Version.h"
#include "components/ui/ColorValue.h"
#include "services/Environment.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/AppLogo.h"
#include "services/ui/ControlTag.h"
#include "services/ui/DialogSupport.h"
#include "services/ui/Messages.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include <sodium.h>

namespace keyholm {

namespace {

template <class T> T* Named(T* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

QLabel* Link(const QString& text, const QString& name, QWidget* parent)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->setCursor(Qt::PointingHandCursor);
    label->setTextInteractionFlags(Qt::NoTextInteraction);
    label->installEventFilter(parent);
    return label;
}

// The colour of the site's address away from the pointer (stored value: blue).
const QString SiteColor = QString::number(0xC05020);
const QColor SiteHoverColor(0xd9, 0x30, 0x25);

} // namespace

AboutSoftware::AboutSoftware(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutSoftware"));
    // The caption's "&" marks a menu key; a title bar would show it as it is.
    setWindowTitle(QString(GetMessage(1046) + QStringLiteral("...")).remove(QLatin1Char('&')));
    setModal(true);
    setMouseTracking(true);

    PictureLogo = Named(new QLabel(this), QStringLiteral("PictureLogo"));
    PictureLogo->setPixmap(AppLogo(72, devicePixelRatioF()));
    lblTitle = Named(new QLabel(ApplicationTitle(), this), QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = Named(
        new QLabel(QStringLiteral("Version ") + QLatin1String(VersionNumber), this), QStringLiteral("lblVersion"));
    lblDescription
        = Named(new QLabel(QStringLiteral("Gestionnaire de mots de passe"), this), QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    LabelLibraries = Named(new QLabel(QStringLiteral("Qt ") + QLatin1String(qVersion()) + QStringLiteral(", libsodium ")
                                   + QLatin1String(sodium_version_string()),
                               this),
        QStringLiteral("LabelLibraries"));
    LabelLibraries->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelDataFolder = Link(DataFolder(), QStringLiteral("LabelDataFolder"), this);
    LabelDataFolder->setToolTip(QStringLiteral("Ouvrir le dossier des données"));
    LabelSite = Link(MakerHomePage, QStringLiteral("LabelSite"), this);
    SetControlTag(LabelSite, SiteColor);
    SetSiteColor(ColorFromValue(SiteColor.toInt()));

    cmdSysInfo = Named(new QPushButton(QStringLiteral("Windows..."), this), QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setToolTip(GetMessage(181));
    cmdSysInfo->setAutoDefault(false);
    cmdOK = Named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription);
    texts->addSpacing(8);
    texts->addWidget(LabelLibraries);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(QStringLiteral("Données :"), this));
    folderRow->addWidget(LabelDataFolder, 1);
    texts->addLayout(folderRow);
    texts->addWidget(LabelSite);
    auto* header = new QHBoxLayout;
    header->addWidget(PictureLogo, 0, Qt::AlignTop);
    header->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addStretch(1);
    layout->addLayout(buttons);
    setMinimumWidth(460);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutSoftware::cmdSysInfo_Click);
}

QString AboutSoftware::SystemInformationProgram()
{
    // The system information program and its registry keys are Windows's;
    // no other platform has one to start.
    return {};
}

void AboutSoftware::cmdSysInfo_Click()
{
    const QString program = SystemInformationProgram();
    if (program.isEmpty() || !SystemInfo::Instance().RunCommand(program))
        ShowInfo(QStringLiteral("Les informations système ne sont pas disponibles pour l'instant"));
}

void AboutSoftware::SetSiteColor(const QColor& color)
{
    LabelSite->setStyleSheet(QStringLiteral("color: %1; text-decoration: underline").arg(color.name()));
}

bool AboutSoftware::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == LabelSite || watched == LabelDataFolder) {
        auto* label = static_cast<QLabel*>(watched);
        if (event->type() == QEvent::Enter && watched == LabelSite)
            SetSiteColor(SiteHoverColor);
        if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
            && !label->text().trimmed().isEmpty()) {
            TraceLog(QStringLiteral("About open"), label->text());
            FileTools::Instance().ShellOpen(label->text().trimmed());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutSoftware::mouseMoveEvent(QMouseEvent* event)
{
    SetSiteColor(ColorFromValue(ControlTag(LabelSite).toInt()));
    QDialog::mouseMoveEvent(event);
}

void AboutSoftware::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    dialogs::CenterOnScreen(this);
    dialogs::SetDefaultPointer();
}

} // namespace keyholm
