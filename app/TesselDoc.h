#pragma once
// CTesselDoc: one open project. It owns the project database while the
// project is open; the views read and write through database(). Opening a
// script builds its database first when there is none; opening a database
// checks its format version. Save writes every translated script, Refresh
// Status notices a changed source script, Update Database follows it.
//
// The document asks and tells the user through a Prompter, and shows long
// work in a progress window over `window`.
//
// Views: read and write through database() within one operation; after
// storing translations call setModified(true) (Save writes the scripts) and
// RecomputeStatus(); reload on reloaded() (the rows changed as a whole).

#include "project/ProjectUpdate.h"
#include "projectdb/Languages.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <vector>

namespace qln {

class CProjectDatabase;
class Prompter;

struct Translation {
    LanguagePair language;
    QString displayName;
};

class CTesselDoc : public QObject {
    Q_OBJECT
public:
    CTesselDoc(Prompter& prompter, QWidget* window, QObject* parent = nullptr);
    ~CTesselDoc() override;

    // The template copied for a new database (by default beside the executable).
    void setTemplatePath(const std::filesystem::path& path) { templatePath_ = path; }

    // Opens a script or a project database; false when it was not opened
    // (the user was told why, or declined to build the database).
    bool Open(const std::filesystem::path& path);

    // --- What views read ---------------------------------------------------------
    CProjectDatabase* database() { return db_.get(); }
    Prompter& prompter() const { return prompter_; }
    const std::filesystem::path& openedPath() const { return opened_; }
    const std::filesystem::path& scriptPath() const { return script_; }
    const std::filesystem::path& databasePath() const { return databasePath_; }
    int fileVersion() const { return fileVersion_; }
    // Versions 6 and 7: translated and written, but neither updated nor laid out.
    bool isOlderFormat() const { return fileVersion_ < 8; }
    int status() const { return status_; }
    bool updateNeeded() const { return change_.updateNeeded(); }
    std::vector<Translation> translations();
    // The file name, the out-of-date mark and the project state.
    QString title() const;

    // Unsaved changes: translated texts not yet written into their scripts.
    bool isModified() const { return modified_; }
    void setModified(bool modified);

    // --- Commands -----------------------------------------------------------------
    // Writes every translated script; true when at least one was written.
    bool Save();
    // True when the project was found changed just now (it was not known before).
    bool RefreshStatus();
    // Runs the update; true when the database was updated.
    bool UpdateDatabase();
    // Asks what to do with unsaved changes; false keeps the document open.
    bool CanClose();
    // Reads Project.Status again (after the views changed translations).
    void RecomputeStatus();

    // --- For the dialog commands (DialogCommands.cpp) ---------------------------------
    // Where the document's windows ask and tell the user.
    Prompter& prompter() { return prompter_; }
    // The owner of the database, for the imports that close and reopen it.
    std::unique_ptr<CProjectDatabase>& databaseOwner() { return db_; }
    // The include-file list changed: the project waits for an update.
    void MarkIncludeListChanged();
    // Translations were added, deleted or imported: status, title, language
    // lists and views follow.
    void TranslationsChanged(bool textsChanged);

signals:
    void titleChanged();
    void updateNeededChanged(bool needed);
    void modifiedChanged(bool modified);
    // The rows changed as a whole (after an update): views reload.
    void reloaded();
    // database() now gives another object (or none while an update runs):
    // views let go of the one they held.
    void databaseChanged();
    void statusText(const QString& text);
    void translationsChanged();

private:
    bool openPaths(bool throughDatabase);
    void showFailure(const std::string& message, const std::string& detail = {});
    void askUpdateOnOpen();
    void readStatus();

    Prompter& prompter_;
    QPointer<QWidget> window_;
    std::filesystem::path templatePath_;
    std::unique_ptr<CProjectDatabase> db_;
    std::filesystem::path opened_, script_, databasePath_;
    bool openedThroughDatabase_ = false;
    int fileVersion_ = 0;
    int status_ = 0;
    bool modified_ = false;
    ProjectChangeState change_;
};

}  // namespace qln
