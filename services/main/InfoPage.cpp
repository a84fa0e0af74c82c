#include "services/main/InfoPage.h"

#include "services/main/ControlBuilders.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/ToolIcons.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace keyholm {

InfoPage::InfoPage(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 14, 16, 12);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(7);
    grid->setColumnStretch(1, 1);
    int row = 0;
    const QString dateCaptions[2] = { QStringLiteral("Création :"), QStringLiteral("Enregistrement :") };
    for (int i = 0; i < 2; ++i) {
        grid->addWidget(Caption(this, Indexed("LabelDateCaption", i), dateCaptions[i]), row, 0);
        LabelDate[i] = Named(new QLabel(this), Indexed("LabelDate", i));
        LabelDate[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(LabelDate[i], row++, 1, 1, 2);
    }
    TextTitle = Named(new QLineEdit(this), QStringLiteral("TextTitle"));
    TextUser = Named(new QLineEdit(this), QStringLiteral("TextUser"));
    auto* titleLabel = Caption(this, QStringLiteral("LabelTitle"), QStringLiteral("Titre :"));
    titleLabel->setBuddy(TextTitle);
    auto* userLabel = Caption(this, QStringLiteral("LabelUser"), QStringLiteral("Propriétaire :"));
    userLabel->setBuddy(TextUser);
    grid->addWidget(titleLabel, row, 0);
    grid->addWidget(TextTitle, row++, 1, 1, 2);
    grid->addWidget(userLabel, row, 0);
    grid->addWidget(TextUser, row++, 1, 1, 2);
    CheckLabel[0] = Named(new QCheckBox(QStringLiteral("Champ personnalisé :"), this), QStringLiteral("CheckLabel_0"));
    TextCustom[0] = Named(new QLineEdit(this), QStringLiteral("TextCustom_0"));
    TextCustom[0]->setPlaceholderText(QStringLiteral("Label du champ ajouté aux mots de passe"));
    TextCustom[0]->setEnabled(false);
    grid->addWidget(CheckLabel[0], row, 0);
    grid->addWidget(TextCustom[0], row++, 1, 1, 2);
    auto* noteLabel = Caption(this, QStringLiteral("LabelNote"), QStringLiteral("Commentaire :"));
    ToolbarNote = new KeyToolBar(QStringLiteral("ToolbarNote"), this);
    ToolbarNote->setIconSize(QSize(18, 18));
    ToolbarNote->AddButton(QStringLiteral("open"), ToolIcon(QStringLiteral("fileload")), QStringLiteral("Fichier"),
        QStringLiteral("Insère le contenu d'un fichier..."));
    ToolbarNote->AddButton(QStringLiteral("calendar"), ToolIcon(QStringLiteral("calendar")), QStringLiteral("Date"),
        QStringLiteral("Ajoute la date au point de saisie"));
    ToolbarNote->AddButton(QStringLiteral("time"), ToolIcon(QStringLiteral("time")), QStringLiteral("Heure"),
        QStringLiteral("Ajoute l'heure au point de saisie"));
    grid->addWidget(noteLabel, row, 0);
    grid->addWidget(ToolbarNote, row++, 2, Qt::AlignRight);
    layout->addLayout(grid);
    TextNote = Named(new QPlainTextEdit(this), QStringLiteral("TextNote"));
    TextNote->setTabChangesFocus(true);
    noteLabel->setBuddy(TextNote);
    layout->addWidget(TextNote, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    ApplyInfo = Named(new QPushButton(ToolIcon(QStringLiteral("apply")), QStringLiteral("Appliquer"), this),
        QStringLiteral("ApplyInfo"));
    ApplyInfo->setEnabled(false);
    bottom->addWidget(ApplyInfo);
    layout->addSpacing(6);
    layout->addLayout(bottom);
}

} // namespace keyholm
