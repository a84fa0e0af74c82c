#include "services/TraceLog.h"

#include "components/FileTools.h"
#include "components/SystemInfo.h"
#include "components/TextTools.h"
#include "components/Version.h"
#include "services/ErrorReport.h"
#include "services/MessagesDatabase.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTime>
#include <QTimer>

#include <sodium.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <ctime>
#include <memory>
#include <mutex>
#include <vector>

namespace keyholm {
namespace {

constexpr qint64 FlushEveryMs = 1000;
constexpr qsizetype FlushAtBytes = 64 * 1024;

QString ApplicationTitle()
{
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Keyholm") : name;
}

QString TodayText()
{
    return SystemInfo::Instance().Locale().toString(QDate::currentDate(), SystemInfo::Instance().ShortDateFormat());
}

bool IsBlank(const QString& text)
{
    for (const QChar c : text) {
        if (!c.isSpace())
            return false;
    }
    return true;
}

// Read by every TraceLog call before anything else.
constinit std::atomic<bool> logEnabled{false};

// Appends one field as UTF-8, cleaned on the way so that a line costs no
// temporary texts: quotation marks go; in a label CR LF becomes " - ", in a
// detail TAB and the tag separator "]|[" do.
void AppendField(QByteArray& out, QStringView text, bool isLabel)
{
    // No character takes more than three bytes, " - " included.
    const qsizetype size = text.size();
    const qsizetype start = out.size();
    out.resize(start + 3 * size);
    char* p = out.data() + start;
    const char16_t* in = text.utf16();
    const auto dash = [&p] {
        *p++ = ' ';
        *p++ = '-';
        *p++ = ' ';
    };
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i];
        if (c < 0x80) {
            if (c == u'"')
                continue;
            if (isLabel) {
                if (c == u'\r' && i + 1 < size && in[i + 1] == u'\n') {
                    dash();
                    ++i;
                    continue;
                }
            } else if (c == u'\t') {
                dash();
                continue;
            } else if (c == u']' && i + 2 < size && in[i + 1] == u'|' && in[i + 2] == u'[') {
                dash();
                i += 2;
                continue;
            }
            *p++ = static_cast<char>(c);
            continue;
        }
        char32_t code = c;
        if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(in[i + 1]))
            code = QChar::surrogateToUcs4(c, in[++i]);
        else if (QChar::isSurrogate(c))
            code = 0xFFFD;
        if (code < 0x800) {
            *p++ = static_cast<char>(0xC0 | (code >> 6));
            *p++ = static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            *p++ = static_cast<char>(0xE0 | (code >> 12));
            *p++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (code & 0x3F));
        } else {
            *p++ = static_cast<char>(0xF0 | (code >> 18));
            *p++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            *p++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            *p++ = static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    out.truncate(p - out.data());
}

// A copy of a secret for the masking, of its own (never shared with the
// caller's text, so that the caller's wipe is a real one), in guarded memory
// that is wiped when it goes.
class KeptSecret {
public:
    explicit KeptSecret(QStringView text)
        : size_(text.size())
        , units_(sodium_init() >= 0 ? static_cast<QChar*>(sodium_malloc(size_t(size_) * sizeof(QChar))) : nullptr)
    {
        if (units_)
            std::memcpy(units_, text.data(), size_t(size_) * sizeof(QChar));
    }
    ~KeptSecret()
    {
        if (units_)
            sodium_free(units_); // wipes first
    }
    KeptSecret(const KeptSecret&) = delete;
    KeptSecret& operator=(const KeptSecret&) = delete;
    bool IsValid() const { return units_ != nullptr; }
    QStringView View() const { return QStringView(units_, size_); }

private:
    qsizetype size_;
    QChar* units_;
};

// Everything the log keeps for the whole process. Lines may come from any
// thread; the timer that flushes them lives on the application's thread.
class LogState {
public:
    ~LogState()
    {
        // A program that ends without StopTraceLog still keeps its last lines,
        // and a line traced after this (by another static's destructor) is dropped.
        logEnabled = false;
        std::lock_guard lock(mutex_);
        FlushLocked();
    }

