#include "services/MessagesDatabase.h"

#include "components/FileTools.h"
#include "components/MessageStore.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"

#include <QCoreApplication>

namespace keyholm {
namespace {

struct MessagesState {
    bool userOpen = false;
    bool mainOpen = false;
    QString userPath;
    QString mainPath;
};

MessagesState& State()
{
    static MessagesState state;
    return state;
}

bool StoreReady()
{
    return MessageStore::Exists() && MessageStore::Instance().Initialized();
}

bool IsSentinel(const QString& text)
{
    return text == MessageStore::EmptyText || text == MessageStore::ErrorText;
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

// A damaged file has been opened with its sound lines, or refused: either
// way the user hears of it once, here, and the lookups go on to the next source.
void ReportProblems()
{
    const QString problems = MessageStore::Instance().Problems();
    if (!problems.isEmpty())
        ReportError(QStringLiteral("Damaged messages file: ") + problems, {}, true);
}

} // namespace

QString UserMessageText(int number)
{
    QString text = MessageStore::EmptyText;
    try {
        if (StoreReady() && State().userOpen) {
            text = MessageStore::Instance().UserText(number);
            if (text == MessageStore::ErrorText)
                ReportError(QStringLiteral("Unable to get the User Message Id: ") + QString::number(number), {}, false);
        }
    } catch (...) {
    }
    return text;
}

QString MainMessageText(int number)
{
    QString text = MessageStore::ErrorText;
    try {
        if (StoreReady()) {
            text = MessageStore::Instance().MainText(number);
            if (text == MessageStore::ErrorText)
                ReportError(QStringLiteral("Unable to get the Main Message Id: ") + QString::number(number), {}, false);
        }
    } catch (...) {
    }
    return text;
}

QString GetMessage(int number, bool showNumber)
{
    const QString numberText = QString::number(number);
    const QString notFound = QStringLiteral("Message #") + numberText;
    QString text;
    try {
        bool found = false;
        if (State().userOpen) {
            text = UserMessageText(number);
            if (IsSentinel(text))
                TraceLog(QStringLiteral("Try to get Id message from User database: ") + numberText, text);
            else
                found = true;
        }
        if (!found) {
            text = MainMessageText(number);
            if (IsSentinel(text)) {
                TraceLog(QStringLiteral("Unable to get Id message from Main database: ") + numberText, text);
                text = BuiltInMessageText(number).value_or(notFound);
            }
        }
        if (text == MessageStore::ErrorText)
            text.clear();
        if (showNumber)
            text = numberText + QStringLiteral("> ") + text;
    } catch (...) {
    }
    if (text == notFound)
        ReportError(QStringLiteral("Unable to get the Message Id from all databases: ") + numberText + QLatin1Char('\t')
                        + text,
                    {}, false);
    return WithLineBreaks(text);
}

bool OpenMessages(const QString& userFile, const QString& dataFolder, const QString& programFolder)
{
    MessagesState& state = State();
    state.userOpen = false;
    state.mainOpen = false;
    bool result = false;
    try {
        const FileTools& files = FileTools::Instance();
        const QString data = files.WithFolderSeparator(dataFolder.isEmpty() ? files.DataFolder() : dataFolder);
        const QString program = files.WithFolderSeparator(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                                                  : programFolder);
        TraceLog(QStringLiteral("Open the Messages Database: False"), userFile.trimmed());

        MessageStore& store = MessageStore::Instance();
        if (!store.Initialize(data, QCoreApplication::applicationFilePath(),
                              TraceLogEnabled() ? TraceLogFolder() : QString())) {
            ReportError(QStringLiteral("Unable to initialize the Messages Database"), userFile.trimmed(), true);
            store.Release();
            return false;
        }

        const QString userPath = files.FileExists(userFile) ? userFile : data + QStringLiteral("Messages.mge");
        TraceLog(QStringLiteral("Open user messages database"), userPath);
        const bool userOpened = store.OpenUser(userPath);
        ReportProblems();
        if (userOpened) {
            TraceLog(QStringLiteral("User messages file is opened"), userPath);
            state.userPath = userPath;
            state.userOpen = true;
            result = true;
        } else {
            CloseUserMessages(QStringLiteral("from default Open 1"));
        }

        const QString mainPath = program + QStringLiteral("Messages.mge");
        TraceLog(QStringLiteral("Open default messages database"), mainPath);
        const bool mainOpened = store.OpenMain(mainPath);
        ReportProblems();
        if (mainOpened) {
            TraceLog(QStringLiteral("Default messages file is opened"), mainPath);
            state.mainPath = mainPath;
            state.mainOpen = true;
            result = true;
        } else {
            CloseMainMessages(QStringLiteral("from default Open 2"));
        }

        TraceLog(QStringLiteral("Messages Database is opened"),
                 QStringLiteral("User: ") + BoolText(state.userOpen) + QStringLiteral(" - Main: ") + BoolText(state.mainOpen));
    } catch (...) {
        ReportError(QStringLiteral("Error on opening the Messages Database"), userFile.trimmed(), true);
    }
    return result;
}

bool CloseUserMessages(const QString& tag)
{
    MessagesState& state = State();
    bool ok = true;
    try {
        TraceLog(QStringLiteral("#1] Ask to close Messages access: User"), tag);
        if (!StoreReady()) {
            TraceLog(QStringLiteral("User messages database is already closed"), tag);
        } else {
            TraceLog(QStringLiteral("#1] Messages access is closed: User"), MessageStore::Instance().UserStatus());
            MessageStore::Instance().CloseUser(tag);
        }
    } catch (...) {
        ok = false;
    }
    state.userPath.clear();
    state.userOpen = false;
    return ok;
}

bool CloseMainMessages(const QString& tag)
{
    MessagesState& state = State();
    bool ok = true;
    try {
        TraceLog(QStringLiteral("#2] Ask to close the Messages access: Main"), tag);
        if (!StoreReady()) {
            TraceLog(QStringLiteral("Main messages database is already closed"), tag);
        } else {
            TraceLog(QStringLiteral("Close the #2 Messages access: Main"), MessageStore::Instance().MainStatus());
            MessageStore::Instance().CloseMain(tag);
        }
    } catch (...) {
        ok = false;
    }
    state.mainPath.clear();
    state.mainOpen = false;
    return ok;
}

void CloseMessages()
{
    CloseUserMessages(QString());
    CloseMainMessages(QString());
    if (MessageStore::Exists())
        MessageStore::Instance().Release();
}

bool UserMessagesOpen()
{
    return State().userOpen;
}

bool MainMessagesOpen()
{
    return State().mainOpen;
}

QString UserMessagesPath()
{
    return State().userPath;
}

QString MainMessagesPath()
{
    return State().mainPath;
}

} // namespace keyholm
