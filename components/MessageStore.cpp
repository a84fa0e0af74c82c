#include "components/MessageStore.h"

namespace keyholm {
bool MessageStore::Initialize(const QString&, const QString&, const QString&) { return initialized_ = true; }
bool MessageStore::OpenUser(const QString&) { return false; }
bool MessageStore::OpenMain(const QString&) { return false; }
QString MessageStore::UserText(int) const { return EmptyText; }
QString MessageStore::MainText(int) const { return EmptyText; }
QString MessageStore::UserStatus() const { return {}; }
QString MessageStore::MainStatus() const { return {}; }
void MessageStore::CloseUser(const QString&) {}
void MessageStore::CloseMain(const QString&) {}
QHash<int, QString> MessageStore::Parse(const QByteArray&, QStringList*) { return {}; }
bool MessageStore::Open(Database&, const QString&) { return false; }
QString MessageStore::Text(const Database&, int) { return EmptyText; }
QString MessageStore::Status(const Database&, const char*) { return {}; }
} // namespace keyholm
