#pragma once
// What follows the opening of a database file, in order: the tree checked
// and mended, the window shown for it, the trash found and purged, the information
// node selected, and the automatic close armed. Each area does its own step;
// this is the one place that says which and when.

#include "services/main/MainArea.h"

namespace keyholm {

class DatabaseFile;
class DatabaseTree;
class Selection;
class Trash;

class DatabaseOpening : public MainArea {
public:
    DatabaseOpening(MainWindowUi& ui, MainState& state, MainProcedures& procedures, DatabaseTree& tree,
        DatabaseFile& file, Selection& selection, Trash& trash);

    // Runs once a database has opened into the tree.
    void AfterOpening();

private:
    void FindTrash();

    DatabaseTree& tree_;
    DatabaseFile& file_;
    Selection& selection_;
    Trash& trash_;
};

} // namespace keyholm
