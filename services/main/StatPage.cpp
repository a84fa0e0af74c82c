#include "services/main/StatPage.h"

#include "services/main/ControlBuilders.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace keyholm {

namespace {

QLineEdit* ReadOnlyBox(QWidget* parent, const QString& name)
{
    auto* box = Named(new QLineEdit(parent), name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignRight);
    box->setMaximumWidth(110);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

} // namespace

StatPage::StatPage(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 16);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(0, 1);
    const QString captions[12] = {
        QStringLiteral("Nombre de mot de passe :"),
        QStringLiteral("Nombre de mot de passe dans la Corbeille :"),
        QStringLiteral("Nombre de Catégorie :"),
        QStringLiteral("Nombre de mot de passe avec une date d'expiration :"),
        QStringLiteral("Nombre de mot de passe avec un lien Web :"),
        QStringLiteral("Nombre de mot de passe avec un lien sur Fichier :"),
        QStringLiteral("Nombre de mot de passe avec une Note :"),
        QStringLiteral("Nombre de désignation sans Identifiant (Email, User, Login, ...) :"),
        QStringLiteral("Nombre de désignation sans Mot de Passe renseigné :"),
        QStringLiteral("Informations hors contenu de la Corbeille :"),
        QStringLiteral("Nombre de mot de passe arrivés à expiration :"),
        QStringLiteral("Nombre de mot de passe utilisés par plusieurs désignations :"),
    };
    for (int i = 0; i < 12; ++i)
        LabelStat[i] = Caption(this, Indexed("LabelStat", i), captions[i]);
    LabelStat[9]->setProperty("role", QStringLiteral("heading"));
    for (int i = 0; i < 11; ++i) {
        TextStat[i] = ReadOnlyBox(this, Indexed("TextStat", i));
        LabelStat[i < 9 ? i : i + 1]->setBuddy(TextStat[i]);
    }
    int row = 0;
    for (int i : { 0, 1, 2 }) {
        grid->addWidget(LabelStat[i], row, 0);
        grid->addWidget(TextStat[i], row++, 1);
    }
    grid->setRowMinimumHeight(row++, 10);
    grid->addWidget(LabelStat[9], row++, 0, 1, 2);
    for (int i = 3; i < 11; ++i) {
        grid->addWidget(LabelStat[i < 9 ? i : i + 1], row, 0);
        grid->addWidget(TextStat[i], row++, 1);
    }
    layout->addLayout(grid);
    layout->addStretch(1);
}

} // namespace keyholm
