#include "cli/Commands.h"
#include "components/ProcessGuard.h"
#include "components/Version.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    // Before any secret is read: no core file, no other process reading it.
    keyholm::ProcessGuard::Harden();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Keyholm"));
    QCoreApplication::setApplicationVersion(QLatin1String(keyholm::VersionNumber));
    // The reports of the shared code are said by the command itself.
    keyholm::SetErrorDisplay({ [] {}, [](const QString&, const QString&) {} });
    keyholm::PrepareFolders(QString(), QString());
    keyholm::OpenMessages(QString());
    const int status = keyholm::cli::Run(QCoreApplication::arguments());
    keyholm::CloseMessages();
    return status;
}
