#pragma once
// Every setting of the workbench, typed, in one place: the file qln40.ini in
// the user's configuration folder ($XDG_CONFIG_HOME, by default ~/.config).
// Reads go to QSettings; Save() writes the file and reports whether it was
// written completely.

#include "app/ProjectFileList.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>

#include <memory>

namespace qln {

class CSettings {
public:
    // The file in $XDG_CONFIG_HOME (or ~/.config).
    static QString DefaultFile();

    explicit CSettings(const QString& file = DefaultFile());

    QString file() const;

    // SETTINGS: window placement and the last import file.
    StoredPlacement placement() const;
    void setPlacement(const StoredPlacement& placement);
    QString lastImportFile() const;
    void setLastImportFile(const QString& file);

    // PATH/PROJECT: the folder of the project opened last.
    QString projectPath() const;
    void setProjectPath(const QString& folder);

    // PROJECTFILES: File0 ... File29.
    ProjectFileSlots projectFiles() const;
    void setProjectFiles(const ProjectFileSlots& list);

    // FIND: Text0..9 and ReplaceText0..9.
    QStringList findHistory() const;
    void setFindHistory(const QStringList& items);
    QStringList replaceHistory() const;
    void setReplaceHistory(const QStringList& items);

    // FINDSTRING: WholeWord (0), MatchCase (1), FindDirectory (2, "Down"),
    // and Where, the "Where" entries chosen last.
    struct FindOptionsSetting {
        bool wholeWord = false;
        bool matchCase = true;
        int direction = 2;
    };
    FindOptionsSetting findOptions() const;
    void setFindOptions(const FindOptionsSetting& options);
    QStringList findWhere() const;
    void setFindWhere(const QStringList& entries);

    // RCINCLUDE_EXT/RCINCLUDE_FILES_EXT: the default include-file extensions.
    QString includeExtensions() const;
    void setIncludeExtensions(const QString& extensions);

    // Recent File List: File1 ... File4, the newest first.
    static constexpr int kRecentFiles = 4;
    static constexpr int kHistoryEntries = 10;
    QStringList recentFiles() const;
    // Puts the file first (once, compared without regard to case).
    void addRecentFile(const QString& file);
    void removeRecentFile(const QString& file);

    // The bar state "General" (toolbars and docks) and the project file list
    // bar's own keys in General-Bar5.
    QByteArray barState() const;
    void setBarState(const QByteArray& state);
    struct BarSize {
        int cx = 0, cy = 0, dockStyle = 0;
    };
    BarSize projectListBar() const;
    void setProjectListBar(const BarSize& size);

    // Writes every change to the file; false when the file could not be written.
    bool Save();

private:
    QStringList readList(const QString& group, const QString& prefix, int count, bool stopAtEmpty) const;
    void writeRecent(const QStringList& files);
    void writeList(const QString& group, const QString& prefix, int count, const QStringList& items);

    std::unique_ptr<QSettings> settings_;
};

}  // namespace qln
