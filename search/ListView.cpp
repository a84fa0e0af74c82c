#include "search/ListView.h"

#include "components/CipherEngine.h"
#include "search/ListExport.h"
#include "search/ListModel.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"
#include "services/main/KeyToolBar.h"
#include "services/ui/ControlTag.h"
#include "services/ui/ToolIcons.h"

#include <QApplication>
#include <QClipboard>
#include <QCryptographicHash>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace keyholm {

namespace {

constexpr int TwipsPerPixel = 15;

QLabel* BandLabel(QWidget* parent, const QString& name, const QString& text)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The preferences key of a list's column widths: its columns name it.
QString WidthsKey(const ListTable& table)
{
    QStringList headers;
    for (const ListColumn& column : table.columns)
        headers << column.header;
    const QByteArray digest
        = QCryptographicHash::hash(headers.join(QLatin1Char('|')).toUtf8(), QCryptographicHash::Sha256)
              .toHex()
              .left(12);
    return QStringLiteral("Widths_") + QString::fromLatin1(digest);
}

const QString WidthsSection = QStringLiteral("ListView");

} // namespace

ListView::ListView(QWidget* parent)
    : QDialog(parent)
    , model_(new ListModel(this))
    , filter_(new QSortFilterProxyModel(this))
{
    TraceLog(QStringLiteral("Loading listview dialog window"), QString());
    setObjectName(QStringLiteral("Lib_ListView"));
    setWindowTitle(QStringLiteral("Liste d'Information"));
    setModal(true);
    resize(760, 480);

    CoolBarCmd = new QWidget(this);
    CoolBarCmd->setObjectName(QStringLiteral("CoolBarCmd"));
    auto* bar = new QHBoxLayout(CoolBarCmd);
    bar->setContentsMargins(6, 4, 6, 4);
    for (int i = 0; i < 4; ++i) {
        Bands[i] = new QWidget(CoolBarCmd);
        Bands[i]->setObjectName(QStringLiteral("CoolBarCmd_%1").arg(i + 1));
        auto* band = new QHBoxLayout(Bands[i]);
        band->setContentsMargins(0, 0, 0, 0);
        bar->addWidget(Bands[i], i == 0 ? 1 : 0);
    }
    TitleBand = BandLabel(Bands[0], QStringLiteral("TitleBand"), QStringLiteral("Titre:"));
    TitleBand->setProperty("role", QStringLiteral("heading"));
    Bands[0]->layout()->addWidget(TitleBand);
    Bands[1]->setVisible(false);
    ListViewCommande = new KeyToolBar(QStringLiteral("ListViewCommande"), Bands[2]);
    ListViewCommande->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ListViewCommande->setIconSize(QSize(16, 16));
    const struct {
        const char* key;
        const char* caption;
    } buttons[] = { { "csv", "CSV export" }, { "html", "HTML export" }, { "prn", "PRN export" },
        { "txt", "TEXT export" }, { "xml", "XML export" }, { "print", "Print" } };
    for (const auto& b : buttons) {
        const QString key = QLatin1String(b.key);
        ListViewCommande->AddButton(key, ToolIcon(key == QLatin1String("print") ? key : QStringLiteral("filesave")),
            QLatin1String(b.caption), QLatin1String(b.caption));
    }
    Bands[2]->layout()->addWidget(ListViewCommande);
    CountBand = BandLabel(Bands[3], QStringLiteral("CountBand"), QStringLiteral("0"));
    CountBand->setMinimumWidth(60);
    CountBand->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Bands[3]->layout()->addWidget(CountBand);

    LineFilter = new QLineEdit(this);
    LineFilter->setObjectName(QStringLiteral("LineFilter"));
    LineFilter->setPlaceholderText(QStringLiteral("Filtrer la liste..."));
    LineFilter->setClearButtonEnabled(true);

    filter_->setSourceModel(model_);
    filter_->setFilterKeyColumn(-1);
    filter_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    ListViewInfo = new QTreeView(this);
    ListViewInfo->setObjectName(QStringLiteral("ListViewInfo"));
    ListViewInfo->setModel(filter_);
    ListViewInfo->setRootIsDecorated(false);
    ListViewInfo->setUniformRowHeights(true);
    ListViewInfo->setAlternatingRowColors(true);
    ListViewInfo->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListViewInfo->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListViewInfo->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListViewInfo->setAllColumnsShowFocus(true);
    ListViewInfo->header()->setSectionsClickable(true);
    ListViewInfo->header()->setSortIndicatorShown(false);
    ListViewInfo->header()->setStretchLastSection(true);
    // The view would copy the current cell itself, a password as well.
    ListViewInfo->installEventFilter(this);

    ZoneCommande = new QWidget(this);
    ZoneCommande->setObjectName(QStringLiteral("ZoneCommande"));
    cmdSelection = new QPushButton(QStringLiteral("Sélectionner"), ZoneCommande);
    cmdSelection->setObjectName(QStringLiteral("cmdSelection"));
    cmdSelection->setEnabled(false);
    cmdSelection->setDefault(true);
    cmdFermer = new QPushButton(GetMessage(372), ZoneCommande);
    cmdFermer->setObjectName(QStringLiteral("cmdFermer"));
    cmdFermer->setAutoDefault(false);
    auto* zone = new QHBoxLayout(ZoneCommande);
    zone->setContentsMargins(6, 0, 6, 0);
    zone->addStretch(1);
    zone->addWidget(cmdSelection);
    zone->addWidget(cmdFermer);

    // The print copies the rows here; never shown.
    UneGrille = new QTableWidget(this);
    UneGrille->setObjectName(QStringLiteral("UneGrille"));
    UneGrille->setVisible(false);

    theStatusBar = new QStatusBar(this);
    theStatusBar->setObjectName(QStringLiteral("theStatusBar"));
    theStatusBar->setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(CoolBarCmd);
    layout->addWidget(LineFilter);
    layout->addWidget(ListViewInfo, 1);
    layout->addWidget(ZoneCommande);
    layout->addWidget(theStatusBar);

    connect(cmdSelection, &QPushButton::clicked, this, &ListView::cmdSelection_Click);
    connect(cmdFermer, &QPushButton::clicked, this, &ListView::cmdFermer_Click);
    connect(ListViewInfo, &QTreeView::doubleClicked, this, &ListView::ListViewInfo_DblClick);
    connect(ListViewInfo, &QTreeView::clicked, this,
        [this](const QModelIndex& index) { ListViewInfo_ItemClick(index.row()); });
    connect(ListViewInfo->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) {
            if (current.isValid() && SourceRow(current.row()) != currentRow_)
                ListViewInfo_ItemClick(current.row());
        });
    connect(ListViewInfo->header(), &QHeaderView::sectionClicked, this, &ListView::SortOnColumn);
    connect(LineFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->setFilterFixedString(text);
        Form_Activate();
    });
    connect(ListViewCommande, &KeyToolBar::ButtonClick, this, [this](const QString& key) { ListExport(key, *this); });
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { Form_Activate(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        currentRow_ = -1;
        Form_Activate();
    });
}

