#include "services/main/AboutPage.h"

#include "services/main/ControlBuilders.h"
#include "services/ui/AppLogo.h"
#include "services/ui/ToolIcons.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace keyholm {

AboutPage::AboutPage(qreal pixelRatio, QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* tab = Named(new QWidget(this), QStringLiteral("PictureTab_2"));
    PictureTab = tab;
    outer->addWidget(tab);

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(10);
    auto* header = new QHBoxLayout;
    header->setSpacing(16);
    PictureAbout = Named(new QLabel(tab), QStringLiteral("PictureAbout"));
    PictureAbout->setPixmap(AppLogo(72, pixelRatio));
    PictureAbout->setCursor(Qt::PointingHandCursor);
    header->addWidget(PictureAbout, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    lblTitle = Named(new QLabel(QStringLiteral("Keyholm"), tab), QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.9);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    titles->addWidget(lblTitle);
    lblDescription = Named(new QLabel(tab), QStringLiteral("lblDescription"));
    lblDescription->setWordWrap(true);
    lblDescription->setText(QStringLiteral(
        "Gestionnaire de mots de passe : vos identifiants, mots de passe, adresses Web, fichiers liés, notes et "
        "dates d'expiration, rangés par Catégories dans une Base chiffrée."));
    titles->addWidget(lblDescription);
    titles->addStretch(1);
    header->addLayout(titles, 1);
    layout->addLayout(header);

    TextInfoAppli = Named(new QTextBrowser(tab), QStringLiteral("TextInfoAppli"));
    TextInfoAppli->setFrameShape(QFrame::NoFrame);
    TextInfoAppli->setHtml(QStringLiteral(
        "<h3 style='margin-top:0'>Pour commencer</h3>"
        "<ul style='margin-left:-20px'>"
        "<li>Cliquez sur le nom de la Base dans l'arborescence pour la renommer (F2).</li>"
        "<li>Ajoutez des Catégories avec le bouton <b>Ajouter</b> au-dessus de l'arborescence.</li>"
        "<li>Sélectionnez une Catégorie, remplissez la page <b>Mot de Passe</b> puis <b>Ajouter</b>.</li>"
        "<li>Les choix de fonctionnement et la Corbeille sont sous la racine de la Base.</li>"
        "<li>Enregistrez avec Ctrl+S ; l'alerte en haut à droite clignote tant que des changements "
        "ne sont pas enregistrés.</li></ul>"));
    layout->addWidget(TextInfoAppli, 1);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    auto webButton = [&](const char* name, const QString& text, const QString& tip, const QString& icon) {
        auto* button = Named(new QPushButton(ToolIcon(icon), text, tab), QLatin1String(name));
        button->setToolTip(tip);
        button->setVisible(false); // made visible by the window's load
        buttons->addWidget(button);
        return button;
    };
    CommandWeb = webButton("CommandWeb", QStringLiteral("Page Web"), QStringLiteral("Accèdez à la page Web Keyholm..."),
        QStringLiteral("web"));
    CommandHisto = webButton("CommandHisto", QStringLiteral("Historique"),
        QStringLiteral("Affichez l'historique des versions du logiciel..."), QStringLiteral("time"));
    CommandVote = webButton("CommandVote", QStringLiteral("Votre Avis"),
        QStringLiteral("Donnez votre avis par un vote..."), QStringLiteral("apply"));
    CommandDon = webButton("CommandDon", QStringLiteral("Faire un Don"),
        QStringLiteral("Encouragez l'auteur par un don via le site PayPal..."), QStringLiteral("info"));
    buttons->addStretch(1);
    layout->addLayout(buttons);
}

} // namespace keyholm
