#include "app/DialogCommands.h"

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "app/dialogs/DatabaseTools.h"
#include "app/dialogs/LanguageDialogs.h"
#include "app/dialogs/SettingsSheet.h"
#include "app/dialogs/ToolbarsSheet.h"
#include "projectdb/FileChecks.h"
#include "projectdb/ProjectDatabase.h"

#include <QAction>

namespace qln {

namespace fs = std::filesystem;

namespace {

QMessageBox::Icon BoxIcon(ui::MessageIcon icon)
{
    switch (icon) {
    case ui::MessageIcon::Information: return QMessageBox::Information;
    case ui::MessageIcon::Exclamation: return QMessageBox::Warning;
    case ui::MessageIcon::Stop: return QMessageBox::Critical;
    case ui::MessageIcon::Question: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void PrompterPrompts::Show(QWidget*, const std::string& text, ui::MessageIcon icon)
{
    prompter_.Show(BoxIcon(icon), Text(text));
}

bool PrompterPrompts::Ask(QWidget*, const std::string& text, ui::MessageIcon icon)
{
    return prompter_.Ask(BoxIcon(icon), Text(text), QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

CDialogCommands::CDialogCommands(CTesselApp& app, CMainFrame& frame)
    : QObject(&frame), app_(app), frame_(frame), defaultPrompts_(app.prompter()), prompts_(&defaultPrompts_)
{
    setObjectName(QStringLiteral("DialogCommands"));
    importMemory_.lastFile = app.settings().lastImportFile().toStdString();
    connectCommand(cmd::TranslationNew, &CDialogCommands::OnTranslationNew);
    connectCommand(cmd::TranslationDelete, &CDialogCommands::OnTranslationDelete);
    connectCommand(cmd::ExportExcel, &CDialogCommands::OnExportExcel);
    connectCommand(cmd::ExportDatabase, &CDialogCommands::OnExportDatabase);
    connectCommand(cmd::ImportText, &CDialogCommands::OnImportText);
    connectCommand(cmd::ViewToolbars, &CDialogCommands::OnToolbars);
    connectCommand(cmd::ConvertDatabase, &CDialogCommands::OnConvertDatabase);
    connectCommand(cmd::CompactDatabase, &CDialogCommands::OnCompactDatabase);
    for (int id = cmd::SettingsSource; id <= cmd::SettingsLastLanguage; ++id)
        if (QAction* action = frame.command(id))
            connect(action, &QAction::triggered, this, [this, id] { OnSettings(id); });
}

void CDialogCommands::connectCommand(int id, void (CDialogCommands::*handler)())
{
    if (QAction* action = frame_.command(id))
        connect(action, &QAction::triggered, this, handler);
}

CTesselDoc* CDialogCommands::activeDocument() const
{
    CChildFrame* child = frame_.activeChild();
    CTesselDoc* doc = child ? child->document() : nullptr;
    return doc && doc->database() ? doc : nullptr;
}

bool CDialogCommands::isOpen(const fs::path& file) const
{
    for (CChildFrame* child : frame_.children())
        if (SameFile(child->document()->databasePath(), file) || SameFile(child->document()->scriptPath(), file))
            return true;
    return false;
}

void CDialogCommands::OnTranslationNew()
{
    if (CTesselDoc* doc = activeDocument())
        if (ui::RunNewTranslationCommand(&frame_, *doc->database(), doc->scriptPath(), *prompts_))
            doc->TranslationsChanged(false);
}

void CDialogCommands::OnTranslationDelete()
{
    if (CTesselDoc* doc = activeDocument())
        if (ui::RunDeleteTranslationCommand(&frame_, *doc->database(), *prompts_))
            doc->TranslationsChanged(true);
}

void CDialogCommands::OnSettings(int id)
{
    CTesselDoc* doc = activeDocument();
    if (!doc)
        return;
    const auto target = ui::SettingsTarget(*doc->database(), id);
    if (!target)
        return;
    CSettings& settings = app_.settings();
    ui::SettingsHooks hooks{[&settings] { return settings.includeExtensions().toStdString(); },
                            [&settings](const std::string& list) {
                                settings.setIncludeExtensions(QString::fromStdString(list));
                            }};
    const ui::SettingsOutcome outcome =
        ui::RunSettingsCommand(&frame_, *doc->database(), doc->scriptPath(), *target, hooks, *prompts_);
    if (outcome.modified)
        doc->setModified(true);
    if (outcome.outOfDate)
        doc->MarkIncludeListChanged();
}

void CDialogCommands::OnExportExcel()
{
    if (CTesselDoc* doc = activeDocument())
        ui::RunExportExcelCommand(&frame_, *doc->database(), TextTableFilter::FromProject(*doc->database()),
                                  *prompts_);
}

void CDialogCommands::OnExportDatabase()
{
    if (CTesselDoc* doc = activeDocument())
        ui::RunExportDatabaseCommand(&frame_, *doc->database(), [this](const fs::path& f) { return isOpen(f); },
                                     *prompts_);
}

void CDialogCommands::OnImportText()
{
    CTesselDoc* doc = activeDocument();
    if (!doc)
        return;
    const ui::ImportOutcome outcome = ui::RunImportTextCommand(
        &frame_, doc->databaseOwner(), importMemory_, [this](const fs::path& f) { return isOpen(f); }, *prompts_);
    if (!importMemory_.lastFile.empty())
        app_.settings().setLastImportFile(QString::fromStdString(importMemory_.lastFile));
    if (outcome.changed)
        doc->TranslationsChanged(true);
}

void CDialogCommands::OnToolbars()
{
    std::vector<ui::ToolbarEntry> bars;
    for (const CMainFrame::Bar& bar : frame_.barTable())
        bars.push_back({bar.id, bar.name, bar.widget});
    ui::RunToolbarsCommand(&frame_, bars, *prompts_);
}

void CDialogCommands::OnConvertDatabase()
{
    ui::RunConvertDatabaseCommand(&frame_, app_.templatePath(), *prompts_, app_.settings().projectPath());
}

void CDialogCommands::OnCompactDatabase()
{
    ui::RunCompactDatabaseCommand(&frame_, *prompts_, app_.settings().projectPath());
}

}  // namespace qln
