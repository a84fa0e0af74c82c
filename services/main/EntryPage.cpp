#include "services/main/EntryPage.h"

#include "services/main/ControlBuilders.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/SecretLineEdit.h"
#include "services/ui/StrengthMeter.h"
#include "services/ui/ToolIcons.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace keyholm {

namespace {

QToolButton* FieldButton(QWidget* parent, const QString& name, const QString& icon, const QString& toolTip)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setIcon(ToolIcon(icon));
    button->setIconSize(QSize(18, 18));
    button->setToolTip(toolTip);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

} // namespace

EntryPage::EntryPage(QWidget* parent)
    : QWidget(parent)
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* tab = Named(new QWidget(this), QStringLiteral("PictureTab_1"));
    PictureTab = tab;
    outer->addWidget(tab);

    auto* layout = new QVBoxLayout(tab);
    layout->setContentsMargins(14, 8, 14, 12);
    layout->setSpacing(6);
    ToolbarPassCode = new KeyToolBar(QStringLiteral("ToolbarPassCode"), tab);
    ToolbarPassCode->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolbarPassCode->setIconSize(QSize(20, 20));
    ToolbarPassCode->AddButton(QStringLiteral("Add"), ToolIcon(QStringLiteral("entryadd")), QStringLiteral("Ajouter"),
        QStringLiteral("Ajouter du nouveau mot de passe"));
    ToolbarPassCode->AddButton(QStringLiteral("Change"), ToolIcon(QStringLiteral("entrychange")),
        QStringLiteral("Modifier"), QStringLiteral("Modifier le mot de passe sélectionné"));
    ToolbarPassCode->AddButton(QStringLiteral("Delete"), ToolIcon(QStringLiteral("entrydelete")),
        QStringLiteral("Supprimer"), QStringLiteral("Supprimer le mot de passe sélectionné"));
    ToolbarPassCode->addSeparator();
    ToolbarPassCode->AddButton(QStringLiteral("Initfield"), ToolIcon(QStringLiteral("clear")), QStringLiteral("Vider"),
        QStringLiteral("Initialisation de tous les champs de saisie"));
    layout->addWidget(ToolbarPassCode);
    auto* rule = Named(new QFrame(tab), QStringLiteral("EntryRule"));
    rule->setFrameShape(QFrame::HLine);
    layout->addWidget(rule);

    const QString captions[7] = {
        QStringLiteral("Titre :"),
        QStringLiteral("Identifiant, Email, Login, Pseudo :"),
        QStringLiteral("Mot de passe, Password, clé :"),
        QStringLiteral("Site Web, URL, page Web, ..."),
        QStringLiteral("Lien sur un fichier externe :"),
        QStringLiteral("Vos Notes, Commentaires, Informations, ..."),
        QStringLiteral("Date limite d'utilisation :"),
    };
    for (int i = 0; i < 7; ++i)
        LabelPassword[i] = Caption(tab, Indexed("LabelPassword", i), captions[i]);
    PasswordEdit = new SecretLineEdit(tab);
    for (int i = 0; i < 5; ++i) {
        TextPassword[i] = Named(i == 2 ? PasswordEdit : new QLineEdit(tab), Indexed("TextPassword", i));
        TextPassword[i]->setClearButtonEnabled(i != 2);
        LabelPassword[i]->setBuddy(TextPassword[i]);
    }
    TextPassword[0]->setPlaceholderText(QStringLiteral("Nom du compte ou du site"));
    TextPassword[3]->setPlaceholderText(QStringLiteral("https://"));
    TextPasswordNote = Named(new QPlainTextEdit(tab), QStringLiteral("TextPassword_5"));
    TextPasswordNote->setTabChangesFocus(true);
    LabelPassword[5]->setBuddy(TextPasswordNote);

    CommandColor = FieldButton(tab, QStringLiteral("CommandColor"), QString(),
        QStringLiteral("Choix d'une couleur de fond sur le Titre dans l'arborescence..."));
    CommandColor->setIcon(QIcon());
    CommandColor->setAutoRaise(false);
    CommandColor->setFixedSize(26, 26);
    CommandGenPeudo = FieldButton(tab, QStringLiteral("CommandGenPeudo"), QStringLiteral("nickname"),
        QStringLiteral("Création aléatoire d'un Pseudo"));
    CommandCopyLogin = FieldButton(tab, QStringLiteral("CommandCopyLogin"), QStringLiteral("copy"),
        QStringLiteral("Copie de l'Identifiant dans le Presse-Papiers"));
    CommandGenPasswd = FieldButton(tab, QStringLiteral("CommandGenPasswd"), QStringLiteral("generate"),
        QStringLiteral("Création aléatoire d'un mot de passe"));
    GeneratorOptions
        = Named(new QAction(QStringLiteral("Options..."), CommandGenPasswd), QStringLiteral("GeneratorOptions"));
    auto* generatorMenu = new QMenu(CommandGenPasswd);
    generatorMenu->addAction(GeneratorOptions);
    CommandGenPasswd->setMenu(generatorMenu);
    CommandGenPasswd->setPopupMode(QToolButton::MenuButtonPopup);
    PasswordStrength = new StrengthMeter(tab);
    PasswordStrength->Follow(PasswordEdit);
    CommandCopyPassword = FieldButton(tab, QStringLiteral("CommandCopyPassword"), QStringLiteral("copy"),
        QStringLiteral("Copie du Mot de Passe dans le Presse-Papiers"));
    CommandWebHelp = FieldButton(tab, QStringLiteral("CommandWebHelp"), QStringLiteral("help"),
        QStringLiteral("Information sur la création d'un lien web..."));
    CommandGoWeb = FieldButton(
        tab, QStringLiteral("CommandGoWeb"), QStringLiteral("web"), QStringLiteral("Ouverture de la page web..."));
    CommandSelectFile = FieldButton(tab, QStringLiteral("CommandSelectFile"), QStringLiteral("folder"),
        QStringLiteral("Sélection d'un fichier sur votre disque dur..."));
    CommandOpenFile = FieldButton(
        tab, QStringLiteral("CommandOpenFile"), QStringLiteral("file"), QStringLiteral("Ouverture du fichier..."));
    OpenContentNote = FieldButton(tab, QStringLiteral("OpenContentNote"), QStringLiteral("fileload"),
        QStringLiteral("Charge le contenu d'un fichier dans la zone Note"));
    SaveContentNote = FieldButton(tab, QStringLiteral("SaveContentNote"), QStringLiteral("filesave"),
        QStringLiteral("Sauve le contenu de la Note dans un fichier"));
    for (QToolButton* button :
        { CommandCopyLogin, CommandCopyPassword, CommandGoWeb, CommandOpenFile, SaveContentNote })
        button->setEnabled(false);

    LabelCustom[0] = Caption(tab, QStringLiteral("LabelCustom_0"), QString());
    TextPerso[0] = Named(new QLineEdit(tab), QStringLiteral("TextPerso_0"));
    LabelCustom[0]->setBuddy(TextPerso[0]);
    LabelCustom[0]->setVisible(false);
    TextPerso[0]->setVisible(false);

    CheckDate = Named(new QCheckBox(QStringLiteral("Expire le"), tab), QStringLiteral("CheckDate"));
    DTPickerLimit = Named(new QDateEdit(tab), QStringLiteral("DTPickerLimit"));
    DTPickerLimit->setCalendarPopup(true);
    DTPickerLimit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    DTPickerLimit->setMinimumWidth(130);
    DTPickerLimit->setEnabled(false);

    // Fields in the first column; the two button columns to their right, so
    // that the web and file buttons line up (help/select, then go/open).
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(0, 1);
    int row = 0;
    auto field = [&](QLabel* label, QWidget* box, QWidget* first, QWidget* second) {
        grid->addWidget(label, row++, 0, 1, 3);
        grid->addWidget(box, row, 0);
        if (first)
            grid->addWidget(first, row, 1);
        if (second)
            grid->addWidget(second, row, 2);
        ++row;
        grid->setRowMinimumHeight(row++, 6);
    };
    field(LabelPassword[0], TextPassword[0], nullptr, CommandColor);
    field(LabelPassword[1], TextPassword[1], CommandGenPeudo, CommandCopyLogin);
    field(LabelPassword[2], TextPassword[2], CommandGenPasswd, CommandCopyPassword);
    grid->addWidget(PasswordStrength, row - 1, 0);
    field(LabelPassword[3], TextPassword[3], CommandWebHelp, CommandGoWeb);
    field(LabelPassword[4], TextPassword[4], CommandSelectFile, CommandOpenFile);
    field(LabelCustom[0], TextPerso[0], nullptr, nullptr);

    auto* dateRow = new QHBoxLayout;
    dateRow->setSpacing(8);
    dateRow->addWidget(LabelPassword[6]);
    dateRow->addWidget(CheckDate);
    dateRow->addWidget(DTPickerLimit);
    dateRow->addStretch(1);
    grid->addLayout(dateRow, row++, 0, 1, 3);
    grid->setRowMinimumHeight(row++, 6);

    auto* noteHeader = new QHBoxLayout;
    noteHeader->addWidget(LabelPassword[5], 1);
    noteHeader->addWidget(OpenContentNote);
    noteHeader->addWidget(SaveContentNote);
    grid->addLayout(noteHeader, row++, 0, 1, 3);
    grid->addWidget(TextPasswordNote, row, 0, 1, 3);
    grid->setRowStretch(row, 1);
    layout->addLayout(grid, 1);
    SetEntryColor(Qt::white);
}

