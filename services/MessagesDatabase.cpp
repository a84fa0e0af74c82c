#include "services/MessagesDatabase.h"

namespace keyholm {
QString GetMessage(int number, bool) { return QStringLiteral("Message #%1").arg(number); }
bool OpenMessages(const QString&, const QString&, const QString&) { return false; }
bool CloseUserMessages(const QString&) { return true; }
bool CloseMainMessages(const QString&) { return true; }
void CloseMessages() {}
QString UserMessageText(int) { return QStringLiteral("]#[EMPTY]#["); }
QString MainMessageText(int) { return QStringLiteral("]#[ERROR]#["); }
bool UserMessagesOpen() { return false; }
bool MainMessagesOpen() { return false; }
QString UserMessagesPath() { return {}; }
QString MainMessagesPath() { return {}; }
std::optional<QString> BuiltInMessageText(int) { return std::nullopt; }
} // namespace keyholm
