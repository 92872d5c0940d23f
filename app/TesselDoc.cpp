#include "app/TesselDoc.h"

#include "app/ProgressWindow.h"
#include "app/ProjectFileList.h"
#include "app/Prompter.h"
#include "project/ProjectBuild.h"
#include "project/TranslationWriter.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <QTimer>

namespace qln {

namespace fs = std::filesystem;

CTesselDoc::CTesselDoc(Prompter& prompter, QWidget* window, QObject* parent)
    : QObject(parent),
      prompter_(prompter),
      window_(window),
      templatePath_(DefaultTemplatePath()),
      change_([this](bool needed) { emit updateNeededChanged(needed); })
{
}

CTesselDoc::~CTesselDoc() = default;

void CTesselDoc::showFailure(const std::string& message, const std::string& detail)
{
    std::string text = message;
    if (!detail.empty())
        text += (text.empty() ? "" : "\n\n") + detail;
    if (!text.empty())
        prompter_.Show(QMessageBox::Critical, Text(text));
}

bool CTesselDoc::Open(const fs::path& path)
{
    std::error_code ec;
    opened_ = fs::absolute(path, ec).lexically_normal();
    const bool throughDatabase = HasDatabaseExtension(opened_);
    if (throughDatabase && !IsProjectDatabase(opened_)) {
        prompter_.Show(QMessageBox::Critical, Text(msg::Format(msg::NotProjectDatabase, {opened_.string()})));
        return false;
    }
    const ProjectPaths paths = PairProjectPaths(opened_);
    script_ = paths.script;
    databasePath_ = paths.database;
    return openPaths(throughDatabase);
}

bool CTesselDoc::openPaths(bool throughDatabase)
{
    openedThroughDatabase_ = throughDatabase;
    std::error_code ec;
    const bool exists = fs::exists(databasePath_, ec);
    if (!exists) {
        if (!fs::is_regular_file(script_, ec)) {
            prompter_.Show(QMessageBox::Critical, Text(msg::Format(msg::ErrorCantOpenFile, {script_.string()})));
            return false;
        }
        const QString question = Text(msg::Format(msg::AskBuildDatabase, {script_.string(), databasePath_.string()}));
        if (prompter_.Ask(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return false;
    }

    BuildResult built;
    {
        CProgressWindow progress(window_, Text(msg::Format(msg::StatusBuildDatabase, {databasePath_.string()})),
                                 [this](const QString& text) { emit statusText(text); });
        if (exists)
            progress.dialog().setMinimumDuration(1000000);  // opening an existing file is quick
        built = BuildProjectDatabase(script_, databasePath_, progress, templatePath_);
    }
    if (!built.ok()) {
        if (built.code != kReadCancelled)
            showFailure(built.message);
        return false;
    }
    db_ = std::move(built.database);
    if (!built.report.warning.empty())
        prompter_.Show(QMessageBox::Information, Text(built.report.warning));

    if (!built.created) {
        const VersionCheckResult check = CheckVersion(*db_, script_);
        if (check.check != VersionCheck::Accepted) {
            db_.reset();
            prompter_.Show(QMessageBox::Critical, Text(check.message));
            return false;
        }
    }
    try {
        EnsureProjectOptions(*db_, ProjectOptions{});
    } catch (const sql::Error&) {
        // A read-only database still opens; the flags keep their defaults.
    }
    fileVersion_ = db_->GetFileVersion().value_or(0);
    readStatus();
    if (change_.CheckOnOpen(*db_, script_)) {
        readStatus();
        // Asked once the project's window is shown.
        QTimer::singleShot(0, this, &CTesselDoc::askUpdateOnOpen);
    }
    emit titleChanged();
    return true;
}

void CTesselDoc::askUpdateOnOpen()
{
    if (!db_ || !change_.updateNeeded())
        return;
    const QString question = Text(msg::Format(msg::AskUpdateChangedSource, {script_.string()}));
    if (prompter_.Ask(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        UpdateDatabase();
}

void CTesselDoc::readStatus()
{
    try {
        status_ = db_ ? db_->GetStatus().value_or(0) : 0;
    } catch (const sql::Error&) {
        status_ = 0;
    }
}

void CTesselDoc::RecomputeStatus()
{
    if (!db_)
        return;
    try {
        status_ = RecomputeProjectStatus(*db_);
    } catch (const sql::Error& e) {
        showFailure(DatabaseErrorMessage(e));
    }
    emit titleChanged();
}

std::vector<Translation> CTesselDoc::translations()
{
    std::vector<Translation> list;
    if (!db_)
        return list;
    try {
        for (const LanguagePair& language : ListLanguages(*db_)) {
            const int row = FindLanguageRow(language.primary, language.sub);
            const QString name = row >= 0 ? Text(LanguageTable()[static_cast<std::size_t>(row)].displayName)
                                          : Text(LanguageIdentString(language.primary, language.sub));
            list.push_back({language, name});
        }
    } catch (const sql::Error&) {
    }
    return list;
}

QString CTesselDoc::title() const
{
    std::string name = opened_.filename().string();
    if (change_.updateNeeded())
        name = OutOfDateTitle(name, openedThroughDatabase_ ? script_.filename().string() : std::string());
    const std::string_view state = ProjectStateText(status_);
    if (state.empty())
        return Text(name);
    return Text(msg::Format(msg::ProjectTitleWithState, {name, state}));
}

void CTesselDoc::setModified(bool modified)
{
    if (modified_ == modified)
        return;
    modified_ = modified;
    emit modifiedChanged(modified);
}

bool CTesselDoc::Save()
{
    if (!db_)
        return false;
    TranslationsWriteResult written;
    {
        CProgressWindow progress(window_, Text(msg::Format(msg::StatusSaveFile, {script_.filename().string()})),
                                 [this](const QString& text) { emit statusText(text); });
        WriteOptions options;
        options.progress = &progress;
        options.beep = [this] { prompter_.Beep(); };
        try {
            written = WriteTranslations(*db_, script_, options);
        } catch (const sql::Error& e) {
            showFailure(DatabaseErrorMessage(e));
            return false;
        }
    }
    for (const WriteResult& result : written.results)
        if (result.status != WriteStatus::Written && !result.message.empty())
            showFailure(result.message);
    if (written.AnyWritten())
        setModified(false);
    return written.AnyWritten();
}

bool CTesselDoc::RefreshStatus()
{
    if (!db_ || change_.updateNeeded())
        return false;
    bool changed = false;
    try {
        changed = change_.Refresh(*db_, script_);
    } catch (const sql::Error& e) {
        showFailure(DatabaseErrorMessage(e));
        return false;
    }
    if (changed) {
        readStatus();
        emit titleChanged();
    }
    return changed;
}

bool CTesselDoc::UpdateDatabase()
{
    if (!db_)
        return false;
    std::error_code ec;
    if (!fs::exists(script_, ec))
        return false;
    if (isOlderFormat()) {
        prompter_.Show(QMessageBox::Warning,
                       Text(msg::Format(msg::UpdateNeedsConversion, {databasePath_.string()})));
        return false;
    }
    UpdateResult result;
    {
        CProgressWindow progress(window_, Text(msg::Format(msg::UpdateProgressTitle, {script_.string()})),
                                 [this](const QString& text) { emit statusText(text); });
        // The update replaces the file: the document lets go of it meanwhile.
        db_.reset();
        UpdateRequest request;
        request.script = script_;
        request.database = databasePath_;
        request.progress = &progress;
        result = qln::UpdateDatabase(request);
        try {
            db_ = std::make_unique<CProjectDatabase>(databasePath_);
        } catch (const sql::Error& e) {
            showFailure(DatabaseErrorMessage(e), databasePath_.string());
            emit reloaded();
            return false;
        }
    }
    if (!result.warning.empty())
        prompter_.Show(QMessageBox::Information, Text(result.warning));
    switch (result.outcome) {
    case UpdateOutcome::Updated:
        change_.SetUpdateNeeded(false);
        readStatus();
        prompter_.Show(QMessageBox::Information, Text(result.message));
        emit reloaded();
        emit titleChanged();
        return true;
    case UpdateOutcome::Cancelled:
        prompter_.Show(QMessageBox::Information, Text(result.message));
        return false;
    case UpdateOutcome::NeedsConversion:
        prompter_.Show(QMessageBox::Warning, Text(result.message));
        return false;
    case UpdateOutcome::NoScript:
        return false;
    case UpdateOutcome::Failed:
        showFailure(result.message, result.errorDetail);
        return false;
    }
    return false;
}

bool CTesselDoc::CanClose()
{
    if (!modified_)
        return true;
    const QString question = Text(msg::Format(msg::AskSaveChanges, {opened_.filename().string()}));
    switch (prompter_.Ask(QMessageBox::Warning, question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Save();
    case QMessageBox::No: return true;
    default: return false;
    }
}

}  // namespace qln
