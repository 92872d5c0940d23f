#pragma once
// Export Text to Excel..., Export Text to Database... and Import Text ...: the
// dialogs that choose columns, languages and files, and the commands that run
// the core's export and import under a progress window with Cancel.

#include "project/ImportScript.h"
#include "project/TextTable.h"
#include "project/Worksheet.h"

#include <QDialog>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QComboBox;
class QListWidget;

namespace qln {
class CProjectDatabase;
}

namespace qln::ui {

class Prompts;

// The column choice of an export: "Id's", "Source" and the project's
// translations (multiple selection), or only the translations.
class ExportColumnsDialog : public QDialog {
    Q_OBJECT
public:
    ExportColumnsDialog(std::vector<LanguagePair> languages, bool withTextColumns, QWidget* parent = nullptr);

    WorksheetColumns columns() const;
    QListWidget* list() const { return list_; }

private:
    std::vector<LanguagePair> languages_;
    bool withTextColumns_;
    QListWidget* list_;
};

// The target language of a script import: one of the project's translations
// (listed first) or any language of the language table (a new translation).
class ImportLanguageDialog : public QDialog {
    Q_OBJECT
public:
    ImportLanguageDialog(const std::vector<LanguagePair>& translations, bool offerNew, QWidget* parent = nullptr);

    std::optional<LanguagePair> language() const;
    QComboBox* box() const { return box_; }

private:
    std::vector<LanguagePair> choices_;
    QComboBox* box_;
};

bool RunExportExcelCommand(QWidget* parent, CProjectDatabase& project, const TextTableFilter& filter,
                           Prompts& prompts);

// `isOpen` tells whether a file is open as a document of the program.
bool RunExportDatabaseCommand(QWidget* parent, CProjectDatabase& project,
                              const std::function<bool(const std::filesystem::path&)>& isOpen, Prompts& prompts);

// What the import remembers while the program runs: the type of the last
// import file ("xls", "rc", "mdb") and, through the document's settings, its name.
struct ImportMemory {
    std::string lastType = "xls";
    std::string lastFile;
};

struct ImportOutcome {
    bool changed = false;        // texts or a language were stored: the views reload
    bool languageAdded = false;
};

// `project` is the document's database: a script or database import closes it
// and opens it again. `isOpen` as for the database export.
ImportOutcome RunImportTextCommand(QWidget* parent, std::unique_ptr<CProjectDatabase>& project,
                                   ImportMemory& memory,
                                   const std::function<bool(const std::filesystem::path&)>& isOpen,
                                   Prompts& prompts);

// The import dialog's filter: the part of the last import type first.
std::string ImportFilter(std::string_view lastType);

}  // namespace qln::ui
