#pragma once
// Lib_SelectIcon: the choice of an icon among the images of an image list.
// Shown by ChooseIcon.

#include "services/ui/AnswerDialog.h"

class QIcon;
class QLabel;
class QListWidget;

namespace keyholm {

class IconDialog : public AnswerDialog {
    Q_OBJECT
public:
    explicit IconDialog(QWidget* parent = nullptr);

    void SetPrompt(const QString& prompt, bool bold);
    // Adds an icon to ListViewIcon, under its key, with its text below it.
    void AddIcon(const QString& key, const QString& text, const QIcon& icon);
    // Selects, and scrolls to, the icon whose text or key equals `keyOrText`
    // ignoring letter case. False when there is none.
    bool SelectIcon(const QString& keyOrText);

    // The selected icon's key and text; empty when none is selected.
    QString SelectedKey() const;
    QString SelectedText() const;

    // AnswerTag(), the tag of OKButton: "1" after OKButton or a double click
    // on an icon, "0" after CancelButton or closing.

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLabel* theLabel_;
    QListWidget* listViewIcon_;
};

} // namespace keyholm