    std::atomic<bool>& enabled = logEnabled;
    std::mutex mutex_;
    QFile file_;
    QString folder_;
    QString fileName_;
    QString lastLabel_;
    std::vector<std::unique_ptr<KeptSecret>> secrets_; // the longest first
    QByteArray buffer_;
    QElapsedTimer sinceFlush_;
    bool flushArmed_ = false;
    qint64 cachedSecond_ = -1;
    QByteArray cachedTime_;

    bool IsOpen() const { return file_.isOpen(); }

    void FlushLocked()
    {
        if (!buffer_.isEmpty() && file_.isOpen()) {
            file_.write(buffer_); // a failed write loses the lines, nothing else
            file_.flush();
        }
        buffer_.resize(0); // keeps the room for the next lines
        sinceFlush_.restart();
    }

    QByteArray TimeField()
    {
        // Formatting the time is the dearest part of a line: once a second is enough.
        const qint64 second = static_cast<qint64>(std::time(nullptr));
        if (second != cachedSecond_) {
            cachedSecond_ = second;
            cachedTime_ = QTime::currentTime().toString(QStringLiteral("hh:mm:ss")).toLatin1();
        }
        return cachedTime_;
    }

    // The text with every kept secret replaced; a copy is made only when one is there.
    QString Masked(const QString& text) const
    {
        QString result = text;
        for (const auto& secret : secrets_) {
            const QStringView view = secret->View();
            if (result.contains(view))
                result.replace(view.data(), view.size(), SecretText.constData(), SecretText.size());
        }
        return result;
    }

    void WriteLocked(const QString& label, const QString& detail, bool withTime)
    {
        // Secrets go first, before the clean-up below could cut them into pieces.
        const QString labelText = secrets_.empty() ? label : Masked(label);
        const QString detailText = secrets_.empty() ? detail : Masked(detail);
        buffer_ += '"';
        if (withTime)
            buffer_ += TimeField();
        buffer_ += "\",\"";
        AppendField(buffer_, QStringView(labelText).trimmed(), true);
        buffer_ += "\",\"";
        AppendField(buffer_, detailText, false);
        buffer_ += "\"\r\n";
        if (buffer_.size() >= FlushAtBytes || sinceFlush_.elapsed() >= FlushEveryMs)
            FlushLocked();
        else
            ArmFlushLocked();
    }

    void ArmFlushLocked()
    {
        // Lines written before an idle stretch still reach the file within a second.
        if (flushArmed_)
            return;
        QCoreApplication* app = QCoreApplication::instance();
        if (!app || QThread::currentThread() != app->thread())
            return; // the next line, or StopTraceLog, flushes them
        flushArmed_ = true;
        QTimer::singleShot(FlushEveryMs, app, [this] {
            std::lock_guard lock(mutex_);
            flushArmed_ = false;
            FlushLocked();
        });
    }

    void CloseLocked()
    {
        FlushLocked();
        if (file_.isOpen())
            file_.close();
    }
};

LogState& State()
{
    static LogState state;
    return state;
}

// Reads one field: a quoted text (which may span lines), or a bare text up to
// the next comma or line end. False at the end of the data.
bool ReadField(const QByteArray& data, qsizetype& at, QString& field)
{
    const qsizetype size = data.size();
    while (at < size && (data[at] == ' ' || data[at] == '\t'))
        ++at;
    if (at >= size)
        return false;
    qsizetype end;
    if (data[at] == '"') {
        end = data.indexOf('"', at + 1);
        if (end < 0)
            return false; // cut short by a crash
        field = QString::fromUtf8(data.constData() + at + 1, end - at - 1);
        at = end + 1;
    } else {
        end = at;
        while (end < size && data[end] != ',' && data[end] != '\r' && data[end] != '\n')
            ++end;
        field = QString::fromUtf8(data.constData() + at, end - at).trimmed();
        at = end;
    }
    while (at < size && (data[at] == ' ' || data[at] == '\t'))
        ++at;
    return true;
}

bool SkipSeparator(const QByteArray& data, qsizetype& at)
{
    if (at < data.size() && data[at] == ',') {
        ++at;
        return true;
    }
    return false;
}

