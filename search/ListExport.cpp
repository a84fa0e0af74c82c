#include "search/ListExport.h"

#include "components/FileTools.h"
#include "components/ListTools.h"
#include "search/ListView.h"
#include "search/PrintPreview.h"
#include "services/ApplicationOptions.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/Preferences.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"

#include <QApplication>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
#include <QTreeView>

#include <exception>

namespace keyholm {

namespace {

struct Format {
    const char* key;
    const char* title;
    const char* extension;
    int filterMessage; // 0: the fixed PRN filter
    bool inPreferencesFolder;
};

constexpr Format Formats[] = {
    { "csv", "Export ASCII-CSV", ".csv", 492, false },
    { "html", "Export HTML", ".htm", 208, false },
    { "prn", "Export ASCII-PRN", ".prn", 0, false },
    { "txt", "Export ASCII-TXT", ".txt", 207, false },
    { "xml", "Export XML", ".xml", 209, true },
};

// The rows the user selected, in list order (the print's row filter).
ListTable SelectedRows(const ListView& list)
{
    ListTable selected = list.Table();
    selected.rows.clear();
    const auto* proxy = qobject_cast<const QSortFilterProxyModel*>(list.ListViewInfo->model());
    std::vector<int> rows;
    for (const QModelIndex& index : list.ListViewInfo->selectionModel()->selectedRows())
        rows.push_back(proxy ? proxy->mapToSource(index).row() : index.row());
    std::sort(rows.begin(), rows.end());
    for (const int row : rows)
        selected.rows.push_back(list.Table().rows[std::size_t(row)]);
    return selected;
}

// The busy pointer while the list is written, not while the user answers.
class BusyPointer {
public:
    BusyPointer() { On(); }
    ~BusyPointer() { Off(); }
    void On()
    {
        if (!on_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        on_ = true;
    }
    void Off()
    {
        if (on_)
            QApplication::restoreOverrideCursor();
        on_ = false;
    }

private:
    bool on_ = false;
};

} // namespace

HtmlListStyle OptionHtmlStyle()
{
    // What the options window shows is what the page gets, its defaults included.
    return HtmlStyleOf(WebStyleOption());
}

QString ListExport(const QString& key, ListView& list, bool rowFilter, bool openAfterwards)
{
    QString path;
    BusyPointer busy;
    try {
        ListTable table = list.Table();
        table.title = list.Title();
        if (table.rows.empty())
            return path;
        if (key == QLatin1String("print")) {
            busy.Off();
            ListViewPrintPreview(rowFilter ? SelectedRows(list) : table, table.title, list.UneGrille, true, 8.0,
                QStringLiteral("MS Serif"));
            return path;
        }
        const Format* format = nullptr;
        for (const Format& f : Formats) {
            if (key == QLatin1String(f.key))
                format = &f;
        }
        if (!format)
            return path;
        const FileTools& files = FileTools::Instance();
        const QString folder = format->inPreferencesFolder ? QFileInfo(PreferencesPath()).absolutePath() : DataFolder();
        const QString extension = QLatin1String(format->extension);
        const QString filter
            = format->filterMessage ? GetMessage(format->filterMessage) : QStringLiteral("PRN format (*.prn)|*.prn");
        busy.Off();
        const QString chosen = ChooseFileToSave(files.WithFolderSeparator(folder) + GetMessage(399) + extension,
            QLatin1String(format->title), filter, extension)
                                   .trimmed();
        if (chosen.isEmpty())
            return path;

        // Said before a list of passwords is written in clear.
        const QString clearText = list.holdsSecrets
            ? QStringLiteral("Attention : le fichier contiendra les mots de passe en clair, lisibles par qui "
                             "pourra le lire.<BR><BR>")
            : QString();
        std::function<bool(QIODevice&)> write;
        if (key == QLatin1String("csv") && list.exportHeader) {
            QString header;
            const Answer answer = AskQuestion(clearText
                + QStringLiteral("Souhaitez-vous ajouter l'entête à la destination de l'export de données ?"));
            // A cancel writes nothing, after all.
            if (answer == Answer::Cancel)
                return path;
            if (answer == Answer::Yes)
                header = DelimitedListWriter::CsvHeaderLine(table);
            write = [&table, header](QIODevice& file) { return DelimitedListWriter::Csv(header).Write(table, file); };
        } else if (!clearText.isEmpty()
            && AskQuestion(clearText + QStringLiteral("Souhaitez-vous continuer ?")) != Answer::Yes) {
            return path;
        } else if (key == QLatin1String("csv")) {
            write = [&table](QIODevice& file) { return DelimitedListWriter::Csv().Write(table, file); };
        } else if (key == QLatin1String("html")) {
            const HtmlListStyle style = list.useOptionStyle ? OptionHtmlStyle() : HtmlListStyle();
            write = [&table, style](QIODevice& file) { return HtmlListWriter(style).Write(table, file); };
        } else if (key == QLatin1String("prn")) {
            write = [&table](QIODevice& file) { return DelimitedListWriter::Prn().Write(table, file); };
        } else if (key == QLatin1String("txt")) {
            write = [&table](QIODevice& file) { return DelimitedListWriter::Txt().Write(table, file); };
        } else {
            write = [&table](QIODevice& file) { return XmlListWriter().Write(table, file); };
        }
        busy.On();
        const bool written = WriteListFile(chosen, write);
        busy.Off();
        if (!written) {
            ReportError(QStringLiteral("Error on List Export (") + key + QStringLiteral(")"), {}, true,
                ErrorRecord::Make(ErrorRecord::FileAccess, QStringLiteral("The file could not be written: ") + chosen));
            return path;
        }
        path = chosen;
        if (openAfterwards && files.FileExists(path))
            files.ShellOpen(path);
    } catch (const std::exception& error) {
        busy.Off();
        ReportError(QStringLiteral("Error on List Export (") + key + QStringLiteral(")"), {}, true,
            ErrorRecord::FromException(error));
    }
    return path;
}

} // namespace keyholm
