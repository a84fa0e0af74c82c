#include "services/ui/RecentFiles.h"

#include "components/FileTools.h"
#include "components/TextTools.h"
#include "services/ErrorReport.h"
#include "services/Preferences.h"
#include "services/TraceLog.h"

#include <QAction>
#include <QWidget>

#include <array>
#include <exception>

namespace keyholm {
namespace {
struct RecentList {
    // Index 0 is unused, so that positions 1 to 5 index the arrays directly.
    std::array<QString, RecentFileCount + 1> paths;
    std::array<QString, RecentFileCount + 1> captions;
};

RecentList& List()
{
    static RecentList list;
    return list;
}

QString BoolText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

QString SectionOf(const QString& suffix)
{
    return QStringLiteral("Menu fichier") + suffix;
}

QAction* Item(QWidget* window, int position)
{
    return window ? window->findChild<QAction*>(QStringLiteral("MenuAncienFichier%1").arg(position)) : nullptr;
}

QAction* Separator(QWidget* window)
{
    return window ? window->findChild<QAction*>(QStringLiteral("MenuSeparateurAncienFichier")) : nullptr;
}

void HideItems(QWidget* window)
{
    if (QAction* separator = Separator(window))
        separator->setVisible(false);
    for (int position = 1; position <= RecentFileCount; ++position) {
        if (QAction* item = Item(window, position)) {
            item->setVisible(false);
            item->setText(QString());
        }
    }
}

bool ItemVisible(QWidget* window, int position)
{
    const QAction* item = Item(window, position);
    return item && item->isVisible();
}

void Report(const QString& message, const std::exception& e)
{
    ReportException(message, e);
}
} // namespace

void ClearRecentFiles()
{
    auto& list = List();
    list.paths.fill(QString());
    list.captions.fill(QString());
}

QString RecentFileCaption(int position)
{
    return position >= 1 && position <= RecentFileCount ? List().captions[position] : QString();
}

void OuvreListeAncienFichier(const QString& suffix, const QString& label)
{
    try {
        auto& list = List();
        TraceLog(QStringLiteral("Read last know files. Menu fichier"), suffix);
        const QString section = SectionOf(suffix);
        for (int position = 1; position <= RecentFileCount; ++position) {
            list.paths[position] = GetTextOptionAt(section, list.paths[position], position, label);
            list.captions[position] = GetTextOptionAt(section, list.captions[position], 10 * position, label);
        }
        if (list.paths[1].trimmed().isEmpty())
            TraceLog(QStringLiteral("Old files list is empty!"), suffix);
        else
            TraceLog(QStringLiteral("Get old files list: ") + label, list.paths[1]);
        for (int position = 2; position <= RecentFileCount; ++position) {
            if (!list.paths[position].trimmed().isEmpty())
                TraceLog(QString::number(position), list.paths[position]);
        }
        TraceLog(QStringLiteral("End of getting last know files."), suffix);
    } catch (const std::exception& e) {
        Report(QStringLiteral("Error on OuvreListeAncienFichier(") + suffix + QLatin1Char(')'), e);
    }
}

void SauveListeAncienFichier(const QString& suffix, const QString& label)
{
    try {
        const auto& list = List();
        TraceLog(QStringLiteral("Record last know files. Menu fichier"), suffix);
        const QString section = SectionOf(suffix);
        for (int position = 1; position <= RecentFileCount; ++position) {
            SetTextOptionAt(section, list.paths[position], position, label);
            SetTextOptionAt(section, list.captions[position], 10 * position, label);
            if (!list.paths[position].trimmed().isEmpty())
                TraceLog(QString::number(position), list.paths[position]);
        }
        TraceLog(QStringLiteral("End of last files recording"), suffix);
    } catch (const std::exception& e) {
        Report(QStringLiteral("Error on SauveListeAncienFichier(") + suffix + QLatin1Char(')'), e);
    }
}

void MajMenuFichierOuvert(QWidget* window, bool numbered)
{
    try {
        const auto& list = List();
        TraceLog(QStringLiteral("Update old files menu"), BoolText(numbered));
        HideItems(window);
        if (!window) {
            TraceLog(QStringLiteral("Unable to update old opened files"), QStringLiteral("destination Window is null"));
            return;
        }
        if (!list.captions[1].trimmed().isEmpty()) {
            if (QAction* separator = Separator(window))
                separator->setVisible(true);
            for (int position = 1; position <= RecentFileCount; ++position) {
                const QString& caption = list.captions[position];
                if (caption.trimmed().isEmpty())
                    break;
                TraceLog(caption, list.paths[position]);
                if (QAction* item = Item(window, position)) {
                    // "&" in a file name is no shortcut mark.
                    const QString shown = QString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
                    item->setText(numbered ? QStringLiteral("&%1 ").arg(position) + shown : shown);
                    item->setVisible(true);
                }
            }
        }
        TraceLog(QStringLiteral("End of updating."), BoolText(numbered));
    } catch (const std::exception& e) {
        Report(QStringLiteral("Error on MajMenuFichierOuvert(") + BoolText(numbered) + QLatin1Char(')'), e);
    }
}

void AjoutMenuFichierOuvert(QWidget* window, const QString& path, const QString& suffix, const QString& label)
{
    try {
        TraceLog(QStringLiteral("Add file to old files: ") + suffix, path);
        if (const auto listed = bExisteMenuFichierOuvert(path))
            EnleveMenuFichierOuvert(window, *listed, true);
        if (!FileTools::Instance().FileExists(path))
            return;
        auto& list = List();
        for (int position = RecentFileCount; position > 1; --position) {
            list.paths[position] = list.paths[position - 1];
            list.captions[position] = list.captions[position - 1];
        }
        list.paths[1] = path;
        list.captions[1] = TextTools::Instance().FileNamePart(path);
        HideItems(window);
        MajMenuFichierOuvert(window, true);
        SauveListeAncienFichier(suffix, label);
        TraceLog(QStringLiteral("End of adding recent file"), window ? window->windowTitle() : QString());
    } catch (const std::exception& e) {
        Report(QStringLiteral("Error on AjoutMenuFichierOuvert()"), e);
    }
}

void EnleveMenuFichierOuvert(QWidget* window, int position, bool numbered)
{
    try {
        TraceLog(QStringLiteral("Remove old file from position: ") + QString::number(position), BoolText(numbered));
        if (position >= 1 && position <= RecentFileCount) {
            auto& list = List();
            for (int later = position; later < RecentFileCount; ++later) {
                list.paths[later] = list.paths[later + 1];
                list.captions[later] = list.captions[later + 1];
            }
            list.paths[RecentFileCount].clear();
            list.captions[RecentFileCount].clear();
        }
        MajMenuFichierOuvert(window, numbered);
    } catch (const std::exception& e) {
        Report(QStringLiteral("Error on EnleveMenuFichierOuvert(") + QString::number(position) + QLatin1Char(')'), e);
    }
}

std::optional<int> bExisteMenuFichierOuvert(const QString& path)
{
    // An empty path is never listed, even where a position is free.
    if (path.isEmpty())
        return std::nullopt;
    const auto& list = List();
    for (int position = RecentFileCount; position >= 1; --position) {
        if (list.paths[position] == path)
            return position;
    }
    return std::nullopt;
}

QString sGetMenuFichierLong(const QString& caption, int position)
{
    const auto& list = List();
    if (position >= 1 && position <= RecentFileCount)
        return list.paths[position];
    if (caption.isEmpty())
        return {};
    for (int at = RecentFileCount; at >= 1; --at) {
        if (list.captions[at] == caption)
            return list.paths[at];
    }
    return {};
}

void InitRecentFiles(QWidget* window, const QString& suffix, bool numbered, const QString& label,
    bool skipExistenceCheck, const QString& extension)
{
    TraceLog(QStringLiteral("Init last openned files"), suffix + QStringLiteral(" - ") + label);
    TraceLog(QStringLiteral("Init old files list"), suffix);
    ClearRecentFiles();
    OuvreListeAncienFichier(suffix, label);
    MajMenuFichierOuvert(window, numbered);

    auto& list = List();
    const auto& files = FileTools::Instance();
    // From the last position up, so that the positions still to be checked
    // stay where they are while entries are taken off.
    if (!skipExistenceCheck) {
        TraceLog(QStringLiteral("Check if all old files exist"), QStringLiteral("..."));
        for (int position = RecentFileCount; position >= 1; --position) {
            if (!ItemVisible(window, position))
                continue;
            list.paths[position] = files.RelocatePath(list.paths[position]);
            TraceLog(QStringLiteral("Check file ") + QString::number(position), list.paths[position]);
            if (!files.FileExists(list.paths[position]))
                EnleveMenuFichierOuvert(window, position, true);
        }
    }
    // "khm" and ".khm" both name the extension.
    QString wanted = extension.trimmed();
    while (wanted.startsWith(QLatin1Char('.')))
        wanted.remove(0, 1);
    if (!wanted.isEmpty()) {
        TraceLog(QStringLiteral("Check file extension"), extension);
        for (int position = RecentFileCount; position >= 1; --position) {
            if (!ItemVisible(window, position))
                continue;
            list.paths[position] = files.RelocatePath(list.paths[position]);
            TraceLog(QStringLiteral("Check file ") + QString::number(position), list.paths[position]);
            const QString own = TextTools::Instance().AfterLast(list.paths[position], QStringLiteral("."));
            if (own.toUpper() != wanted.toUpper())
                EnleveMenuFichierOuvert(window, position, true);
        }
    }
}

} // namespace keyholm
