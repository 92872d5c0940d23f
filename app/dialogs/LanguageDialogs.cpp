#include "app/dialogs/LanguageDialogs.h"

#include "app/dialogs/DialogParts.h"
#include "app/dialogs/FontField.h"
#include "app/dialogs/Prompts.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qln::ui {

namespace fs = std::filesystem;

bool ConfirmTranslationFile(QWidget* parent, Prompts& prompts, CProjectDatabase& project, const fs::path& script,
                            const QString& name, std::optional<LanguagePair> editing)
{
    const FileNameCheckResult check =
        CheckTranslationFileChoice(project, script, ToStdString(name.trimmed()), editing);
    switch (check.check) {
    case FileNameCheck::Ok: return true;
    case FileNameCheck::AskOverwrite: return prompts.Ask(parent, check.message, MessageIcon::Question);
    case FileNameCheck::IsSourceFile:
    case FileNameCheck::Invalid:
    case FileNameCheck::InUse: break;
    }
    prompts.Show(parent, check.message, MessageIcon::Exclamation);
    return false;
}

void FillCodePages(QComboBox& box, int codePage)
{
    box.clear();
    for (const CodePageChoice& choice : CodePageChoices())
        box.addItem(ToQString(choice.label), choice.number);
    int index = box.findData(codePage);
    if (index < 0) {
        box.addItem(QString::number(codePage), codePage);
        index = box.count() - 1;
    }
    box.setCurrentIndex(index);
}

int SelectedCodePage(const QComboBox& box) { return box.currentData().toInt(); }

// --- New translation --------------------------------------------------------------------

