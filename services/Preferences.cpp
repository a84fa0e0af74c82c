#include "services/Preferences.h"

#include "components/FileTools.h"
#include "components/OptionStore.h"
#include "services/BackupCopies.h"
#include "services/Environment.h"
#include "services/ErrorReport.h"
#include "services/TraceLog.h"

#include <QSet>

#include <exception>
#include <limits>
#include <optional>

namespace keyholm {
namespace {
const QString LineBreakMark = QStringLiteral("#µ#");

struct PreferencesState {
    bool storeMade = false; // the option store is ours and not closed
    bool open = false;
    QString path;
    QString optionTracePath;
    PreferenceBackupRotation rotation = &CopyWithNewSuffix;
    // Files backed up in this run. Backing up at every reopen would push the
    // generations of earlier runs out with copies of this one.
    QSet<QString> backedUp;
};

PreferencesState& State()
{
    static PreferencesState state;
    return state;
}

void BackUp(const QString& path, bool rotate)
{
    auto& state = State();
    const QString folder = BackupFolder();
    if (state.backedUp.contains(path))
        return;
    state.backedUp.insert(path);
    if (folder.isEmpty() || !FileTools::Instance().FileExists(path))
        return;
    if (rotate && state.rotation) {
        if (!state.rotation(path, QStringLiteral(".bak"), folder, PreferenceBackupGenerations))
            TraceLog(QStringLiteral("### ERROR on backup (#%1) Option File").arg(PreferenceBackupGenerations), path);
        return;
    }
    if (!FileTools::Instance().CopyWithExtension(path, QStringLiteral(".bak"), folder))
        TraceLog(QStringLiteral("### ERROR on minimal backup of the Option file"), path);
}

// Opens the file when no store is open; true when reads and writes can go on.
bool EnsureOpen(const QString& label)
{
    auto& state = State();
    if (state.storeMade && !OptionStore::Exists()) {
        // The components were released behind our back.
        state.storeMade = false;
        state.open = false;
    }
    if (!state.storeMade) {
        if (DataFolder().isEmpty())
            PrepareFolders();
        OpenPreferences(DataFolder(), label, true, PreferenceBaseName);
    }
    return state.storeMade && state.open && OptionStore::Instance().IsOpen();
}

std::optional<QString> Read(
    const QString& section, const QString& key, const QString& defaultText, const QString& label)
{
    if (!EnsureOpen(label) || section.trimmed().isEmpty())
        return std::nullopt;
    return OptionStore::Instance().GetValue(section, key, defaultText);
}

bool Write(const QString& section, const QString& key, const QString& value, const QString& label)
{
    if (!EnsureOpen(label) || section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    return OptionStore::Instance().SetValue(section, key, value);
}

template <class Number>
std::optional<int> ReadNumber(const QString& section, const QString& key, int defaultValue, const QString& label)
{
    const auto text = Read(section, key, QString::number(defaultValue), label);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qlonglong value = text->trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<Number>::min() || value > std::numeric_limits<Number>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

QString ColorKey(const QString& key)
{
    return QStringLiteral("Color_") + key;
}
QString TextKey(const QString& key)
{
    return QStringLiteral("Text_") + key;
}
QString CheckKey(const QString& key)
{
    return QStringLiteral("Check_") + key;
}
QString ValueKey(const QString& key)
{
    return QStringLiteral("VALUE_") + key;
}
} // namespace

bool EnsurePreferencesOpen(const QString& label)
{
    return EnsureOpen(label);
}

QString GetPlainOption(const QString& section, const QString& key, const QString& defaultText, const QString& label)
{
    return Read(section, key, defaultText, label).value_or(defaultText);
}

bool SetPlainOption(const QString& section, const QString& key, const QString& value, const QString& label)
{
    return Write(section, key, value, label);
}

QString EscapeOptionText(const QString& text)
{
    return QString(text).replace(QStringLiteral("\r\n"), LineBreakMark);
}

QString UnescapeOptionText(const QString& stored)
{
    return QString(stored).replace(LineBreakMark, QStringLiteral("\r\n"));
}

void SetPreferenceBackupRotation(PreferenceBackupRotation rotation)
{
    State().rotation = std::move(rotation);
}

bool OpenPreferences(const QString& folder, const QString& label, bool rotateBackups, const QString& baseName)
{
    auto& state = State();
    try {
        if (state.storeMade)
            ClosePreferences();
        auto& files = FileTools::Instance();
        const QString base = baseName.trimmed().isEmpty() ? PreferenceBaseName : baseName.trimmed();
        state.path
            = files.WithFolderSeparator(folder.isEmpty() ? ProgramFolder() : folder) + base + QStringLiteral(".opt");
        const QString title = ApplicationTitle();
        const QString storeLabel = label.trimmed().isEmpty() ? title : label.trimmed();
        TraceLog(QStringLiteral("Open option file: ") + storeLabel
                + (storeLabel != title ? QStringLiteral(" [") + title + QLatin1Char(']') : QString()),
            state.path);
        state.optionTracePath
            = BackupFolder().isEmpty() ? QString() : BackupFolder() + base + QStringLiteral("LOG.opt");

        auto& store = OptionStore::Instance();
        state.storeMade = true;
        if (!store.Open(state.path, storeLabel, ProgramFileName())) {
            state.open = false;
            TraceLog(QStringLiteral("### Unable to read the option file. Initalization failed!"), state.path);
            ClosePreferences();
            return false;
        }
        if (!store.SetAsidePath().isEmpty())
            TraceLog(QStringLiteral("### Damaged option file set aside, defaults used"), store.SetAsidePath());
        // Backed up once it is known to be sound, so that a damaged file
        // never takes the place of a good generation.
        BackUp(state.path, rotateBackups);
        TraceLog(QStringLiteral("The option file is opened"), state.path);
        state.open = true;
        return true;
    } catch (const std::exception& e) {
        ReportException(QStringLiteral("Error on initialize Option Lib"), e);
        state.open = false;
        return false;
    }
}

void ClosePreferences()
{
    auto& state = State();
    try {
        if (!state.storeMade || !OptionStore::Exists()) {
            TraceLog(QStringLiteral("### Unable to close the Option File"), QStringLiteral("Already closed"));
        } else {
            TraceLog(QStringLiteral("Close the option file access"), QStringLiteral("False"));
            OptionStore::Instance().Close();
        }
    } catch (const std::exception& e) {
        ReportError(QStringLiteral("Error on closing process of Option file"), QStringLiteral("False"), true,
            ErrorRecord::FromException(e));
    }
    state.storeMade = false;
    state.open = false;
}

bool PreferencesOpen()
{
    const auto& state = State();
    return state.open && state.storeMade && OptionStore::Exists() && OptionStore::Instance().IsOpen();
}

QString PreferencesPath()
{
    return State().path;
}

QString OptionTracePath()
{
    return State().optionTracePath;
}

// ---- Reads -----------------------------------------------------------------------

int GetColorOption(const QString& section, const QString& key, int defaultColor, const QString& label)
{
    return ReadNumber<qint32>(section, ColorKey(key), defaultColor, label).value_or(0);
}

QString GetTextOption(const QString& section, const QString& key, const QString& defaultText, const QString& label)
{
    const auto text = Read(section, TextKey(key), EscapeOptionText(defaultText), label);
    return text ? UnescapeOptionText(*text) : defaultText;
}

int GetCheckOption(const QString& section, const QString& key, int defaultValue, const QString& label)
{
    return ReadNumber<qint16>(section, CheckKey(key), defaultValue, label).value_or(defaultValue);
}

int GetValueOption(const QString& section, const QString& key, int defaultValue, const QString& label)
{
    return ReadNumber<qint32>(section, ValueKey(key), defaultValue, label).value_or(defaultValue);
}

QString GetColorOptionAt(const QString& section, int defaultColor, int index, const QString& label)
{
    return QString::number(GetColorOption(section, QString::number(index), defaultColor, label));
}

QString GetTextOptionAt(const QString& section, const QString& defaultText, int index, const QString& label)
{
    return GetTextOption(section, QString::number(index), defaultText, label);
}

int GetCheckOptionAt(const QString& section, int defaultValue, int index, const QString& label)
{
    return GetCheckOption(section, QString::number(index), defaultValue, label);
}

int GetValueOptionAt(const QString& section, int defaultValue, int index, const QString& label)
{
    return GetValueOption(section, QString::number(index), defaultValue, label);
}

// ---- Writes ----------------------------------------------------------------------

bool SetColorOption(const QString& section, const QString& key, int value, const QString& label)
{
    return !key.trimmed().isEmpty() && Write(section, ColorKey(key), QString::number(value), label);
}

bool SetTextOption(const QString& section, const QString& key, const QString& value, const QString& label)
{
    return !key.trimmed().isEmpty() && Write(section, TextKey(key), EscapeOptionText(value), label);
}

bool SetCheckOption(const QString& section, const QString& key, int value, const QString& label)
{
    return !key.trimmed().isEmpty() && Write(section, CheckKey(key), QString::number(value), label);
}

bool SetValueOption(const QString& section, const QString& key, int value, const QString& label)
{
    return !key.trimmed().isEmpty() && Write(section, ValueKey(key), QString::number(value), label);
}

bool SetColorOptionAt(const QString& section, int value, int index, const QString& label)
{
    return SetColorOption(section, QString::number(index), value, label);
}

bool SetTextOptionAt(const QString& section, const QString& value, int index, const QString& label)
{
    return SetTextOption(section, QString::number(index), value, label);
}

bool SetCheckOptionAt(const QString& section, int value, int index, const QString& label)
{
    return SetCheckOption(section, QString::number(index), value, label);
}

bool SetValueOptionAt(const QString& section, int value, int index, const QString& label)
{
    return SetValueOption(section, QString::number(index), value, label);
}

} // namespace keyholm
