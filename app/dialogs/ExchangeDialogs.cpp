#include "app/dialogs/ExchangeDialogs.h"

#include "app/dialogs/DialogParts.h"
#include "app/dialogs/ProgressWindow.h"
#include "app/dialogs/Prompts.h"
#include "project/DatabaseExchange.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <QComboBox>

#include <algorithm>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qln::ui {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kWorksheetFilter =
    "Microsoft Excel File (*.xlsx)|*.xlsx|CSV (Character Separated Values) (*.csv)|*.csv||";
constexpr std::string_view kDatabaseFilter = "Database File (*.mdb)|*.mdb||";
constexpr std::string_view kFilterEnd = "All Files (*.*)|*.*||";

// A file chosen in a save dialog gets the first extension of the filter when it has none.
fs::path WithExtension(const QString& chosen, std::string_view extension)
{
    fs::path path = ToStdString(chosen);
    if (path.extension().empty())
        path += std::string(extension);
    return path;
}

QString StartPath(const CProjectDatabase& project, std::string_view extension)
{
    fs::path start = project.path();
    start.replace_extension(std::string(extension));
    return ToQString(start.string());
}

void ShowNotes(QWidget* parent, Prompts& prompts, const std::vector<std::string>& notes)
{
    for (const std::string& note : notes)
        prompts.Show(parent, note, MessageIcon::Exclamation);
}

// The messages of a script or database import; true when it stored something.
bool ReportImport(QWidget* parent, Prompts& prompts, const ImportResult& result)
{
    ShowNotes(parent, prompts, result.notes);
    switch (result.status) {
    case ImportStatus::NotStarted: return false;
    case ImportStatus::Cancelled:
        prompts.Show(parent, std::string(msg::WorksheetImportAborted), MessageIcon::Information);
        return false;
    case ImportStatus::Failed: prompts.Show(parent, result.message, MessageIcon::Stop); return false;
    case ImportStatus::Imported:
    case ImportStatus::Nothing: prompts.Show(parent, result.message, MessageIcon::Information); break;
    }
    return result.imported > 0 || result.languageAdded;
}

std::optional<LanguagePair> AskLanguage(QWidget* parent, Prompts& prompts, const std::vector<LanguagePair>& list,
                                        bool offerNew)
{
    ImportLanguageDialog dialog(list, offerNew, parent);
    if (!prompts.Run(dialog))
        return std::nullopt;
    return dialog.language();
}

}  // namespace

// --- Dialogs ---------------------------------------------------------------------------

ExportColumnsDialog::ExportColumnsDialog(std::vector<LanguagePair> languages, bool withTextColumns, QWidget* parent)
    : QDialog(parent), languages_(std::move(languages)), withTextColumns_(withTextColumns),
      list_(new QListWidget(this))
{
    setWindowTitle(withTextColumns ? tr("Export Text to Excel") : ToQString(msg::ExportDbDialogTitle));
    list_->setSelectionMode(QAbstractItemView::MultiSelection);
    if (withTextColumns) {
        list_->addItem(ToQString(msg::ExportColumnIds));
        list_->addItem(ToQString(msg::ExportColumnSource));
    }
    for (const LanguagePair& language : languages_)
        list_->addItem(DisplayName(language));
    list_->selectAll();
    list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Buddy(withTextColumns ? tr("&Columns to export:") : tr("&Translations to keep:"), list_, this));
    layout->addWidget(list_);
    layout->addWidget(OkCancel(this));
}

WorksheetColumns ExportColumnsDialog::columns() const
{
    WorksheetColumns columns;
    const int first = withTextColumns_ ? 2 : 0;
    columns.identifiers = withTextColumns_ && list_->item(0)->isSelected();
    columns.source = withTextColumns_ && list_->item(1)->isSelected();
    for (std::size_t i = 0; i < languages_.size(); ++i)
        if (list_->item(first + static_cast<int>(i))->isSelected())
            columns.languages.push_back(languages_[i]);
    return columns;
}

