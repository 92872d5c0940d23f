#include "app/dialogs/SettingsSheet.h"

#include "app/dialogs/DialogParts.h"
#include "app/dialogs/FontField.h"
#include "app/dialogs/LanguageDialogs.h"
#include "app/dialogs/Prompts.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace qln::ui {

namespace fs = std::filesystem;

namespace {

QWidget* FormPage(QTabWidget* tabs, const QString& title, QFormLayout*& form)
{
    auto* page = new QWidget(tabs);
    form = new QFormLayout(page);
    tabs->addTab(page, title);
    return page;
}

}  // namespace

SettingsSheet::SettingsSheet(CProjectDatabase& project, fs::path script, const SourceSettings& current,
                             Prompts& prompts, QWidget* parent)
    : QDialog(parent), project_(project), script_(std::move(script)), prompts_(prompts), source_(current)
{
    setWindowTitle(ToQString(msg::SourceSettingsTitle));
    build();
}

SettingsSheet::SettingsSheet(CProjectDatabase& project, fs::path script, LanguagePair language,
                             const TranslationSettings& current, Prompts& prompts, QWidget* parent)
    : QDialog(parent), project_(project), script_(std::move(script)), prompts_(prompts), language_(language),
      translation_(current)
{
    const auto name = LanguageDisplayName(language.primary, language.sub);
    setWindowTitle(ToQString(msg::Format(msg::TranslationSettingsTitle, {name.value_or("")})));
    build();
}

void SettingsSheet::build()
{
    tabs_ = new QTabWidget(this);
    QFormLayout* form = nullptr;
    if (!language_) {
        FormPage(tabs_, tr("Source File"), form);
        auto* path = new QLineEdit(ToQString(script_.string()), this);
        path->setReadOnly(true);
        form->addRow(Buddy(tr("&Source Resource File Name:"), path, this), path);
        FormPage(tabs_, tr("Include Files"), form);
        include_ = new QLineEdit(ToQString(source_.includeExtensions), this);
        form->addRow(Buddy(tr("&Include file extensions:"), include_, this), include_);
        form->addRow(new QLabel(tr("Extensions without the dot, separated by blanks or commas (e.g. rc2, dlg)."),
                                this));
    } else {
        FormPage(tabs_, tr("File"), form);
        file_ = new QLineEdit(ToQString(translation_.fileName), this);
        const auto name = LanguageDisplayName(language_->primary, language_->sub);
        form->addRow(Buddy(ToQString(msg::Format(msg::TranslationFileLabel, {name.value_or("")})), file_, this),
                     file_);
        FormPage(tabs_, tr("Code Page"), form);
        codePage_ = new QComboBox(this);
        FillCodePages(*codePage_, translation_.codePage);
        form->addRow(Buddy(tr("&Code page:"), codePage_, this), codePage_);
    }
    addFontPage();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(OkCancel(this));
    // A sheet keeps one size for all its pages.
    setMinimumSize(460, 220);
}

void SettingsSheet::addFontPage()
{
    QFormLayout* form = nullptr;
    FormPage(tabs_, tr("Font"), form);
    font_ = new FontField(prompts_, this);
    font_->setFont(language_ ? translation_.font : source_.font);
    form->addRow(Buddy(tr("&Text font:"), font_->button(), this), font_);
}

SourceSettings SettingsSheet::sourceSettings() const
{
    SourceSettings settings = source_;
    if (include_)
        settings.includeExtensions = ToStdString(include_->text());
    settings.font = font_->font();
    return settings;
}

TranslationSettings SettingsSheet::translationSettings() const
{
    TranslationSettings settings = translation_;
    if (file_)
        settings.fileName = ToStdString(file_->text().trimmed());
    if (codePage_)
        settings.codePage = SelectedCodePage(*codePage_);
    settings.font = font_->font();
    return settings;
}

void SettingsSheet::accept()
{
    if (include_) {
        const IncludeListCheck check = CheckIncludeExtensions(ToStdString(include_->text()));
        if (!check.ok) {
            prompts_.Show(this, check.message, MessageIcon::Exclamation);
            tabs_->setCurrentWidget(include_->parentWidget());
            include_->setFocus();
            include_->selectAll();
            return;
        }
    }
    if (file_) {
        const QString name = file_->text().trimmed();
        const bool changed = ToStdString(name) != translation_.fileName;
        if (changed && !ConfirmTranslationFile(this, prompts_, project_, script_, name, language_)) {
            tabs_->setCurrentWidget(file_->parentWidget());
            file_->setFocus();
            file_->selectAll();
            return;
        }
    }
    QDialog::accept();
}

std::optional<std::optional<LanguagePair>> SettingsTarget(CProjectDatabase& project, int commandId)
{
    if (commandId == 301)
        return std::optional<LanguagePair>{};
    const std::vector<LanguagePair> languages = ListLanguages(project);
    const int index = commandId - 302;
    if (commandId > 331 || index < 0 || index >= static_cast<int>(languages.size()))
        return std::nullopt;
    return std::optional<LanguagePair>{languages[static_cast<std::size_t>(index)]};
}

SettingsOutcome RunSettingsCommand(QWidget* parent, CProjectDatabase& project, const fs::path& script,
                                   std::optional<LanguagePair> language, const SettingsHooks& hooks,
                                   Prompts& prompts)
{
    SettingsOutcome outcome;
    try {
        if (language) {
            const TranslationSettings before = ReadTranslationSettings(project, *language);
            SettingsSheet sheet(project, script, *language, before, prompts, parent);
            if (!prompts.Run(sheet))
                return outcome;
            outcome.accepted = true;
            outcome.modified =
                ApplyTranslationSettings(project, script, *language, before, sheet.translationSettings());
            return outcome;
        }
        SourceSettings before;
        if (std::optional<std::string> stored = StoredIncludeExtensions(project))
            before.includeExtensions = *stored;
        else if (!project.UsesLangId() && hooks.settingsFileIncludes)
            before.includeExtensions = hooks.settingsFileIncludes();
        before.font = GetSourceFont(project).value_or(FontChoice{});
        SettingsSheet sheet(project, script, before, prompts, parent);
        if (!prompts.Run(sheet))
            return outcome;
        outcome.accepted = true;
        const SourceSettings after = sheet.sourceSettings();
        const IncludeListChange change =
            ApplyIncludeExtensions(project, after.includeExtensions, before.includeExtensions);
        if (change.inSettingsFile && hooks.storeSettingsFileIncludes)
            hooks.storeSettingsFileIncludes(change.stored);
        if (after.font.name != before.font.name)
            SetSourceFont(project, after.font);
        if (change.outOfDate) {
            outcome.outOfDate = true;
            prompts.Show(parent, std::string(msg::IncludeListChanged), MessageIcon::Exclamation);
        }
    } catch (const sql::Error& e) {
        prompts.Show(parent, DatabaseErrorMessage(e), MessageIcon::Stop);
    }
    return outcome;
}

}  // namespace qln::ui