void SkipLineEnd(const QByteArray& data, qsizetype& at)
{
    while (at < data.size() && data[at] != '\n')
        ++at;
    if (at < data.size())
        ++at;
}

} // namespace

void TraceLog(const QString& label, const QString& detail, bool withTime)
{
    // While the log is off a line costs this test and nothing else.
    if (!logEnabled.load(std::memory_order_relaxed))
        return;
    LogState& state = State();
    try {
        if (IsBlank(label))
            return;
        std::lock_guard lock(state.mutex_);
        if (!state.enabled.load(std::memory_order_relaxed) || label == state.lastLabel_)
            return;
        if (state.IsOpen())
            state.WriteLocked(label, detail, withTime);
        state.lastLabel_ = label;
    } catch (...) {
        // The line is lost; the caller never hears of it.
    }
}

void FlushTraceLog()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex_);
    state.FlushLocked();
}

void StopTraceLog()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex_);
    try {
        if (state.IsOpen() && state.enabled.load())
            state.WriteLocked(QStringLiteral("Close Log recording in ") + ApplicationTitle(), TodayText(), true);
    } catch (...) {
    }
    state.CloseLocked();
    state.fileName_.clear();
    state.enabled = false;
    state.secrets_.clear(); // no log, nothing to mask: the copies go
}

bool StartTraceLog(bool enabled, const QString& baseFolder, const QString& nameFragment, const QString& startLabel,
                   bool closeHeader)
{
    LogState& state = State();
    // A running log stays as it is when nothing changes: no rotation, no new header.
    if (nameFragment.isEmpty() && enabled == state.enabled.load() && state.enabled.load())
        return false;
    if (baseFolder.isEmpty())
        return false;
    StopTraceLog();

    const FileTools& files = FileTools::Instance();
    const TextTools& texts = TextTools::Instance();
    QString keptName;
    try {
        std::unique_lock lock(state.mutex_);
        bool on = enabled;
        const QString base = files.StripFolderSeparator(QDir::fromNativeSeparators(baseFolder));
        const QString lastName = texts.AfterLast(base, QStringLiteral("/"));
        const QString folder = lastName == QLatin1String("Log") ? base : base + QStringLiteral("/Log");
        state.folder_ = files.WithFolderSeparator(QDir::toNativeSeparators(folder));
        state.lastLabel_.clear();

        if (SystemInfo::Instance().DriveType(state.folder_) == SystemInfo::CdRom)
            return false;
        if (!files.FolderExists(state.folder_) && !files.CreateFolder(state.folder_))
            on = false;
        else
            files.RestrictFolder(state.folder_); // made by an earlier version under a looser umask
        if (!on)
            return false;

        QString name = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        if (name.isEmpty())
            name = QStringLiteral("keyholm");
        if (!nameFragment.isEmpty())
            name += QStringLiteral("_") + texts.FileNameSafe(texts.NormalizeKey(nameFragment));
        name += QStringLiteral(".log");
        state.fileName_ = name;
        keptName = name;
        const QString path = state.folder_ + name;

        if (files.FileExists(path)) {
            // A log that cannot be kept as ".old" is lost either way: the new
            // one starts empty.
            (void)files.CopyWithExtension(path, QStringLiteral(".old"), QString());
            files.DeleteFile(path);
        }
        state.file_.setFileName(path);
        // The log names files and folders of the user: for the user's eyes only.
        if (!state.file_.open(QIODevice::WriteOnly | QIODevice::Truncate, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
            state.fileName_.clear();
            return false;
        }
        state.enabled = true;
        state.sinceFlush_.start();
        lock.unlock();

        const SystemInfo& info = SystemInfo::Instance();
        TraceLog(state.folder_, name);
        TraceLog(QStringLiteral("START: ") + startLabel, ApplicationTitle() + QStringLiteral(" ") + QLatin1String(VersionNumber));
        TraceLog(TodayText(), QStringLiteral("isRunOff"));
        TraceLog(QStringLiteral("System information"), QString());
        const std::pair<const char*, QString> host[] = {
            {"Country #1", info.CountryText1()},       {"Country #2", info.CountryText2()},
            {"Language", info.LanguageName()},         {"Id Language", info.LanguageId()},
            {"Currency", info.CurrencySymbol()},       {"Decimal", info.DecimalSeparator()},
            {"Thousand", info.ThousandSeparator()},    {"Separator Date", info.DateSeparator()},
            {"Short Date", info.ShortDateFormat()},    {"Long Date", info.LongDateFormat()},
            {"Separator Time", info.TimeSeparator()},  {"Time Format", info.TimeFormat()},
            {"User Name", info.UserName()},            {"Computer Name", info.ComputerName()},
            {"Documents", info.DocumentsFolder()},
        };
        for (const auto& [label, value] : host)
            TraceLog(QString::fromLatin1(label), value);
        if (closeHeader)
            TraceLog(QStringLiteral("End of host config"), QString());

        lock.lock();
        state.fileName_ = path;
        return true;
    } catch (...) {
        StopTraceLog();
        ReportError(QStringLiteral("Error init LOG mode access: ") + keptName, {}, true);
        return false;
    }
}

bool TraceLogEnabled()
{
    return State().enabled.load();
}

QString TraceLogFolder()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex_);
    return state.folder_;
}

