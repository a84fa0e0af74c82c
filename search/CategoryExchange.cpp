#include "search/CategoryExchange.h"

#include "components/FileTools.h"
#include "components/ListTools.h"
#include "search/ListView.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"
#include "services/TraceLog.h"
#include "services/ui/Dialogs.h"
#include "services/ui/Messages.h"

#include <QMainWindow>
#include <QPushButton>

#include <exception>

namespace keyholm {

namespace {

const QString NoPassword = QStringLiteral("Aucun mot de passe reconnu ou format du fichier incorrect.");

// "1 mot de passe importé", "2 mots de passe importés".
QString Counted(int count, const QString& one, const QString& many)
{
    return QString::number(count) + QLatin1Char(' ') + (count > 1 ? many : one);
}

QString Summary(const ImportOutcome& outcome, const ExchangeRows& rows, const QString& format, int unclosedQuoteLine,
    const QString& target)
{
    QString text
        = Counted(outcome.added, QStringLiteral("mot de passe importé"), QStringLiteral("mots de passe importés"))
        + QStringLiteral(" dans « ") + target.trimmed() + QStringLiteral(" »");
    if (!format.isEmpty())
        text += QStringLiteral(", depuis l'export de ") + format;
    text += QLatin1Char('.');
    if (outcome.renamed > 0)
        text += QStringLiteral("<BR>")
            + Counted(outcome.renamed, QStringLiteral("titre déjà présent a été numéroté"),
                QStringLiteral("titres déjà présents ont été numérotés"))
            + QStringLiteral(" (« (2) », « (3) »…).");
    const int skipped = rows.tooLong + rows.empty + rows.unsupported;
    if (skipped > 0) {
        text += QStringLiteral("<BR>")
            + Counted(skipped, QStringLiteral("ligne ignorée :"), QStringLiteral("lignes ignorées :"));
        const struct {
            int count;
            const char* one;
            const char* many;
        } reasons[] = {
            { rows.empty, "sans titre, identifiant, mot de passe, adresse ni note",
                "sans titre, identifiant, mot de passe, adresse ni note" },
            { rows.unsupported, "d'un type autre qu'identifiant ou note (carte, identité)",
                "d'un type autre qu'identifiant ou note (carte, identité)" },
            { rows.tooLong, "trop longue (plus d'un million de caractères)",
                "trop longues (plus d'un million de caractères)" },
        };
        for (const auto& reason : reasons)
            if (reason.count > 0)
                text += QStringLiteral("<BR>- ")
                    + Counted(reason.count, QString::fromUtf8(reason.one), QString::fromUtf8(reason.many));
    }
    if (rows.codesLeftOut > 0)
        text += QStringLiteral("<BR>")
            + Counted(rows.codesLeftOut, QStringLiteral("code à deux facteurs (TOTP) n'a pas été importé."),
                QStringLiteral("codes à deux facteurs (TOTP) n'ont pas été importés."));
    if (unclosedQuoteLine > 0)
        text += QStringLiteral("<BR>Un guillemet ouvert à la ligne ") + QString::number(unclosedQuoteLine)
            + QStringLiteral(" n'est jamais fermé : il a été lu comme un caractère ordinaire.");
    return text;
}

} // namespace

void CategoryExchange::ExportPasswordCategory(TreeNode* mainNode)
{
    if (!procedures_.OfferToSaveChanges() || !mainNode)
        return;
    ListTable table;
    try {
        ListView list(ui_.Window);
        list.useOptionStyle = true;
        list.setWindowTitle(QStringLiteral("Export des mots de passe"));
        list.SetTitle(QStringLiteral("Liste des mots de passe - ") + mainNode->Text());
        list.SetSortable(false);
        list.cmdSelection->setVisible(false);
        list.exportHeader = true;
        list.holdsSecrets = true;
        ExportImportTableCreation(table);
        bool walked = false;
        try {
            ShowBusy();
            walked = AddPasswordCategoryToList(table, Tree(), mainNode);
            EndBusy();
        } catch (const std::exception& error) {
            EndBusy();
            ReportException(QStringLiteral("Error on adding Category's Password to list"), error);
        }
        if (!walked) {
            WipeTable(table.rows);
            return;
        }
        if (table.rows.empty()) {
            ShowInfo(QStringLiteral("Aucun mot de passe n'a pu être collecté. Exportation non possible."));
            return;
        }
        FinishList(table);
        list.SetTable(std::move(table));
        list.exec();
    } catch (const std::exception& error) {
        ReportException(QStringLiteral("Error on exporting Password of selected Category"), error);
    }
    WipeTable(table.rows);
}

void CategoryExchange::ImportPasswordCategory(TreeNode* mainNode)
{
    if (!procedures_.OfferToSaveChanges() || !mainNode)
        return;
    const QString path = ChooseFileToOpen(
        FileTools::Instance().WithFolderSeparator(DataFolder()) + GetMessage(399) + QStringLiteral(".csv"),
        QStringLiteral("Import ASCII-CSV"), GetMessage(492), QStringLiteral(".csv"))
                             .trimmed();
    if (path.isEmpty())
        return;
    try {
        ListView list(ui_.Window);
        list.setWindowTitle(QStringLiteral("Importer des mots de passe dans : ") + mainNode->Text());
        list.ShowCommandBand(false);
        list.SetTitle(path);
        list.SetSortable(false);
        list.cmdSelection->setText(QStringLiteral("Importer"));
        list.holdsSecrets = true;

        ShowBusy();
        ExchangeFile file = ReadExchangeFile(path);
        EndBusy();
        switch (file.status) {
        case ExchangeFile::Status::Read:
            break;
        case ExchangeFile::Status::Unreadable:
            ShowInfo(QStringLiteral("Le fichier ne peut pas être lu :<BR>") + path);
            return;
        case ExchangeFile::Status::TooLarge:
            ShowInfo(QStringLiteral("Ce fichier est trop volumineux pour une liste de mots de passe (64 Mo au plus)."));
            return;
        case ExchangeFile::Status::NotATable:
            ShowInfo(NoPassword);
            return;
        }
        const bool header
            = file.format.isEmpty() && AskQuestion(QStringLiteral("Le fichier contient-il un entête ?")) == Answer::Yes;
        ExchangeRows rows = ToExchangeRows(file, header);
        if (rows.rows.empty()) {
            ShowInfo(NoPassword);
            return;
        }
        ListTable table;
        ExportImportTableCreation(table);
        table.rows = std::move(rows.rows);
        FinishList(table);
        list.SetTable(std::move(table));
        list.ListViewInfo_ItemClick(0);
        list.exec();
        if (!list.Chosen())
            return;

        ShowBusy();
        const ImportOutcome outcome = AddRows(mainNode, list.Table().rows, rows.categoryPath);
        EndBusy();
        TraceLog(QStringLiteral("Passwords imported"), QString::number(outcome.added));
        if (outcome.last) {
            if (state_.Options().clearFieldsAfterAdd) {
                procedures_.SetPasswordFields();
                state_.RequestSelection(outcome.last->Parent());
            } else {
                state_.RequestSelection(outcome.last);
            }
        }
        if (state_.Options().autoSave && outcome.added > 0)
            procedures_.MenuBaseSave_Click();
        ShowInfo(Summary(outcome, rows, file.format, file.text.unclosedQuoteLine, mainNode->Text()));
    } catch (const std::exception& error) {
        EndBusy();
        ReportException(QStringLiteral("Error on importing Password list"), error);
    }
}

ImportOutcome CategoryExchange::AddRows(TreeNode* target, const std::vector<ListRow>& rows, QChar categoryPath)
{
    ImportOutcome outcome;
    // The categories that hold entries now show the key, also after a failure.
    auto showKeys = [&] {
        for (TreeNode* entry : outcome.lastInCategory)
            procedures_.CheckNodeInfo(entry);
        if (outcome.added > 0)
            state_.SetDatabaseChanged(true);
    };
    try {
        ImportRows(Tree(), target, rows, categoryPath, outcome);
    } catch (...) {
        showKeys();
        throw;
    }
    showKeys();
    return outcome;
}

} // namespace keyholm
