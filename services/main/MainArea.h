#pragma once
// Base of the classes that hold the main window's procedures, one class per
// area and subject (database/, entries/, search/, app/). Each reaches the
// controls through the Ui, the shared state (and its tree) through the
// state, and the procedures of other areas through MainProcedures.

#include "services/main/MainProcedures.h"
#include "services/main/MainState.h"
#include "services/main/MainWindowUi.h"

namespace keyholm {

class MainArea {
public:
    MainArea(MainWindowUi& ui, MainState& state, MainProcedures& procedures)
        : ui_(ui)
        , state_(state)
        , procedures_(procedures)
    {
    }

protected:
    PasswordTree& Tree() { return state_.Tree(); }
    // Shows the message (when there is one) and selects the node of that
    // key once the running event is over: a window opened while a label
    // edit or a drop is closing would let it commit or drop again.
    void InformAndSelectLater(const QString& message, const QString& selectKey);
    const PasswordTree& Tree() const { return state_.Tree(); }

    MainWindowUi& ui_;
    MainState& state_;
    MainProcedures& procedures_;
};

} // namespace keyholm