QString EntryPage::PasswordText(int index) const
{
    if (index == 5)
        return TextPasswordNote->toPlainText();
    if (index >= 0 && index < 5)
        return TextPassword[index]->text();
    return {};
}

void EntryPage::SetPasswordText(int index, const QString& text)
{
    if (index == 5)
        TextPasswordNote->setPlainText(text);
    else if (index >= 0 && index < 5)
        TextPassword[index]->setText(text);
}

QWidget* EntryPage::PasswordField(int index) const
{
    if (index == 5)
        return TextPasswordNote;
    if (index >= 0 && index < 5)
        return TextPassword[index];
    return nullptr;
}

QColor EntryPage::EntryColor() const
{
    const QColor color = CommandColor->property("entryColor").value<QColor>();
    return color.isValid() ? color : QColor(Qt::white);
}

void EntryPage::SetEntryColor(const QColor& color)
{
    // The colour is the entry's own, so it cannot live in the style sheet.
    const QColor valid = color.isValid() ? color : QColor(Qt::white);
    CommandColor->setProperty("entryColor", valid);
    CommandColor->setStyleSheet(
        QStringLiteral("QToolButton#CommandColor { background: %1; border: 1px solid #b9c2ce; border-radius: 4px; }")
            .arg(valid.name()));
}

} // namespace keyholm