ImportLanguageDialog::ImportLanguageDialog(const std::vector<LanguagePair>& translations, bool offerNew,
                                           QWidget* parent)
    : QDialog(parent), choices_(translations), box_(new QComboBox(this))
{
    setWindowTitle(ToQString(msg::ImportDialogTitle));
    if (offerNew) {
        for (const LanguageEntry& entry : LanguageTable()) {
            const bool listed = std::any_of(translations.begin(), translations.end(), [&](const LanguagePair& t) {
                return t.primary == entry.primary && t.sub == entry.sub;
            });
            if (!listed)
                choices_.push_back({entry.primary, entry.sub});
        }
    }
    for (std::size_t i = 0; i < choices_.size(); ++i) {
        const QString name = i < translations.size() ? DisplayName(choices_[i])
                                                     : ToQString(LanguageTable()[static_cast<std::size_t>(FindLanguageRow(
                                                           choices_[i].primary, choices_[i].sub))].displayName);
        box_->addItem(name);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Buddy(tr("Import the texts into the &language:"), box_, this));
    layout->addWidget(box_);
    layout->addWidget(OkCancel(this));
}

std::optional<LanguagePair> ImportLanguageDialog::language() const
{
    return EntryAt(choices_, box_->currentIndex());
}

// --- Export ----------------------------------------------------------------------------

bool RunExportExcelCommand(QWidget* parent, CProjectDatabase& project, const TextTableFilter& filter,
                           Prompts& prompts)
{
    ExportColumnsDialog dialog(ListLanguages(project), true, parent);
    if (!prompts.Run(dialog))
        return false;
    const WorksheetColumns columns = dialog.columns();
    if (!columns.identifiers && !columns.source && columns.languages.empty())
        return false;
    const QString chosen =
        prompts.SaveFile(parent, QObject::tr("Export Text to Excel"), kWorksheetFilter, StartPath(project, ".xlsx"));
    if (chosen.isEmpty())
        return false;
    const fs::path file = WithExtension(chosen, ".xlsx");
    WorksheetExportResult result;
    {
        ProgressWindow progress(parent, QObject::tr("Export Text to Excel"));
        result = ExportWorksheet(project, file, columns, filter, progress);
    }
    if (result.cancelled) {
        prompts.Show(parent, std::string(msg::ExportAborted), MessageIcon::Information);
        return false;
    }
    if (!result.ok) {
        prompts.Show(parent, result.message, MessageIcon::Stop);
        return false;
    }
    if (prompts.Ask(parent, msg::Format(msg::ExportOpenWorkbook, {file.string(), std::to_string(result.rows)})))
        QDesktopServices::openUrl(QUrl::fromLocalFile(ToQString(file.string())));
    return true;
}

bool RunExportDatabaseCommand(QWidget* parent, CProjectDatabase& project,
                              const std::function<bool(const fs::path&)>& isOpen, Prompts& prompts)
{
    ExportColumnsDialog dialog(ListLanguages(project), false, parent);
    if (!prompts.Run(dialog))
        return false;
    const QString chosen = prompts.SaveFile(parent, ToQString(msg::ExportDbDialogTitle), kDatabaseFilter,
                                            StartPath(project, "_export.mdb"));
    if (chosen.isEmpty())
        return false;
    DatabaseExportOptions options;
    options.languages = dialog.columns().languages;
    options.isOpen = isOpen;
    const fs::path target = WithExtension(chosen, ".mdb");
    ExportResult result = ExportDatabase(project, target, options);
    if (result.status == ExportStatus::AskOverwrite) {
        if (!prompts.Ask(parent, result.message))
            return false;
        options.overwrite = true;
        result = ExportDatabase(project, target, options);
    }
    switch (result.status) {
    case ExportStatus::Exported: prompts.Show(parent, result.message, MessageIcon::Information); return true;
    case ExportStatus::Refused: prompts.Show(parent, result.message, MessageIcon::Exclamation); break;
    case ExportStatus::AskOverwrite:
    case ExportStatus::Failed: prompts.Show(parent, result.message, MessageIcon::Stop); break;
    }
    return false;
}