QString TraceLogPath()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex_);
    return state.IsOpen() ? state.fileName_ : QString();
}

void KeepOutOfTraceLog(const QString& secret)
{
    if (secret.isEmpty())
        return;
    LogState& state = State();
    std::lock_guard lock(state.mutex_);
    // With the log off nothing is written, so nothing is kept either.
    if (!state.enabled.load())
        return;
    for (const auto& kept : state.secrets_) {
        if (kept->View() == secret)
            return;
    }
    auto kept = std::make_unique<KeptSecret>(secret);
    if (!kept->IsValid())
        return;
    // The longest first, so that a secret inside another one masks no part of it alone.
    const auto at = std::find_if(state.secrets_.begin(), state.secrets_.end(),
        [&](const auto& other) { return other->View().size() < secret.size(); });
    state.secrets_.insert(at, std::move(kept));
}

void ForgetTraceLogSecrets()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex_);
    state.secrets_.clear();
}

int KeptTraceLogSecrets()
{
    LogState& state = State();
    std::lock_guard lock(state.mutex_);
    return int(state.secrets_.size());
}

QList<TraceRecord> ParseTraceRecords(const QByteArray& text, bool withUntimed)
{
    QList<TraceRecord> records;
    qsizetype at = 0;
    if (text.startsWith("\xEF\xBB\xBF"))
        at = 3;
    while (at < text.size()) {
        if (text[at] == '\r' || text[at] == '\n') {
            ++at;
            continue;
        }
        TraceRecord record;
        const bool whole = ReadField(text, at, record.time) && SkipSeparator(text, at)
            && ReadField(text, at, record.label) && SkipSeparator(text, at) && ReadField(text, at, record.detail);
        if (!whole) {
            // A line that is not a record is passed over; a cut last record is dropped.
            SkipLineEnd(text, at);
            continue;
        }
        SkipLineEnd(text, at);
        if (withUntimed || !record.time.trimmed().isEmpty())
            records.append(record);
    }
    return records;
}

std::optional<QList<TraceRecord>> ReadTraceLog(const QString& path)
{
    QString source = path.trimmed();
    if (source.isEmpty() || !QFileInfo(source).isFile()) {
        FlushTraceLog();
        source = TraceLogPath();
    }
    QFile file(source);
    if (source.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        const QString why = source.isEmpty() ? QStringLiteral("No trace log is being written") : file.errorString();
        ReportError(GetMessage(282) + QStringLiteral(" : \r\n") + (source.isEmpty() ? path.trimmed() : source), {},
                    true, ErrorRecord::Make(ErrorRecord::FileNotFound, why));
        return std::nullopt;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        ReportError(QStringLiteral("Error on displaying the LOG file content: 2\r\n") + source, {}, true,
                    ErrorRecord::Make(ErrorRecord::FileAccess, file.errorString()));
        return std::nullopt;
    }
    return ParseTraceRecords(data);
}

std::optional<QList<TraceRecord>> ReadTraceRecords(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return ParseTraceRecords(data);
}

} // namespace keyholm
