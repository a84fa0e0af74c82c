// The result list: writing 10,000 rows of ten cells in each file format.

#include "BenchHome.h"
#include "BenchSupport.h"

#include "components/ListTools.h"

#include <QApplication>
#include <QBuffer>

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

} // namespace

// Each part reports its own figures; a part that fails makes the run fail.
int main(int argc, char** argv)
{
    const keyholm::bench::BenchHome home;
    if (!home.IsValid())
        return 2;
    QApplication app(argc, argv);

    bool ok = BenchWriters();
    return ok ? 0 : 1;
}