// --- Import ------------------------------------------------------------------------------

std::string ImportFilter(std::string_view lastType)
{
    std::string parts[] = {std::string(msg::ImportFilterWorksheet), std::string(msg::ImportFilterDatabase),
                           std::string(msg::ImportFilterScript)};
    const int first = EqualsNoCase(lastType, "mdb") ? 1 : EqualsNoCase(lastType, "rc") ? 2 : 0;
    std::string filter = parts[first];
    for (int i = 0; i < 3; ++i)
        if (i != first)
            filter += parts[i];
    return filter + std::string(kFilterEnd);
}

ImportOutcome RunImportTextCommand(QWidget* parent, std::unique_ptr<CProjectDatabase>& project, ImportMemory& memory,
                                   const std::function<bool(const fs::path&)>& isOpen, Prompts& prompts)
{
    ImportOutcome outcome;
    if (!project)
        return outcome;
    const QString chosen = prompts.OpenFile(parent, ToQString(msg::ImportDialogTitle), ImportFilter(memory.lastType),
                                            ToQString(memory.lastFile));
    if (chosen.isEmpty())
        return outcome;
    const fs::path file = ToStdString(chosen);
    const ImportFileType type = ClassifyImportFile(file);
    if (type == ImportFileType::Unsupported) {
        prompts.Show(parent, UnsupportedImportMessage(file), MessageIcon::Exclamation);
        return outcome;
    }
    const QString title = ToQString(msg::Format(msg::ImportProgressTitle, {file.string()}));
    if (type == ImportFileType::Worksheet) {
        memory.lastType = "xls";
        WorksheetImportOptions options;
        options.confirmAddLanguage = [&](const std::string& question) { return prompts.Ask(parent, question); };
        WorksheetImportResult result;
        {
            ProgressWindow progress(parent, title);
            result = ImportWorksheet(*project, file, options, progress);
        }
        ShowNotes(parent, prompts, result.notices);
        prompts.Show(parent, result.message, result.ok ? MessageIcon::Information : MessageIcon::Stop);
        outcome.languageAdded = !result.addedLanguages.empty();
        outcome.changed = result.ok && (result.imported > 0 || outcome.languageAdded);
    } else if (type == ImportFileType::Database) {
        memory.lastType = "mdb";
        std::vector<LanguagePair> offered;
        if (!SameFile(file, project->path()) && IsProjectDatabase(file)) {
            try {
                CProjectDatabase source(file, sql::Database::Mode::ReadOnly);
                offered = ListLanguages(source);
            } catch (const sql::Error&) {
                // The import itself reports why the file cannot be read.
            }
        }
        std::optional<LanguagePair> language = offered.empty() ? std::optional<LanguagePair>(LanguagePair{0, 0})
                                                               : AskLanguage(parent, prompts, offered, false);
        if (!language)
            return outcome;
        DatabaseImportOptions options;
        options.sourceOpen = isOpen && isOpen(file);
        ImportResult result;
        {
            ProgressWindow progress(parent, title);
            options.progress = &progress;
            result = ImportFromDatabase(project, file, *language, options);
        }
        outcome.changed = ReportImport(parent, prompts, result);
        outcome.languageAdded = result.languageAdded;
    } else {
        memory.lastType = "rc";
        const std::optional<LanguagePair> language = AskLanguage(parent, prompts, ListLanguages(*project), true);
        if (!language)
            return outcome;
        ImportResult result;
        {
            ProgressWindow progress(parent, title);
            ScriptImportOptions options;
            options.progress = &progress;
            result = ImportTranslatedScript(project, file, *language, options);
        }
        outcome.changed = ReportImport(parent, prompts, result);
        outcome.languageAdded = result.languageAdded;
    }
    memory.lastFile = file.string();
    return outcome;
}

}  // namespace qln::ui
