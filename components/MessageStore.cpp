#include "components/MessageStore.h"

#include <QFile>
#include <QStringDecoder>

namespace keyholm {
namespace {
constexpr int ProblemsListed = 5;
// A messages file is some kilobytes of text; a bigger file is not read, so
// that a stray file cannot hold up the start.
constexpr qint64 MaxFileSize = 4 * 1024 * 1024;
}

bool MessageStore::Initialize(const QString& dataFolder, const QString& programFile, const QString& traceFolder)
{
    dataFolder_ = dataFolder;
    programFile_ = programFile;
    traceFolder_ = traceFolder;
    initialized_ = true;
    return true;
}

QHash<int, QString> MessageStore::Parse(const QByteArray& data, QStringList* problems)
{
    QHash<int, QString> texts;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString whole = decoder.decode(data);
    if (decoder.hasError()) {
        if (problems)
            problems->append(QStringLiteral("the file is not UTF-8 text"));
        return {};
    }
    qsizetype unlisted = 0;
    const QStringList lines = whole.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (i == 0 && line.startsWith(QChar(0xFEFF)))
            line.remove(0, 1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const auto bad = [&](const QString& why) {
            if (problems && problems->size() < ProblemsListed)
                problems->append(QStringLiteral("line %1: %2").arg(i + 1).arg(why));
            else
                ++unlisted;
        };
        const qsizetype equal = line.indexOf(QLatin1Char('='));
        if (equal < 0) {
            bad(QStringLiteral("no \"=\" after the number"));
            continue;
        }
        bool isNumber = false;
        const int number = line.left(equal).trimmed().toInt(&isNumber);
        if (!isNumber || number < 0) {
            bad(QStringLiteral("\"%1\" is not a message number").arg(line.left(equal).trimmed()));
            continue;
        }
        if (texts.contains(number)) {
            bad(QStringLiteral("number %1 given twice").arg(number));
            continue;
        }
        QString text = line.mid(equal + 1).trimmed();
        // Quotes keep blanks at either end of a text.
        if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
            text = text.mid(1, text.size() - 2);
        if (!text.isEmpty()) // an empty text is left to the next source
            texts.insert(number, text);
    }
    if (problems && unlisted > 0)
        problems->append(QStringLiteral("%1 more").arg(unlisted));
    return texts;
}

bool MessageStore::Open(Database& database, const QString& path)
{
    database = Database{};
    problems_.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (file.exists())
            problems_ = path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    if (file.size() > MaxFileSize) {
        problems_ = path + QStringLiteral(": the file is too large for a messages file");
        return false;
    }
    QStringList problems;
    database.texts = Parse(file.read(MaxFileSize), &problems);
    if (!problems.isEmpty())
        problems_ = path + QStringLiteral(": ") + problems.join(QStringLiteral("; "));
    if (database.texts.isEmpty())
        return false;
    database.path = path;
    database.open = true;
    return true;
}

bool MessageStore::OpenUser(const QString& path)
{
    return Open(user_, path);
}

bool MessageStore::OpenMain(const QString& path)
{
    return Open(main_, path);
}

QString MessageStore::Text(const Database& database, int number)
{
    if (!database.open)
        return EmptyText;
    const auto found = database.texts.constFind(number);
    return found == database.texts.constEnd() ? EmptyText : *found;
}

QString MessageStore::UserText(int number) const
{
    return Text(user_, number);
}

QString MessageStore::MainText(int number) const
{
    return Text(main_, number);
}

QString MessageStore::Status(const Database& database, const char* which)
{
    if (!database.open)
        return QString::fromLatin1(which) + QStringLiteral(": not open");
    return QStringLiteral("%1: %2 (%3 messages)").arg(QString::fromLatin1(which), database.path).arg(database.texts.size());
}

QString MessageStore::UserStatus() const
{
    return Status(user_, "User");
}

QString MessageStore::MainStatus() const
{
    return Status(main_, "Main");
}

void MessageStore::CloseUser(const QString&)
{
    user_ = Database{};
}

void MessageStore::CloseMain(const QString&)
{
    main_ = Database{};
}

void MessageStore::Release()
{
    user_ = Database{};
    main_ = Database{};
    problems_.clear();
    dataFolder_.clear();
    programFile_.clear();
    traceFolder_.clear();
    initialized_ = false;
}

} // namespace keyholm
