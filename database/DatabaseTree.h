#pragma once
// The database tree's own procedures: the default tree of a new database,
// the check and repair of a loaded tree and the "Key" icon rule.

#include "services/main/MainArea.h"

#include <QString>

namespace keyholm {

class DatabaseTree : public MainArea {
public:
    using MainArea::MainArea;

    // Builds the default tree (root and the four service nodes) and selects
    // the root. False when the root could not be made.
    bool CreateDefaultTree();
    // Adds the root (key "Root") and makes it CurrentNode.
    bool CreateDefaultMainNode();
    void CreateDefaultInfoNode(const QString& rootKey);
    void CreateDefaultStatNode(const QString& rootKey);
    void CreateDefaultOptionNode(const QString& rootKey);
    void CreateDefaultTrashNode(const QString& rootKey);

    // After a load: a root when there is none, the four service nodes found
    // (any of their images) or added, their texts led by one space.
    void CheckDataTree();
    // A category or trash holding entries directly shows the "Key" icon;
    // categories with an icon of their own keep it. Null: CurrentNode.
    void CheckNodeInfo(TreeNode* node = nullptr);

    // Texts of the service nodes and of a new root.
    static inline const QString RootText = QStringLiteral("Cliquez ici sur ce label pour le modifier...");
    static inline const QString InfoText = QStringLiteral(" A propos de la Base");
    static inline const QString StatText = QStringLiteral(" Chiffres sur la Base");
    static inline const QString OptionText = QStringLiteral(" Choix de fonctionnement");
    static inline const QString TrashText = QStringLiteral(" Corbeille");

private:
    // Adds a service node under the root; its key, empty on failure.
    QString AddServiceNode(
        const QString& rootKey, const QString& text, const QString& image, const QString& tag, bool sorted);
};

} // namespace keyholm