ListView::~ListView()
{
    // Secrets in clear go with the window.
    if (holdsSecrets)
        model_->ChangeTable([](ListTable& table) {
            for (ListRow& row : table.rows)
                for (QString& cell : row.cells)
                    CipherEngine::Wipe(cell);
        });
}

void ListView::SetTitle(const QString& title)
{
    TitleBand->setText(title);
}

QString ListView::Title() const
{
    return TitleBand->text();
}

void ListView::ShowCommandBand(bool shown)
{
    Bands[2]->setVisible(shown);
}

void ListView::AddColumn(const QString& header, int widthTwips, Qt::Alignment alignment)
{
    model_->AddColumn({ header, widthTwips, alignment });
    ListViewInfo->setColumnWidth(model_->columnCount() - 1, std::max(20, widthTwips / TwipsPerPixel));
}

void ListView::AddRow(const QStringList& cells, qint64 tag)
{
    model_->AddRow({ cells, tag });
}

void ListView::SetTable(ListTable table)
{
    model_->SetTable(std::move(table));
    for (int c = 0; c < model_->columnCount(); ++c)
        ListViewInfo->setColumnWidth(
            c, std::max(20, model_->Table().columns[std::size_t(c)].widthTwips / TwipsPerPixel));
}

const ListTable& ListView::Table() const
{
    return model_->Table();
}

void ListView::ChangeTable(const std::function<void(ListTable&)>& change)
{
    model_->ChangeTable(change);
}

int ListView::SourceRow(int viewRow) const
{
    const QModelIndex index = filter_->mapToSource(filter_->index(viewRow, 0));
    return index.isValid() ? index.row() : -1;
}

