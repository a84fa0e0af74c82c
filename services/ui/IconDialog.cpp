#include "services/ui/IconDialog.h"

#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/DialogSupport.h"

#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace keyholm {

using namespace dialogs;

namespace {
constexpr int KeyRole = Qt::UserRole;
// 5670 x 4695 twips at 15 twips a pixel.
constexpr QSize SmallestSize(378, 313);
} // namespace

IconDialog::IconDialog(QWidget* parent)
    : AnswerDialog(parent, QStringLiteral("Lib_SelectIcon"), QStringLiteral("Keyholm"))
    , theLabel_(new QLabel(this))
    , listViewIcon_(new QListWidget(this))
{
    TraceLog(QStringLiteral("Loading icon dialog window"), QStringLiteral("..."));
    setMinimumSize(SmallestSize);
    resize(520, 420);

    theLabel_->setObjectName(QStringLiteral("theLabel"));
    theLabel_->setTextFormat(Qt::PlainText);
    theLabel_->setWordWrap(true);
    listViewIcon_->setObjectName(QStringLiteral("ListViewIcon"));
    listViewIcon_->setViewMode(QListView::IconMode);
    listViewIcon_->setResizeMode(QListView::Adjust);
    listViewIcon_->setMovement(QListView::Static);
    listViewIcon_->setSelectionMode(QAbstractItemView::SingleSelection);
    listViewIcon_->setIconSize(QSize(32, 32));
    listViewIcon_->setGridSize(QSize(96, 64));
    listViewIcon_->setWordWrap(true);
    MakeAnswerButtons({ QStringLiteral("OKButton"), GetMessage(371) },
        { QStringLiteral("CancelButton"), GetMessage(220) }, OutcomeHolder::ConfirmButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(theLabel_);
    layout->addWidget(listViewIcon_, 1);
    layout->addLayout(AnswerRow());

    connect(listViewIcon_, &QListWidget::itemDoubleClicked, this, &IconDialog::Confirm);
}

void IconDialog::SetPrompt(const QString& prompt, bool bold)
{
    theLabel_->setText(PromptText(prompt));
    QFont font = theLabel_->font();
    font.setBold(bold);
    theLabel_->setFont(font);
}

void IconDialog::AddIcon(const QString& key, const QString& text, const QIcon& icon)
{
    auto* item = new QListWidgetItem(icon, text, listViewIcon_);
    item->setData(KeyRole, key);
    item->setToolTip(text.isEmpty() ? key : text);
}

bool IconDialog::SelectIcon(const QString& keyOrText)
{
    for (int row = 0; row < listViewIcon_->count(); ++row) {
        QListWidgetItem* item = listViewIcon_->item(row);
        if (item->text().compare(keyOrText, Qt::CaseInsensitive) == 0
            || item->data(KeyRole).toString().compare(keyOrText, Qt::CaseInsensitive) == 0) {
            listViewIcon_->setCurrentItem(item);
            listViewIcon_->scrollToItem(item);
            return true;
        }
    }
    return false;
}

QString IconDialog::SelectedKey() const
{
    const QList<QListWidgetItem*> selected = listViewIcon_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->data(KeyRole).toString();
}

QString IconDialog::SelectedText() const
{
    const QList<QListWidgetItem*> selected = listViewIcon_->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void IconDialog::showEvent(QShowEvent* event)
{
    AnswerDialog::showEvent(event);
    if (QListWidgetItem* current = listViewIcon_->currentItem())
        listViewIcon_->scrollToItem(current);
    listViewIcon_->setFocus();
}

} // namespace keyholm
