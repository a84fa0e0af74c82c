// The built-in French texts, the last source of GetMessage. A number left out
// here is served by the message files alone.

#include "services/MessagesDatabase.h"

#include <algorithm>
#include <iterator>

namespace keyholm {
namespace {

struct BuiltIn {
    int number;
    const char* text; // UTF-8
};

// Sorted by number.
constexpr BuiltIn Table[] = {
    {0, "FR"},
    {164, "Choix de la Police"},
    {174, "Impression impossible car le champ de consultation est vide"},
    {175, "Renseignez le champ de saisie"},
    {176, "Faites votre choix"},
    {181, "Informations Windows"},
    {193, "Erreur lors de l'affichage ou de la sélection de polices, peut-être utilisez vous des polices TrueType "
          "dont vous n'avez pas autorisées l'affichage aux applications ?"},
    {197, "Répondez à la question"},
    {198, "Sélectionnez un fichier"},
    {199, "Un message d'information"},
    {200, "Tous les fichiers (*.*)|*.*"},
    {207, "Fichiers TXT (*.txt)|*.txt"},
    {208, "Fichiers HTML (*.htm)|*.htm"},
    {209, "Fichiers XML (*.xml)|*.xml"},
    {218, "Chargement d'un fichier"},
    {220, "Annuler"},
    {224, "Imprimer"},
    {252, "Vous devez obligatoirement saisir "},
    {282, "Ouverture impossible"},
    {283, "Erreur fichier"},
    {284, "Erreur d'écriture sur le fichier : "},
    {285, "Fichier introuvable : "},
    {286, "Suppression impossible du fichier : "},
    {287, "Copie impossible du fichier : "},
    {288, "Lecture impossible du fichier : "},
    {295, "Traitement en cours, patientez s.v.p..."},
    {296, "Fichier inexistant : "},
    {371, "Valider"},
    {372, "Fermer"},
    {373, "Chercher"},
    {399, "Fichier"},
    {411, "Anomalie lors de l'initialisation de l'application ?!?"},
    {412, "Allocation nouvelle ligne d'un tableau impossible : "},
    {420, "Echec lors de l'initialisation des valeurs de l'objet d'impression."},
    {425, "Erreur d'initialisation pour l'aperçu avant impression"},
    {492, "Séparateur Virgule (*.csv;*.txt)|*.csv;*.txt"},
    {495, "Retour appel DLL inconnu"},
    {813, "dd/MM/yyyy"},
    {1046, "&A propos de "},
    {10000, "Keyholm"},
    {11137, "le texte à rechercher."},
    {11452, "Sélectionnez l'image du logo"},
    {13227, "La vérification de la mise à jour a échoué : la version disponible n'a pas pu être lue sur le site "
            "Web de Keyholm."},
};

static_assert(std::is_sorted(std::begin(Table), std::end(Table),
                             [](const BuiltIn& a, const BuiltIn& b) { return a.number < b.number; }));

} // namespace

std::optional<QString> BuiltInMessageText(int number)
{
    const auto found = std::lower_bound(std::begin(Table), std::end(Table), number,
                                        [](const BuiltIn& entry, int wanted) { return entry.number < wanted; });
    if (found == std::end(Table) || found->number != number)
        return std::nullopt;
    return QString::fromUtf8(found->text);
}

} // namespace keyholm