void ListView::ListViewInfo_ItemClick(int row)
{
    const int source = SourceRow(row);
    if (source < 0)
        return;
    currentRow_ = source;
    cmdSelection->setEnabled(true);
    const QModelIndex index = filter_->index(row, 0);
    if (ListViewInfo->currentIndex().row() != row)
        ListViewInfo->setCurrentIndex(index);
    ListViewInfo->scrollTo(index);
    Form_Activate();
}

void ListView::Form_Activate()
{
    const int shown = filter_->rowCount();
    const int all = model_->rowCount();
    CountBand->setText(
        shown == all ? QString::number(all) : QString::number(shown) + QStringLiteral(" / ") + QString::number(all));
}

void ListView::SortOnColumn(int column)
{
    if (!sortable_ || column < 0 || column >= model_->columnCount())
        return;
    if (column != sortColumn_) {
        sortColumn_ = column;
        sortOrder_ = Qt::DescendingOrder;
    }
    sortOrder_ = sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    model_->sort(column, sortOrder_);
    QApplication::restoreOverrideCursor();
    ListViewInfo->header()->setSortIndicatorShown(true);
    ListViewInfo->header()->setSortIndicator(column, sortOrder_);
    // The current row follows its content.
    const QModelIndex current = ListViewInfo->currentIndex();
    if (current.isValid())
        currentRow_ = SourceRow(current.row());
}

void ListView::ListViewInfo_DblClick()
{
    if (cmdSelection->isVisible())
        cmdSelection_Click();
}

void ListView::cmdSelection_Click()
{
    if (currentRow_ < 0)
        return;
    SetControlTag(cmdSelection, QString::number(currentRow_ + 1));
    SetControlTag(cmdFermer, QStringLiteral("1"));
    SaveColumnWidths();
    accept();
}

void ListView::cmdFermer_Click()
{
    reject();
}

void ListView::reject()
{
    // Escape and the close box choose nothing either.
    currentRow_ = -1;
    SetControlTag(cmdFermer, QStringLiteral("0"));
    SetControlTag(cmdSelection, QString());
    SaveColumnWidths();
    QDialog::reject();
}

bool ListView::Chosen() const
{
    return ControlTag(cmdFermer).toInt() == 1;
}

int ListView::ChosenIndex() const
{
    return Chosen() ? ControlTag(cmdSelection).toInt() : 0;
}

qint64 ListView::ChosenTag() const
{
    return Chosen() ? model_->TagAt(ChosenIndex() - 1) : 0;
}

void ListView::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    RestoreColumnWidths();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Activate();
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        CopyRows();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && !cmdSelection->isVisible())
        return; // a reading list has no choice to make
    QDialog::keyPressEvent(event);
}

bool ListView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == ListViewInfo && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        CopyRows();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ListView::CopyRows() const
{
    if (holdsSecrets)
        return;
    QStringList lines;
    const QModelIndexList rows = ListViewInfo->selectionModel()->selectedRows();
    std::vector<int> sources;
    for (const QModelIndex& index : rows)
        sources.push_back(filter_->mapToSource(index).row());
    std::sort(sources.begin(), sources.end());
    for (const int row : sources) {
        QStringList cells = model_->Table().rows[std::size_t(row)].cells;
        for (QString& cell : cells)
            cell.replace(QLatin1Char('\t'), QLatin1Char(' '));
        lines << cells.join(QLatin1Char('\t'));
    }
    if (!lines.isEmpty())
        QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void ListView::RestoreColumnWidths()
{
    if (model_->columnCount() == 0)
        return;
    const QStringList widths = GetPlainOption(WidthsSection, WidthsKey(model_->Table()), QString())
                                   .split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (widths.size() != model_->columnCount())
        return;
    for (int c = 0; c < widths.size(); ++c) {
        const int width = widths[c].toInt();
        if (width >= 20 && width <= 4000)
            ListViewInfo->setColumnWidth(c, width);
    }
}

void ListView::SaveColumnWidths() const
{
    if (model_->columnCount() == 0 || !PreferencesOpen())
        return;
    QStringList widths;
    for (int c = 0; c < model_->columnCount(); ++c)
        widths << QString::number(ListViewInfo->columnWidth(c));
    SetPlainOption(WidthsSection, WidthsKey(model_->Table()), widths.join(QLatin1Char(',')));
}

} // namespace keyholm
