#include "app/DatabaseOpening.h"

#include "components/NodeImages.h"
#include "components/TreeStore.h"
#include "database/DatabaseFile.h"
#include "database/DatabaseTree.h"
#include "entries/Selection.h"
#include "entries/TreeCommands.h"
#include "entries/Trash.h"
#include "services/ErrorReport.h"
#include "services/ui/Messages.h"

#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QTreeView>

namespace keyholm {

DatabaseOpening::DatabaseOpening(MainWindowUi& ui, MainState& state, MainProcedures& procedures, DatabaseTree& tree,
    DatabaseFile& file, Selection& selection, Trash& trash)
    : MainArea(ui, state, procedures)
    , tree_(tree)
    , file_(file)
    , selection_(selection)
    , trash_(trash)
{
}

void DatabaseOpening::AfterOpening()
{
    tree_.CheckDataTree();

    ui_.PictureLogo->setVisible(false);
    ui_.tvTreeView->setVisible(true);
    ui_.tvTreeView->setFocus();
    file_.EnableDisableMainBar(true);

    if (TreeNode* root = Tree().Root()) {
        root->SetSorted(true);
        FindTrash();
        const TreeStore& store = TreeStore::Instance();
        TreeNode* info = Tree().NodeAt(store.FindChild(Tree(), root->Index(), NodeImage::InfoNot));
        selection_.tvTreeView_NodeClick(info ? info : root);
        // The entries expired today, listed without a word when none is.
        if (state_.Options().expiryListAtOpening)
            procedures_.SearchOnDatePasswordTree(root, TreeCommands::ShortDateText(QDate::currentDate()), false, false);
    }

    if (state_.Options().autoClose)
        ui_.TimerDatabaseClose->start();
    else
        ui_.TimerDatabaseClose->stop();
}

void DatabaseOpening::FindTrash()
{
    TreeNode* root = Tree().Root();
    state_.SetTrashNodeKey(TreeStore::Instance().FindNodeKey(Tree(), root->Key(), NodeImage::Trash));
    if (state_.TrashNodeKey().isEmpty()) {
        ui_.Option->CheckTrash->setChecked(false);
        ui_.Option->CheckTrash->setEnabled(false);
        ReportError(QStringLiteral("Unable to locate the Trash Node.<br>Delete option is disabled."));
    } else {
        ui_.Option->CheckTrash->setEnabled(true);
        // The database stays changed and unsaved: the user decides.
        if (state_.Options().purgeTrash && trash_.TrashPurge())
            ShowInfo(QStringLiteral("Corbeille purgée des mots de passe expirés plus vieux de ")
                + QString::number(state_.Options().purgeDays) + QStringLiteral(" jour(s)<br>")
                + QString::number(trash_.PurgedCount())
                + QStringLiteral(" mot(s) de passe supprimé(s) définitivement."));
    }
}

} // namespace keyholm
