#include "services/main/OptionPage.h"

#include "services/main/ControlBuilders.h"
#include "services/ui/ToolIcons.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace keyholm {

OptionPage::OptionPage(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(8);
    TextPasswordOption1 = Named(new QLabel(this), QStringLiteral("TextPasswordOption_1"));
    TextPasswordOption1->setWordWrap(true);
    TextPasswordOption1->setProperty("role", QStringLiteral("caption"));
    TextPasswordOption1->setText(QStringLiteral(
        "Ces choix sont enregistrés avec vos préférences et valent pour toutes les Bases que vous ouvrez."));
    layout->addWidget(TextPasswordOption1);

    // One above the other: the options' long captions take the page's width.
    auto* columns = new QVBoxLayout;
    columns->setSpacing(12);
    auto* options = Named(new QGroupBox(QStringLiteral("Fonctionnement"), this), QStringLiteral("FrameOptions"));
    auto* optionLayout = new QGridLayout(options);
    optionLayout->setVerticalSpacing(5);
    optionLayout->setColumnStretch(0, 1);
    auto check = [&](const char* name, const QString& caption, bool checked) {
        auto* box = Named(new QCheckBox(caption, options), QLatin1String(name));
        box->setChecked(checked);
        return box;
    };
    CheckHide = check("CheckHide", QStringLiteral("Cacher l'affichage du mot de passe à la sélection"), true);
    CheckOpen = check("CheckOpen", QStringLiteral("Ouvrir automatiquement la dernière Base consultée"), true);
    CheckDateExpir
        = check("CheckDateExpir", QStringLiteral("Afficher les dates d'expiration à l'ouverture d'une Base"), true);
    CheckInitFields = check("CheckInitFields",
        QStringLiteral("Initialiser les champs de saisie après chaque ajout d'un Mot de Passe"), true);
    CheckTrash = check("CheckTrash", QStringLiteral("Mettre à la Corbeille les Mots de Passe supprimés"), true);
    CheckAutoSave = check("CheckAutoSave",
        QStringLiteral("Enregistrer directement dans la Base : Ajout, Modification et Suppression"), true);
    CheckDeleteDir
        = check("CheckDeleteDir", QStringLiteral("Autoriser la suppression d'une Catégorie non vide"), false);
    CheckSepCopy = check("CheckSepCopy", QStringLiteral("Caractère(s) de séparation du Copier Login+Password :"), true);
    CheckAutoClose = check(
        "CheckAutoClose", QStringLiteral("Fermeture automatique de la Base sur un temps de non utilisation :"), false);
    CheckWalkAway = check(
        "CheckWalkAway", QStringLiteral("Fermer la Base au verrouillage de la session ou à la mise en veille"), true);
    CheckPurge = check("CheckPurge", QStringLiteral("Purger la Corbeille des Mots de Passe plus vieux de :"), true);

    TextSepCopy = Named(new QLineEdit(QStringLiteral("/"), options), QStringLiteral("TextSepCopy"));
    TextSepCopy->setMaximumWidth(70);
    SpinClipboard = Named(new QSpinBox(options), QStringLiteral("SpinClipboard"));
    SpinClipboard->setRange(0, 600);
    SpinClipboard->setValue(20);
    SpinClipboard->setSuffix(QStringLiteral(" s"));
    SpinClipboard->setSpecialValueText(QStringLiteral("jamais"));
    SpinClipboard->setToolTip(QStringLiteral("Le presse-papiers n'est vidé que s'il contient encore la copie"));
    auto slider = [&](const char* name, int maximum, int value, const QString& tip) {
        auto* bar = Named(new QSlider(Qt::Horizontal, options), QLatin1String(name));
        bar->setRange(1, maximum);
        bar->setValue(value);
        bar->setPageStep(5);
        bar->setToolTip(tip);
        bar->setMinimumWidth(120);
        return bar;
    };
    auto valueBox = [&](const char* name, const QString& text) {
        auto* box = Named(new QLineEdit(text, options), QLatin1String(name));
        box->setReadOnly(true);
        box->setAlignment(Qt::AlignCenter);
        box->setMaximumWidth(48);
        box->setFocusPolicy(Qt::NoFocus);
        return box;
    };
    SliderAutoClose = slider(
        "SliderAutoClose", 45, 5, QStringLiteral("Nombre de minutes avant fermeture automatqiue de la Base courante"));
    TextAutoClose = valueBox("TextAutoClose", QStringLiteral("5"));
    SliderPurge = slider("SliderPurge", 90, 3, QStringLiteral("Nombre de jours de conservation avant la suppression"));
    TextPurge = valueBox("TextPurge", QStringLiteral("3"));

    int row = 0;
    for (QCheckBox* box :
        { CheckHide, CheckOpen, CheckDateExpir, CheckInitFields, CheckTrash, CheckAutoSave, CheckDeleteDir })
        optionLayout->addWidget(box, row++, 0, 1, 4);
    optionLayout->addWidget(CheckSepCopy, row, 0, 1, 2);
    optionLayout->addWidget(TextSepCopy, row++, 2, 1, 2, Qt::AlignLeft);
    auto* clipboardLabel = Caption(
        options, QStringLiteral("LabelClipboardDelay"), QStringLiteral("Vider le presse-papiers après une copie :"));
    clipboardLabel->setBuddy(SpinClipboard);
    optionLayout->addWidget(clipboardLabel, row, 0, 1, 2);
    optionLayout->addWidget(SpinClipboard, row++, 2, 1, 2, Qt::AlignLeft);
    optionLayout->addWidget(CheckAutoClose, row++, 0, 1, 4);
    auto* autoCloseRow = new QHBoxLayout;
    autoCloseRow->setContentsMargins(24, 0, 0, 0);
    autoCloseRow->addWidget(SliderAutoClose, 1);
    autoCloseRow->addWidget(TextAutoClose);
    autoCloseRow->addWidget(Caption(options, QStringLiteral("LabelAutoCloseUnit"), QStringLiteral("minute(s)")));
    optionLayout->addLayout(autoCloseRow, row++, 0, 1, 4);
    optionLayout->addWidget(CheckWalkAway, row++, 0, 1, 4);
    optionLayout->addWidget(CheckPurge, row++, 0, 1, 4);
    auto* purgeRow = new QHBoxLayout;
    purgeRow->setContentsMargins(24, 0, 0, 0);
    purgeRow->addWidget(SliderPurge, 1);
    purgeRow->addWidget(TextPurge);
    purgeRow->addWidget(Caption(options, QStringLiteral("LabelPurgeUnit"), QStringLiteral("jour(s)")));
    optionLayout->addLayout(purgeRow, row++, 0, 1, 4);
    columns->addWidget(options);

    auto* categories
        = Named(new QGroupBox(QStringLiteral("Catégories par défaut"), this), QStringLiteral("FrameCatDefaut"));
    auto* categoryLayout = new QVBoxLayout(categories);
    ListCatDefaut = Named(new QListWidget(categories), QStringLiteral("ListCatDefaut"));
    ListCatDefaut->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListCatDefaut->setToolTip(QStringLiteral("Catégories créées par l'ajout des Catégories par défaut"));
    categoryLayout->addWidget(ListCatDefaut, 1);
    auto* categoryButtons = new QHBoxLayout;
    CatDefautAdd = Named(new QPushButton(ToolIcon(QStringLiteral("add")), QStringLiteral("Ajouter..."), categories),
        QStringLiteral("CatDefautAdd"));
    CatDefautDelete
        = Named(new QPushButton(ToolIcon(QStringLiteral("delete")), QStringLiteral("Supprimer"), categories),
            QStringLiteral("CatDefautDelete"));
    CatDefautDelete->setEnabled(false);
    categoryButtons->addWidget(CatDefautAdd);
    categoryButtons->addWidget(CatDefautDelete);
    categoryLayout->addLayout(categoryButtons);
    ListCatDefaut->setMinimumHeight(80);
    columns->addWidget(categories, 1);
    layout->addLayout(columns, 1);
}

} // namespace keyholm