NewTranslationDialog::NewTranslationDialog(CProjectDatabase& project, fs::path script, Prompts& prompts,
                                           QWidget* parent)
    : QDialog(parent), project_(project), script_(std::move(script)), prompts_(prompts),
      choices_(NewLanguageChoices(project, script_)), languages_(new QListWidget(this)),
      codePages_(new QComboBox(this)), file_(new QLineEdit(this)), browse_(new QPushButton(tr("&Browse..."), this)),
      font_(new FontField(prompts, this))
{
    setWindowTitle(tr("New Translation"));
    for (const LanguageChoice& choice : choices_) {
        auto* item = new QListWidgetItem(ToQString(choice.entry->displayName), languages_);
        // A language the project already has stays listed, shown as taken.
        if (choice.taken)
            item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(file_, 1);
    fileRow->addWidget(browse_);
    auto* form = new QFormLayout;
    form->addRow(Buddy(tr("&Language:"), languages_, this), languages_);
    form->addRow(Buddy(tr("&Code page:"), codePages_, this), codePages_);
    form->addRow(Buddy(tr("&File name:"), file_, this), fileRow);
    form->addRow(Buddy(tr("Fo&nt:"), font_->button(), this), font_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(OkCancel(this));
    connect(languages_, &QListWidget::currentRowChanged, this, &NewTranslationDialog::languageChanged);
    connect(browse_, &QPushButton::clicked, this, &NewTranslationDialog::browse);
    // The first language the project does not have yet.
    int first = 0;
    while (first < static_cast<int>(choices_.size()) && choices_[static_cast<std::size_t>(first)].taken)
        ++first;
    languages_->setCurrentRow(first < static_cast<int>(choices_.size()) ? first : 0);
    languages_->setFocus();
}

void NewTranslationDialog::languageChanged(int row)
{
    if (row < 0 || row >= static_cast<int>(choices_.size()))
        return;
    const LanguageChoice& choice = choices_[static_cast<std::size_t>(row)];
    FillCodePages(*codePages_, choice.defaultCodePage);
    file_->setText(ToQString(choice.defaultFileName));
    font_->setFont({choice.defaultFont, choice.entry->charSet});
}

void NewTranslationDialog::browse()
{
    const QString dir = ToQString(fs::absolute(script_).parent_path().string());
    const QString chosen = prompts_.SaveFile(this, tr("Translation File Name"),
                                             "Resource Script File (*.rc)|*.rc|All Files (*.*)|*.*||",
                                             dir + QLatin1Char('/') + file_->text());
    if (!chosen.isEmpty())
        file_->setText(ToQString(StoredTranslationName(script_, ToStdString(chosen))));
}

NewTranslationChoice NewTranslationDialog::choice() const
{
    NewTranslationChoice choice;
    const int row = languages_->currentRow();
    if (row >= 0 && row < static_cast<int>(choices_.size())) {
        const LanguageEntry& entry = *choices_[static_cast<std::size_t>(row)].entry;
        choice.language = {entry.primary, entry.sub};
    }
    choice.codePage = SelectedCodePage(*codePages_);
    choice.fileName = ToStdString(file_->text().trimmed());
    choice.font = font_->font();
    return choice;
}

void NewTranslationDialog::accept()
{
    const int row = languages_->currentRow();
    if (row < 0 || row >= static_cast<int>(choices_.size()))
        return;
    const LanguageChoice& picked = choices_[static_cast<std::size_t>(row)];
    if (picked.taken) {
        const LanguagePair language{picked.entry->primary, picked.entry->sub};
        prompts_.Show(this, msg::Format(msg::LanguageAlreadyExists, {ToStdString(DisplayName(language))}),
                      MessageIcon::Exclamation);
        languages_->setFocus();
        return;
    }
    if (!ConfirmTranslationFile(this, prompts_, project_, script_, file_->text(), std::nullopt)) {
        file_->setFocus();
        file_->selectAll();
        return;
    }
    QDialog::accept();
}

std::optional<LanguagePair> RunNewTranslationCommand(QWidget* parent, CProjectDatabase& project,
                                                     const fs::path& script, Prompts& prompts)
{
    NewTranslationDialog dialog(project, script, prompts, parent);
    if (!prompts.Run(dialog))
        return std::nullopt;
    const NewTranslationChoice choice = dialog.choice();
    const LanguageResult result = AddTranslation(project, script, choice);
    switch (result.status) {
    case LanguageStatus::Ok:
        if (!result.message.empty())
            prompts.Show(parent, result.message, MessageIcon::Stop);
        return choice.language;
    case LanguageStatus::AlreadyExists: prompts.Show(parent, result.message, MessageIcon::Exclamation); break;
    case LanguageStatus::Failed:
    case LanguageStatus::NoTranslation: prompts.Show(parent, result.message, MessageIcon::Stop); break;
    }
    return std::nullopt;
}

// --- Delete translation ---------------------------------------------------------------------

DeleteTranslationDialog::DeleteTranslationDialog(std::vector<LanguagePair> translations, QWidget* parent)
    : QDialog(parent), translations_(std::move(translations)), list_(new QListWidget(this))
{
    setWindowTitle(tr("Delete Translation"));
    for (const LanguagePair& language : translations_)
        list_->addItem(DisplayName(language));
    list_->setCurrentRow(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Buddy(tr("&Translation:"), list_, this));
    layout->addWidget(list_);
    layout->addWidget(OkCancel(this));
}

std::optional<LanguagePair> DeleteTranslationDialog::choice() const
{
    return EntryAt(translations_, list_->currentRow());
}

std::optional<LanguagePair> RunDeleteTranslationCommand(QWidget* parent, CProjectDatabase& project,
                                                        Prompts& prompts)
{
    const std::vector<LanguagePair> translations = ListLanguages(project);
    if (translations.empty()) {
        prompts.Show(parent, std::string(msg::NoTranslationToDelete), MessageIcon::Information);
        return std::nullopt;
    }
    DeleteTranslationDialog dialog(translations, parent);
    if (!prompts.Run(dialog))
        return std::nullopt;
    const std::optional<LanguagePair> language = dialog.choice();
    if (!language)
        return std::nullopt;
    const std::string name = ToStdString(DisplayName(*language));
    if (!prompts.Ask(parent, msg::Format(msg::AskDeleteTranslation, {name})))
        return std::nullopt;
    const LanguageResult result = DeleteLanguage(project, language->primary, language->sub);
    if (result.status != LanguageStatus::Ok) {
        prompts.Show(parent, result.message, MessageIcon::Stop);
        return std::nullopt;
    }
    RecomputeProjectStatus(project);
    return language;
}

}  // namespace qln::ui
