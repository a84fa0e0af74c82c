#pragma once
// The entries the benchmark databases are made of: every field filled and a
// three-line note, twelve nodes an entry once written.

#include "components/EntryRecord.h"

#include <QDate>
#include <QString>

namespace keyholm::bench {

// The entry numbered `number`.
inline EntryRecord BenchEntry(int number)
{
    const QString n = QString::number(number);
    EntryRecord entry;
    entry.title = QStringLiteral("Compte ") + n + QStringLiteral(" en ligne");
    entry.login = QStringLiteral("utilisateur") + n + QStringLiteral("@exemple.fr");
    entry.password = QStringLiteral("Mot-de-passe_") + n + QStringLiteral("!");
    entry.expiry = QDate(2024, 3, 5);
    entry.custom = QStringLiteral("Client ") + n;
    entry.web = QStringLiteral("https://www.site") + n + QStringLiteral(".example/login");
    entry.file = QStringLiteral("/home/utilisateur/Documents/contrat") + n + QStringLiteral(".pdf");
    entry.note = QStringLiteral("Question secrète : ville natale\nCode client ") + n
        + QStringLiteral(" à rappeler\nChangé le 6 mars");
    entry.created = QStringLiteral("2024-03-05T10:11:12");
    entry.changed = QStringLiteral("2024-03-06T10:11:12");
    return entry;
}

} // namespace keyholm::bench
