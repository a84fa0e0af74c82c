#pragma once
// The message databases: a user file and a main file, each a UTF-8 ".mge"
// text of "number=text" lines (see the README for the format).

#include "components/Components.h"

#include <QHash>
#include <QString>
#include <QStringList>

namespace keyholm {

class MessageStore : public SingleInstance<MessageStore> {
public:
    // Answers that stand in place of a text.
    static inline const QString EmptyText = QStringLiteral("]#[EMPTY]#[");
    static inline const QString ErrorText = QStringLiteral("]#[ERROR]#[");

    // Prepares the store; the data folder and program file are kept for the
    // status texts. False when the store cannot be used.
    bool Initialize(const QString& dataFolder, const QString& programFile, const QString& traceFolder);
    bool Initialized() const { return initialized_; }

    // Opens a file for lookups. False when it cannot be read or holds no
    // message at all. Damaged lines are skipped; Problems() tells about them.
    bool OpenUser(const QString& path);
    bool OpenMain(const QString& path);

    // The text of the number, EmptyText when the file lacks it or is not open.
    QString UserText(int number) const;
    QString MainText(int number) const;

    // One line about each file (path, message count), for the trace log.
    QString UserStatus() const;
    QString MainStatus() const;

    void CloseUser(const QString& tag);
    void CloseMain(const QString& tag);
    // Closes both files and forgets the settings of Initialize.
    void Release();

    // What was wrong with the file opened last by OpenUser or OpenMain
    // (unreadable, not UTF-8, bad lines with their numbers); empty when sound.
    const QString& Problems() const { return problems_; }

    // Parses ".mge" text; the first bad lines are listed in `problems`, then
    // how many more there were.
    static QHash<int, QString> Parse(const QByteArray& data, QStringList* problems);

private:
    friend class SingleInstance<MessageStore>;
    MessageStore() = default;

    struct Database {
        QString path;
        QHash<int, QString> texts;
        bool open = false;
    };
    bool Open(Database& database, const QString& path);
    static QString Text(const Database& database, int number);
    static QString Status(const Database& database, const char* which);

    bool initialized_ = false;
    QString dataFolder_;
    QString programFile_;
    QString traceFolder_;
    Database user_;
    Database main_;
    QString problems_;
};

} // namespace keyholm
