#include "search/TraceLogViewer.h"

#include "search/ListView.h"
#include "services/Environment.h"
#include "services/TraceLog.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

namespace keyholm {

namespace {

ListRow RowOf(const TraceRecord& record)
{
    return { { record.time, record.label, record.detail }, 0 };
}

} // namespace

void ShowTraceLog(const QString& path, QWidget* parent)
{
    TraceLog(QStringLiteral("Display LOG file list"), path.trimmed());
    const std::optional<QList<TraceRecord>> records = ReadTraceLog(path);
    if (!records)
        return; // reported by the reader
    ListView list(parent);
    list.SetTitle(QStringLiteral("Liste des traces d'exécution du logiciel ") + ApplicationTitle());
    list.cmdSelection->setVisible(false);
    ListTable table;
    table.title = list.Title();
    table.columns
        = { { QStringLiteral("Heure"), 900, Qt::AlignLeft }, { QStringLiteral("Information #1"), 4500, Qt::AlignLeft },
              { QStringLiteral("Information #2"), 4500, Qt::AlignLeft } };
    table.rows.reserve(std::size_t(records->size()));
    for (const TraceRecord& record : *records)
        table.rows.push_back(RowOf(record));
    const int shown = int(table.rows.size());
    list.SetTable(std::move(table));
    if (shown > 0)
        list.ListViewInfo_ItemClick(shown - 1);

    // New lines of the current log join the list while it is open.
    QTimer follow;
    qsizetype known = records->size();
    qint64 size = -1;
    const bool current = path.trimmed().isEmpty() || !QFileInfo(path.trimmed()).isFile();
    QObject::connect(&follow, &QTimer::timeout, &list, [&] {
        if (!TraceLogEnabled())
            return;
        FlushTraceLog();
        const QFileInfo file(TraceLogPath());
        if (file.size() == size)
            return;
        size = file.size();
        const std::optional<QList<TraceRecord>> now = ReadTraceRecords(TraceLogPath());
        if (!now || now->size() <= known)
            return;
        QTreeView* view = list.ListViewInfo;
        const bool atEnd = view->currentIndex().row() == view->model()->rowCount() - 1;
        for (qsizetype i = known; i < now->size(); ++i)
            list.AddRow({ (*now)[i].time, (*now)[i].label, (*now)[i].detail }, 0);
        known = now->size();
        if (atEnd)
            list.ListViewInfo_ItemClick(view->model()->rowCount() - 1);
    });
    if (current)
        follow.start(1000);
    list.exec();
    follow.stop();
    TraceLog(QStringLiteral("End of LOG file list display"), path);
}

} // namespace keyholm
