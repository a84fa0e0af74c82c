#pragma once
// The image keys of the password tree's nodes and the texts of its service
// nodes: the one place that spells them. A key ending in "Not" is the shown
// (unselected) image of a node shown in two states; its twin without "Not"
// is the selected image.

#include <QString>

namespace keyholm::NodeImage {

inline const QString Root = QStringLiteral("Root");
inline const QString RootNot = QStringLiteral("RootNot");
inline const QString Info = QStringLiteral("Info");
inline const QString InfoNot = QStringLiteral("InfoNot");
inline const QString Stat = QStringLiteral("Stat");
inline const QString StatNot = QStringLiteral("StatNot");
inline const QString Option = QStringLiteral("Option");
inline const QString OptionNot = QStringLiteral("OptionNot");
inline const QString Trash = QStringLiteral("Trash");
inline const QString TrashNot = QStringLiteral("TrashNot");
inline const QString TrashKey = QStringLiteral("TrashKey");
inline const QString TrashKeyNot = QStringLiteral("TrashKeyNot");

// Categories: every key beginning with Dir is one.
inline const QString Dir = QStringLiteral("Dir");
inline const QString DirNot = QStringLiteral("DirNot");
inline const QString DirKey = QStringLiteral("DirKey");
inline const QString DirKeyNot = QStringLiteral("DirKeyNot");

struct Category {
    const char* key;
    const char* label;
};

// The pictures a category can take, with their labels (UTF-8), in the
// order the icon chooser shows them.
inline constexpr Category Categories[] = {
    { "Dir", "Défaut" },
    { "DirKey", "Password" },
    { "DirTool", "Outil" },
    { "DirStar", "Star" },
    { "DirCard", "Carte" },
    { "DirUser", "Groupe" },
    { "DirLegal", "Légal" },
    { "DirBip", "Bip" },
    { "DirTheStar", "Etoile" },
    { "DirToy", "Jouet" },
    { "DirMusic", "Musique" },
    { "DirCat", "Animal" },
    { "DirAlarm", "Alarme" },
    { "DirTableKey", "Table" },
    { "DirReclamation", "Exclamer" },
    { "DirTitle", "Titre" },
    { "DirRule", "Réglement" },
    { "DirStarBlue", "Etoile bleue" },
    { "DirProcess", "Process" },
    { "DirBlue", "Carré bleu" },
    { "DirFlag", "Drapeau" },
    { "DirSelect", "Sélection" },
    { "DirArrow", "Flêche" },
    { "DirTime", "Temps" },
    { "DirInfo", "Information" },
    { "DirWeb", "Web" },
    { "DirChat", "Chat" },
    { "DirWebPhone", "Web Phone" },
    { "DirPhoto", "Photo" },
    { "DirMessenger", "Messenger" },
    { "DirDesktop", "Desktop" },
    { "DirRecycle", "Recycler" },
    { "DirServer", "Serveur" },
    { "DirStop", "Stop" },
    { "DirMail", "Mail" },
    { "DirServerRed", "Serveur Rouge" },
    { "DirFolder", "Dossier" },
    { "DirGroup", "Groupe" },
    { "DirProcessKey", "Process Password" },
    { "DirBlog", "Blog" },
    { "DirSkype", "Skype" },
    { "DirPlayer", "Media Player" },
    { "DirWord", "Bureautique" },
    { "DirExcel", "Tableur" },
    { "DirStat", "Statistique" },
    { "DirMovie", "Film" },
    { "DirSettings", "Choix" },
    { "DirSearch", "Recherche" },
    { "DirSpell", "Traduction" },
    { "DirDetail", "Détail" },
    { "DirExplorer", "Explorer" },
    { "DirAddress", "Carnet" },
    { "DirYellowPage", "Pages Jaunes" },
    { "DirVisa", "Crédit" },
    { "DirEuro", "Euro Bleu" },
    { "DirCar", "Voiture" },
    { "DirWindows", "Windows" },
    { "DirVirtual", "Serveur Virtuel" },
    { "DirTree", "Arbre" },
    { "DirPrinter", "Imprimante" },
    { "DirBed", "Lit" },
    { "DirHeart", "Coeur" },
};

// Entries, with and without a web address.
inline const QString Password = QStringLiteral("Password");
inline const QString PasswordNot = QStringLiteral("PasswordNot");
inline const QString PasswordWeb = QStringLiteral("PasswordWeb");
inline const QString PasswordWebNot = QStringLiteral("PasswordWebNot");

// Details of an entry.
inline const QString Login = QStringLiteral("Login");
inline const QString Key = QStringLiteral("Key");
inline const QString Date = QStringLiteral("Date");
inline const QString Custom1 = QStringLiteral("Custom1");
inline const QString Web = QStringLiteral("Web");
inline const QString File = QStringLiteral("File");
inline const QString Note = QStringLiteral("Note");
inline const QString Quote = QStringLiteral("Quote");

// Details of the information node.
inline const QString Create = QStringLiteral("Create");
inline const QString User = QStringLiteral("User");
inline const QString Title = QStringLiteral("Title");

// The "Not" ending of a shown image.
inline const QString NotSuffix = QStringLiteral("Not");

} // namespace keyholm::NodeImage

namespace keyholm::ServiceText {

// The texts of a new root and of the service nodes, led by one space so
// that they sort before the categories.
inline const QString Root = QStringLiteral("Cliquez ici sur ce label pour le modifier...");
inline const QString Info = QStringLiteral(" A propos de la Base");
inline const QString Stat = QStringLiteral(" Chiffres sur la Base");
inline const QString Option = QStringLiteral(" Choix de fonctionnement");
inline const QString Trash = QStringLiteral(" Corbeille");

} // namespace keyholm::ServiceText
