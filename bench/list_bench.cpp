// The result list: filling and showing 100,000 rows (the trace log's three
// columns) in the list window, sorting them on a column, and writing 10,000
// rows of ten cells in each file format.

#include "BenchHome.h"
#include "BenchSupport.h"

#include "components/ListTools.h"
#include "search/ListView.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QBuffer>
#include <QTreeView>

using namespace keyholm;
using keyholm::bench::BestMs;
using keyholm::bench::Report;

namespace {

// Rows like those of a category export: titles, logins, passwords, web
// addresses, notes (some with a ";", a quote or a line break) and dates.
ListTable ExportLikeList(int rows)
{
    ListTable list;
    list.title = QStringLiteral("Export de la catégorie Banques");
    for (const char* header : { "Catégorie", "Titre", "Identifiant", "Mot de passe", "Adresse", "Note", "Création",
             "Modification", "Expiration", "Information #1" })
        list.columns.push_back({ QString::fromUtf8(header), 2000, Qt::AlignLeft });
    list.rows.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        const QString n = QString::number(i);
        const QString note = i % 7 == 0 ? QStringLiteral("Code client; voir le \"contrat\"\r\nAgence ") + n
                                        : QStringLiteral("Compte joint, carte n° ") + n;
        list.rows.push_back({ { QStringLiteral("Banques"), QStringLiteral("Crédit Mutuel ") + n,
                                  QStringLiteral("jean.dupont") + n + QStringLiteral("@example.org"),
                                  QStringLiteral("kX7-pQ2_") + n + QStringLiteral("!vR9.mZ"),
                                  QStringLiteral("https://www.example.org/banque/") + n + QStringLiteral("?lang=fr"),
                                  note, QStringLiteral("12/03/2024 08:15:42"), QStringLiteral("05/11/2025 19:02:07"),
                                  QStringLiteral("31/12/2026"), QStringLiteral("Référence ") + n },
            i });
    }
    return list;
}

template <class Writer> double WriteMs(const Writer& writer, const ListTable& list, bool& ok)
{
    return BestMs(5, [&] {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        ok = writer.Write(list, buffer) && ok;
    });
}

bool BenchWriters()
{
    const ListTable list = ExportLikeList(10'000);
    bool ok = true;
    Report("list.write_csv.10000", WriteMs(DelimitedListWriter::Csv(), list, ok), "ms");
    Report("list.write_html.10000", WriteMs(HtmlListWriter(), list, ok), "ms");
    Report("list.write_xml.10000", WriteMs(XmlListWriter(), list, ok), "ms");
    return ok;
}

// Trace log lines: a time, a label and a detail.
ListTable LogLikeList(int rows)
{
    ListTable list;
    list.columns
        = { { QStringLiteral("Heure"), 900, Qt::AlignLeft }, { QStringLiteral("Information #1"), 4500, Qt::AlignLeft },
              { QStringLiteral("Information #2"), 4500, Qt::AlignLeft } };
    list.rows.reserve(std::size_t(rows));
    for (int i = 0; i < rows; ++i) {
        const int second = (i * 7919) % 86400;
        const QString time = QStringLiteral("%1:%2:%3")
                                 .arg(second / 3600, 2, 10, QLatin1Char('0'))
                                 .arg(second / 60 % 60, 2, 10, QLatin1Char('0'))
                                 .arg(second % 60, 2, 10, QLatin1Char('0'));
        list.rows.push_back({ { time, QStringLiteral("Node click %1").arg(i % 97),
                                  QStringLiteral("/home/utilisateur/Documents/Keyholm/Perso.khm]|[%1").arg(i) },
            i });
    }
    return list;
}

bool BenchListWindow()
{
    constexpr int Rows = 100000;
    const ListTable table = LogLikeList(Rows);
    double fill = 1e300;
    double sort = 1e300;
    for (int run = 0; run < 3; ++run) {
        ListView list;
        fill = std::min(fill, BestMs(1, [&] {
            list.SetTable(table);
            list.show();
            list.ListViewInfo_ItemClick(Rows - 1);
            QCoreApplication::processEvents();
        }));
        if (list.ListViewInfo->model()->rowCount() != Rows)
            return false;
        sort = std::min(sort, BestMs(1, [&] {
            list.SortOnColumn(0);
            QCoreApplication::processEvents();
        }));
        list.hide();
    }
    Report("list.fill.100000", fill, "ms");
    Report("list.sort.100000", sort, "ms");
    return true;
}

} // namespace

// Each part reports its own figures; a part that fails makes the run fail.
int main(int argc, char** argv)
{
    const keyholm::bench::BenchHome home;
    if (!home.IsValid())
        return 2;
    QApplication app(argc, argv);

    bool ok = BenchListWindow();
    ok = BenchWriters() && ok;
    return ok ? 0 : 1;
}
