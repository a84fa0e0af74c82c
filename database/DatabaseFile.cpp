#include "database/DatabaseFile.h"

#include "services/ApplicationOptions.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"
#include "services/ui/Messages.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <QTreeView>

#include <exception>

namespace keyholm {

bool DatabaseFile::PasswordIsChanged()
{
    try {
        if (!state_.DatabaseChanged())
            return true;
        const Answer answer
            = AskQuestion(QStringLiteral("Des informations modifiées n'ont pas été enregistrées.\r\n"
                                         "Souhaitez-vous effectuer un enregistrement avant la fermeture ?"),
                QStringLiteral("Fermeture du fichier courant"));
        switch (answer) {
        case Answer::Yes:
            SavePasswordFileUnder(false);
            return true;
        case Answer::No:
            procedures_.EnabledDisableBackup(false);
            return true;
        case Answer::Cancel:
            return false;
        }
        return true;
    } catch (const std::exception&) {
        return true;
    }
}

void DatabaseFile::ClosePasswordFile()
{
    try {
        TraceLog(QStringLiteral("Close current password database"), ui_.Window->windowTitle());
        procedures_.EnabledDisableBackup(false);
        state_.ResetIdleTicks();
        ui_.TimerDatabaseClose->stop();
        state_.SetCurrentNode(nullptr);
        state_.SetTag(QString());
        ui_.tvTreeView->setVisible(false);
        ui_.PictureLogo->setVisible(LogoOption());
        QGuiApplication::clipboard()->clear();
        Tree().Clear();
        procedures_.SetPasswordFields();
        procedures_.EnableFromSelectedNode();
        procedures_.UnvisiblePasswordTab(2);
        ForgetTraceLogSecrets();
    } catch (const std::exception& error) {
        ReportError(QStringLiteral("Error on closing password database"), {}, true, ErrorRecord::FromException(error));
    }
}

bool DatabaseFile::OpenPasswordFile(const QString& path)
{
    // Decoding and loading a database file arrive with the file format.
    TraceLog(QStringLiteral("Open the Password file"), path);
    return false;
}

bool DatabaseFile::SavePasswordFileUnder(bool askName)
{
    // Coding and writing a database file arrive with the file format.
    TraceLog(QStringLiteral("Saving Password database"), askName ? QStringLiteral("True") : QStringLiteral("False"));
    return false;
}

} // namespace keyholm
