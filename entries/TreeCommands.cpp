#include "entries/TreeCommands.h"

#include "components/NodeImages.h"
#include "components/NodeKind.h"
#include "components/NodeTags.h"
#include "components/SystemInfo.h"
#include "components/TreeStore.h"
#include "components/ui/ImageListTreeView.h"
#include "entries/EntryEditor.h"
#include "entries/Trash.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/main/EntryPage.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"

#include <QStringList>
#include <QTimer>
#include <QTreeView>

#include <exception>

namespace keyholm {

namespace {

const QString SelectNode = QStringLiteral("Vous devez sélectionner un élément de l'arborescence");

} // namespace

void TreeCommands::ToolbarTree_ButtonClick(const QString& key)
{
    state_.ResetIdleTicks();
    try {
        if (key == QLatin1String("Add"))
            AddCategory();
        else if (key == QLatin1String("Change"))
            RenameCategory();
        else if (key == QLatin1String("Delete"))
            DeleteCategory();
        else if (key == QLatin1String("Purge"))
            trash_.Purge_Click();
        else if (key == QLatin1String("Search"))
            Search();
        else if (key == QLatin1String("Date"))
            SearchDates(ShortDateText(QDate::currentDate()));
        else if (key == QLatin1String("Export"))
            procedures_.ExportPasswordCategory(Tree().Root());
        else if (key == QLatin1String("Import"))
            procedures_.ImportPasswordCategory(Tree().Root());
        else if (key == QLatin1String("Clipboard"))
            procedures_.ShowClipboardViewer();
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on command: ") + key, error);
    }
}

void TreeCommands::ToolbarTree_ButtonMenuClick(const QString& key, const QString& itemKey)
{
    Q_UNUSED(key);
    state_.ResetIdleTicks();
    try {
        if (itemKey == QLatin1String("Icon"))
            ChangeIcon();
        else if (itemKey == QLatin1String("CatDefault"))
            AddDefaultCategories();
        else if (itemKey == QLatin1String("Date"))
            SearchDates(QString());
        else if (itemKey == QLatin1String("Date30"))
            SearchDates(ShortDateText(QDate::currentDate().addDays(30)));
        else if (itemKey == QLatin1String("ExportCat") || itemKey == QLatin1String("ImportCat"))
            ExchangeFromSelection(itemKey == QLatin1String("ExportCat"));
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on menu command: ") + itemKey, error);
    }
}

void TreeCommands::Search()
{
    TreeNode* node = state_.CurrentNode();
    if (!node) {
        ShowInfo(SelectNode);
        return;
    }
    const int index
        = procedures_.SearchOnPasswordTree(node, QStringLiteral("A partir de ") + node->Text().trimmed());
    if (index >= 1)
        state_.RequestSelection(Tree().NodeAt(index));
}

void TreeCommands::FindNext(bool backwards)
{
    if (const int index = procedures_.FindNextMatch(backwards); index >= 1)
        state_.RequestSelection(Tree().NodeAt(index));
}

void TreeCommands::SearchDates(const QString& dateLimit)
{
    TreeNode* root = Tree().Root();
    if (!root)
        return;
    // The chosen row is a "Date" detail: its entry is shown.
    const int index = procedures_.SearchOnDatePasswordTree(root, dateLimit, true, true);
    if (TreeNode* date = index >= 1 ? Tree().NodeAt(index) : nullptr; date && date->Parent())
        state_.RequestSelection(date->Parent());
}

QString TreeCommands::ShortDateText(const QDate& date)
{
    return SystemInfo::Instance().ShortDate(date);
}

void TreeCommands::ExchangeFromSelection(bool exporting)
{
    TreeNode* node = state_.CurrentNode();
    if (!node) {
        ShowInfo(QStringLiteral("Aucun item sélectionné. Action stoppée"));
        return;
    }
    const NodeKind kind = KindOf(node);
    if (kind != NodeKind::Root && kind != NodeKind::Category) {
        ShowInfo(QStringLiteral("Vous devez sélectionner une Catégorie ou la Racine pour effectuer un ")
            + (exporting ? QStringLiteral("export") : QStringLiteral("import")) + QStringLiteral(" ciblé"));
        return;
    }
    if (exporting)
        procedures_.ExportPasswordCategory(node);
    else
        procedures_.ImportPasswordCategory(node);
}

void TreeCommands::tvTreeView_DblClick()
{
    if (KindOf(state_.CurrentNode()) == NodeKind::Category)
        ChangeIcon();
}

void TreeCommands::AddCategory()
{
    if (!state_.CurrentNode()) {
        if (AskQuestion(SelectNode + QStringLiteral("<BR>pour effectuer un ajout de Catégorie.<BR><BR>")
                + QStringLiteral("Souhaitez-vous tout de même réaliser un ajout à la racine ?"))
            != Answer::Yes)
            return;
        state_.RequestSelection(Tree().Root());
        if (!state_.CurrentNode()) {
            ReportError(
                QStringLiteral("Erreur à la sélection automatique de la racine.<BR>Faites une sélection manuelle."));
            return;
        }
    }
    TreeNode* parent = state_.CurrentNode();
    // Categories go under the root or a category, never under an entry's line.
    const NodeKind kind = KindOf(parent);
    if (kind != NodeKind::Root && kind != NodeKind::Category)
        return;
    QString label = state_.LastCategoryLabel();
    const Answer answer = AskInput(
        QStringLiteral("Entrez le label de la Catégorie à ajouter à partir de :<BR>") + parent->Text(), label);
    state_.SetLastCategoryLabel(label);
    if (answer != Answer::Yes || label.trimmed().isEmpty())
        return;
    if (editor_.isCheckIdemLabel(parent, label, true, -1))
        return;
    TreeNode* category = Tree().FindKey(editor_.CreateCategory(parent, label));
    if (!category)
        return;
    state_.SetDatabaseChanged(true);
    state_.RequestSelection(category);
    editor_.AutoSave();
}

void TreeCommands::RenameCategory()
{
    TreeNode* node = state_.CurrentNode();
    if (!node) {
        ShowInfo(SelectNode);
        return;
    }
    const NodeKind kind = KindOf(node);
    if (kind != NodeKind::Root && kind != NodeKind::Category)
        return;
    QString label = node->Text();
    state_.SetLastCategoryLabel(label);
    const Answer answer = AskInput(QStringLiteral("Entrez le label du Dossier à modifier :"), label);
    state_.SetLastCategoryLabel(label);
    if (answer != Answer::Yes || label.trimmed().isEmpty())
        return;
    if (editor_.isCheckIdemLabel(node->Parent(), label, true, node->Index()))
        return;
    state_.SetDatabaseChanged(true);
    node->SetText(label.trimmed());
    // The root's tag is not a pair of dates: it keeps it.
    if (kind == NodeKind::Category)
        node->SetTag(TagField(node->Tag(), 0) + TagSeparator + NowTag());
    editor_.AutoSave();
}

void TreeCommands::DeleteCategory()
{
    TreeNode* node = state_.CurrentNode();
    if (!node) {
        ShowInfo(SelectNode);
        return;
    }
    if (KindOf(node) != NodeKind::Category) {
        ShowInfo(QStringLiteral("Opération de suppression interdite sur cet item"));
        return;
    }
    if (!state_.Options().deleteFullCategory && node->ChildCount() > 0) {
        ShowInfo(QStringLiteral("Opération non autorisée, car cette Catégorie n'est pas vide.<BR>Changez votre Choix "
                                "pour réaliser cette suppression."));
        return;
    }
    if (AskQuestion(
            QStringLiteral("Confirmez-vous la suppression de l'élément sélectionné et de sa sous-arborecence ? :<BR>\t")
            + node->Text())
        != Answer::Yes)
        return;
    TreeStore::Instance().DeleteNode(Tree(), node->Key());
    state_.SetDatabaseChanged(true);
    state_.SetCurrentNode(nullptr);
    state_.RequestSelection(Tree().Root());
    editor_.AutoSave();
}

void TreeCommands::AddDefaultCategories()
{
    TreeNode* node = state_.CurrentNode();
    const QStringList& labels = state_.Options().defaultCategories;
    if (!node || labels.isEmpty())
        return;
    // Only the root and categories with the standard pictures take them.
    const QString image = node->Image();
    if (image != NodeImage::Root && image != NodeImage::RootNot && image != NodeImage::Dir && image != NodeImage::DirNot
        && image != NodeImage::DirKey && image != NodeImage::DirKeyNot)
        return;
    if (AskQuestion(QStringLiteral("Confirmez-vous l'ajout de la liste des Catégories par défaut ?")) != Answer::Yes)
        return;
    for (const QString& label : labels)
        editor_.CreateCategory(node, label);
    state_.SetDatabaseChanged(true);
}

bool TreeCommands::tvTreeView_BeforeLabelEdit(const TreeNode* node) const
{
    if (!node || node != state_.CurrentNode())
        return false;
    switch (KindOf(node)) {
    case NodeKind::Root:
    case NodeKind::Entry:
    case NodeKind::Category:
        return true;
    case NodeKind::Detail: {
        const QString& image = node->Image();
        return image == NodeImage::Title || image == NodeImage::User || image == NodeImage::Quote;
    }
    default:
        return false;
    }
}

bool TreeCommands::tvTreeView_AfterLabelEdit(TreeNode* node, const QString& text)
{
    if (!node)
        return false;
    const NodeKind kind = KindOf(node);
    try {
        const QString label = text.trimmed();
        // A blank label is a cancel; a note line never takes one either.
        if (label.isEmpty())
            return false;
        if (kind == NodeKind::Root) {
            node->SetText(text);
            state_.SetDatabaseChanged(true);
            InformAndSelectLater(QString(), node->Key());
            return true;
        }
        if (!tvTreeView_BeforeLabelEdit(node) || label == node->Text())
            return false;
        // A note may repeat a line; titles and categories are unique.
        if (node->Image() != NodeImage::Quote
            && editor_.isCheckIdemLabel(node->Parent(), label, false, node->Index())) {
            InformAndSelectLater(
                QStringLiteral("Attention un mot de passe avec un Titre identique est déjà présent au même niveau."),
                QString());
            return false;
        }
        if (kind == NodeKind::Entry || kind == NodeKind::Category)
            node->SetTag(TagField(node->Tag(), 0) + TagSeparator + NowTag());
        node->SetText(label);
        state_.SetDatabaseChanged(true);
        if (kind == NodeKind::Entry)
            ui_.Entry->SetPasswordText(0, label);
        InformAndSelectLater(QString(), node->Key());
        return true;
    } catch (const std::exception& error) {
        // A note line may hold a secret: its text stays out of the report.
        ReportException(QStringLiteral("Error on editing label of Node:<br>")
                + (node->Image() == NodeImage::Quote ? QStringLiteral("...") : node->Text()),
            error);
        return false;
    }
}

void TreeCommands::ChangeIcon()
{
    TreeNode* node = state_.CurrentNode();
    if (KindOf(node) != NodeKind::Category)
        return;
    TraceLog(QStringLiteral("Changing icon"), QStringLiteral("Dir"));
    const QString key = ChooseIcon(
        QStringLiteral("Sélection d'une nouvelle icône à associer à la catégorie : ") + node->Text(),
        ImageListTreeView::Instance(), QString(), true, SelectedImageFor(node->Image()), QStringLiteral("Dir"), true);
    if (key.isEmpty())
        return;
    TraceLog(QStringLiteral("Selected icon"), key);
    node->SetSelectedImage(key);
    node->SetImage(key + NodeImage::NotSuffix);
    state_.SetDatabaseChanged(true);
}

} // namespace keyholm
