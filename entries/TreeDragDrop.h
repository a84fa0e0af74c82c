#pragma once
// Moving entries and categories inside the tree: by dragging them with the
// mouse, or by cutting one (Ctrl+X) and pasting it (Ctrl+V) on its new
// place. Both go through one rule of allowed moves: entries into a category
// or the trash (and back out), categories into a category or under the root.

#include "services/main/MainArea.h"

#include <QString>

namespace keyholm {

class TreeDragDrop : public MainArea {
public:
    using MainArea::MainArea;

    // A drag of the node starts: true when it may be dragged (an entry or a
    // category); the drag is then active until it ends.
    bool tvTreeView_StartDrag(TreeNode* node);
    // The pointer passes over the target: true when the source may be
    // dropped there (the target is then highlighted).
    bool tvTreeView_DragOver(const QString& sourceKey, const TreeNode* target);
    // The drop on the target: true when the source moved.
    bool tvTreeView_DragDrop(const QString& sourceKey, TreeNode* target);
    // The drag ended, dropped or not.
    void DragEnded();

    // Ctrl+X over the tree: the selected entry or category is the one the
    // next paste moves. Ctrl+V: moves it under the selected node, as a drop.
    void Cut_Click();
    void Paste_Click();
    QString CutKey() const { return cutKey_; }

    // Whether the source may move under the target: entries into a
    // category or the trash, categories into a category or under the root;
    // never under itself or one of its own descendants.
    static bool AllowedMove(const TreeNode* source, const TreeNode* target);

private:
    // The move shared by a drop and a paste.
    bool MoveUnder(const QString& sourceKey, TreeNode* target);

    QString cutKey_;
};

} // namespace keyholm
