#include "services/main/MainArea.h"

#include "services/ui/Messages.h"

#include <QTimer>
#include <QTreeView>

namespace keyholm {

void MainArea::InformAndSelectLater(const QString& message, const QString& selectKey)
{
    QTimer::singleShot(0, ui_.tvTreeView, [this, message, selectKey] {
        if (!message.isEmpty())
            ShowInfo(message);
        if (TreeNode* node = Tree().FindKey(selectKey))
            state_.RequestSelection(node);
    });
}

} // namespace keyholm
