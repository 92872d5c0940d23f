// The main window's commands in one table: menu, text, shortcut, status
// tip, when each is enabled, and what each does. New windows connect to a
// command through CMainFrame::command(id) and make it available.

#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/LayoutEditorCommands.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "rcscript/Messages.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>

namespace qln {

namespace {

enum Scope { Always = 0, Project = 1, NoProject = 2 };
enum Menu { File, ProjectList, Edit, TranslationMenu, TranslationSettings, View, Tools, Window, Help, None };

struct CommandEntry {
    int id;
    Menu menu;
    const char* text;
    const char* shortcut;
    const char* tip;
    Scope scope;
    bool available;     // false: its window comes later
    bool separatorAfter = false;
    bool checkable = false;
};

// In menu order.
const CommandEntry kCommands[] = {
    {cmd::FileOpen, File, "&Open...", "Ctrl+O", "Open an existing resource script or project database\nOpen", Always,
     true},
    {cmd::ProjectListOpen, ProjectList, "&Open", "", "Open a resource file from the project list\nOpen", Always,
     true},
    {cmd::ProjectListRemove, ProjectList, "&Remove", "", "Remove a file from the project list\nRemove", Always,
     true},
    {cmd::FileClose, File, "&Close", "", "Close the active project\nClose", Project, true},
    {cmd::FileSave, File, "&Save", "Ctrl+S", "Write the translated resource scripts\nSave", Project, true},
    {cmd::RefreshStatus, File, "&Refresh Status", "F5", "Checking for source file changes\nRefresh", Always, true,
     true},
    {cmd::AppExit, None, "E&xit", "", "Quit the application\nExit", Always, true},

    {cmd::EditFind, Edit, "&Find...", "F3", "Find a text\nFind", Project, false},
    {cmd::EditFindNext, Edit, "Find &Next", "Alt+F3", "Find the next occurrence\nFind Next", Project, false},
    {cmd::EditReplace, Edit, "R&eplace...", "Ctrl+H", "Replace a text\nReplace", Project, false, true},
    {cmd::NextItem, Edit, "Ne&xt Item", "", "Go to the next text\nNext", Project, false},
    {cmd::PreviousItem, Edit, "&Previous Item", "", "Go to the previous text\nPrevious", Project, false, true},
    {cmd::VersionBlockHeader, Edit, "&Version Block Header...", "", "Edit a version block header", Project, false},
    {cmd::ShowChangedSource, Edit, "Show &Changed Source Text...", "", "Show the source text before it changed",
     Project, false, true},
    {cmd::ShowDialogs, Edit, "&Dialog Resources", "", "Show the dialog texts", Project, false, false, true},
    {cmd::ShowMenus, Edit, "&Menu Resources", "", "Show the menu texts", Project, false, false, true},
    {cmd::ShowStringtables, Edit, "&Stringtable Resources", "", "Show the string table texts", Project, false, false,
     true},
    {cmd::ShowVersionInfo, Edit, "&VersionInfo Resources", "", "Show the version information texts", Project, false,
     false, true},
    {cmd::ShowBitmaps, Edit, "&Bitmap Resources", "", "Show the bitmap file names", Project, false, false, true},
    {cmd::ShowIncludes, Edit, "File &Includes", "", "Show the included file names", Project, false, false, true},
    {cmd::ShowExcluded, Edit, "&Excluded Text", "", "Show the excluded texts", Project, false, false, true},
    {cmd::ModifiedOnly, Edit, "Modified and Not Translated (&only)", "", "Show only texts still to translate",
     Project, false, true, true},
    {cmd::RemoveMarks, Edit, "Remove M&arks", "Ctrl+Shift+M", "Remove the search marks", Project, false},
    {cmd::Bookmark, Edit, "Boo&kmark...", "", "Set or go to a bookmark", Project, false},
    {cmd::ExcludeItem, Edit, "Exclude I&tem", "Ctrl+X", "Exclude the text from translation\nExclude", Project, false,
     true},
    {cmd::EditDialogLayout, Edit, "Edit Dialog &Layout", "Ctrl+L",
     "Move and resize the dialog's controls for the shown language\nEdit Layout", Project, false, false, true},
    {cmd::EditUndo, Edit, "&Undo", "", "Return the dialog to its saved layout (Ctrl+Z in the dialog)\nUndo", Project,
     false},
    {cmd::SelectAll, Edit, "Select &All", "", "Select every control of the dialog (Ctrl+A in the dialog)", Project,
     false},
    {cmd::SetOriginalSize, Edit, "Set to &Original Size", "",
     "Return the selection, or the dialog, to the source layout (Ctrl+R in the dialog)\nSet Original", Project, false},

    {cmd::TranslationNew, TranslationMenu, "&New...", "", "Add a translation\nNew Translation", Project, true},
    {cmd::TranslationDelete, TranslationMenu, "&Delete...", "", "Delete a translation\nDelete Translation", Project, true,
     true},
    {cmd::UpdateDatabase, TranslationMenu, "&Update Database", "", "Update database\nUpdate", Project, true, true},
    {cmd::ExportExcel, TranslationMenu, "Export Text to &Excel...", "", "Export the texts to a workbook", Project, true},
    {cmd::ExportDatabase, TranslationMenu, "Export Text to Data&base...", "", "Export the texts to a database", Project,
     true},
    {cmd::ImportText, TranslationMenu, "&Import Text ...", "", "Import texts from a file", Project, true, true},
    {cmd::CheckTranslation, TranslationMenu, "&Check Translation", "Ctrl+Shift+K",
     "Check the translation for faults\nCheck Translation", Project, false, true},
    {cmd::SettingsSource, TranslationSettings, "Source Text...", "", "Settings of the source script", Project, true},

    {cmd::ViewMenu, View, "&Menu Resource", "", "Show the menu", Project, false},
    {cmd::ViewDialog, View, "&Dialog Resource", "Ctrl+D", "Show the dialog", Project, false},
    {cmd::ViewSourceLanguage, View, "View with &Source Language", "F6", "Show the dialog in the source language",
     Project, false, false, true},
    {cmd::ViewTranslated, View, "View &Translated", "F7", "Show the dialog in the chosen language", Project, false,
     false, true},
    {cmd::ViewBitmap, View, "&Bitmap Resource", "", "Show the bitmap", Project, false},
    {cmd::ViewStringTable, View, "&String at Table", "", "Show the string in the text table", Project, false, true},
    {cmd::ViewToolbars, View, "&Toolbars...", "", "Show or hide the toolbars", Always, true},

    {cmd::ConvertDatabase, Tools, "&Convert Database...", "", "Convert a database to the current format", NoProject,
     true},
    {cmd::CompactDatabase, Tools, "Co&mpact Database...", "", "Compact a database file", NoProject, true},

    {cmd::WindowCascade, Window, "&Cascade", "", "Arrange the windows overlapped", Project, true},
    {cmd::WindowTile, Window, "&Tile", "", "Arrange the windows side by side", Project, true},
    {cmd::WindowArrange, Window, "&Arrange Icons", "", "Arrange the minimised windows", Project, true},

    {cmd::HelpTopics, Help, "&Help Topics", "", "List the help topics", Always, false},
    {cmd::About, Help, "&About Quillon...", "", "Show the program's version\nAbout", Always, true},
};

// The status tip is the prompt's first line; the tool tip its second.
QString StatusTip(const char* tip)
{
    return QString::fromUtf8(tip).section('\n', 0, 0);
}

QString ToolTip(const char* tip)
{
    const QString text = QString::fromUtf8(tip);
    return text.contains('\n') ? text.section('\n', 1) : text;
}

}  // namespace

struct MainFrameCommands {
    static void Create(CMainFrame& frame);
    static void Menus(CMainFrame& frame);
};

void MainFrameCommands::Create(CMainFrame& frame)
{
    for (const CommandEntry& entry : kCommands) {
        auto* action = new QAction(QString::fromUtf8(entry.text), &frame);
        if (*entry.shortcut)
            action->setShortcut(QKeySequence(QString::fromLatin1(entry.shortcut)));
        action->setStatusTip(StatusTip(entry.tip));
        action->setToolTip(ToolTip(entry.tip));
        action->setCheckable(entry.checkable);
        action->setData(entry.id);
        frame.commands_[entry.id] = {action, entry.scope, entry.available};
    }
    // Translation > Settings: one entry per language, shown while the project has it.
    for (int id = cmd::SettingsFirstLanguage; id <= cmd::SettingsLastLanguage; ++id) {
        auto* action = new QAction(&frame);
        action->setVisible(false);
        action->setData(id);
        frame.commands_[id] = {action, Project, true};
    }
    for (int i = 0; i < CSettings::kRecentFiles; ++i) {
        auto* action = new QAction(&frame);
        action->setVisible(false);
        frame.recentActions_.push_back(action);
    }
    QStyle* style = QApplication::style();
    frame.command(cmd::FileOpen)->setIcon(style->standardIcon(QStyle::SP_DialogOpenButton));
    frame.command(cmd::FileSave)->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
    frame.command(cmd::RefreshStatus)->setIcon(style->standardIcon(QStyle::SP_BrowserReload));
    frame.command(cmd::UpdateDatabase)->setIcon(style->standardIcon(QStyle::SP_ArrowUp));
    frame.command(cmd::ProjectListOpen)->setIcon(style->standardIcon(QStyle::SP_DirOpenIcon));
    frame.command(cmd::ProjectListRemove)->setIcon(style->standardIcon(QStyle::SP_TrashIcon));
    // Menu images of File Includes, Delete translation and Exclude Item.
    frame.command(cmd::ShowIncludes)->setIcon(style->standardIcon(QStyle::SP_FileLinkIcon));
    frame.command(cmd::TranslationDelete)->setIcon(style->standardIcon(QStyle::SP_DialogDiscardButton));
    frame.command(cmd::ExcludeItem)->setIcon(style->standardIcon(QStyle::SP_DialogCancelButton));
}

void MainFrameCommands::Menus(CMainFrame& frame)
{
    QMenuBar* bar = frame.menuBar();
    QMenu* file = bar->addMenu(QObject::tr("&File"));
    QMenu* edit = bar->addMenu(QObject::tr("&Edit"));
    QMenu* translation = bar->addMenu(QObject::tr("&Translation"));
    QMenu* view = bar->addMenu(QObject::tr("&View"));
    QMenu* tools = bar->addMenu(QObject::tr("T&ools"));
    QMenu* window = bar->addMenu(QObject::tr("&Window"));
    QMenu* help = bar->addMenu(QObject::tr("&Help"));
    QMenu* projectList = new QMenu(QObject::tr("&Project File List"), file);
    QMenu* settings = new QMenu(QObject::tr("&Settings (File, Font)"), translation);
    const std::map<Menu, QMenu*> menus = {{File, file},           {ProjectList, projectList},
                                          {Edit, edit},           {TranslationMenu, translation},
                                          {TranslationSettings, settings}, {View, view},
                                          {Tools, tools},         {Window, window},
                                          {Help, help}};
    for (const CommandEntry& entry : kCommands) {
        const auto menu = menus.find(entry.menu);
        if (menu == menus.end())
            continue;
        menu->second->addAction(frame.command(entry.id));
        if (entry.id == cmd::FileOpen)
            file->addMenu(projectList);
        if (entry.separatorAfter)
            menu->second->addSeparator();
    }
    for (int id = cmd::SettingsFirstLanguage; id <= cmd::SettingsLastLanguage; ++id)
        settings->addAction(frame.command(id));
    translation->addMenu(settings);
    for (QAction* recent : frame.recentActions_)
        file->addAction(recent);
    file->addSeparator();
    file->addAction(frame.command(cmd::AppExit));
    frame.projectMenus_ = {edit, translation, window};
    frame.toolsMenu_ = tools;
}

void CMainFrame::createCommands()
{
    MainFrameCommands::Create(*this);
}

void CMainFrame::createMenus()
{
    MainFrameCommands::Menus(*this);
}

void CMainFrame::connectCommands()
{
    connect(command(cmd::FileOpen), &QAction::triggered, this, [this] { app_.OnFileOpen(); });
    connect(command(cmd::FileClose), &QAction::triggered, this, [this] { mdi_->closeActiveSubWindow(); });
    connect(command(cmd::FileSave), &QAction::triggered, this, [this] {
        if (SaveActiveLayout(*this))
            return;
        if (CChildFrame* child = activeChild())
            child->document()->Save();
    });
    connect(command(cmd::RefreshStatus), &QAction::triggered, this, &CMainFrame::OnRefreshStatus);
    connect(command(cmd::UpdateDatabase), &QAction::triggered, this, [this] {
        if (CChildFrame* child = activeChild())
            child->document()->UpdateDatabase();
    });
    connect(command(cmd::AppExit), &QAction::triggered, this, &QWidget::close);
    connect(command(cmd::WindowCascade), &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(command(cmd::WindowTile), &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    connect(command(cmd::WindowArrange), &QAction::triggered, mdi_, &QMdiArea::tileSubWindows);
    connect(command(cmd::About), &QAction::triggered, this,
            [this] { QMessageBox::about(this, Text(msg::AboutTitle), Text(msg::AboutText)); });
    for (QAction* recent : recentActions_)
        connect(recent, &QAction::triggered, this, [this, recent] { app_.OpenFromList(recent->data().toString()); });
}

void CMainFrame::updateCommands()
{
    const bool project = activeChild() != nullptr;
    for (auto& [id, command] : commands_) {
        bool enabled = command.available;
        if (command.scope == Project)
            enabled = enabled && project;
        else if (command.scope == NoProject)
            enabled = enabled && !project;
        command.action->setEnabled(enabled);
    }
    for (QMenu* menu : projectMenus_)
        menu->menuAction()->setVisible(project);
    toolsMenu_->menuAction()->setVisible(!project);
}

void CMainFrame::updateRecentFiles()
{
    const QStringList files = settings_.recentFiles();
    for (std::size_t i = 0; i < recentActions_.size(); ++i) {
        QAction* action = recentActions_[i];
        const bool used = static_cast<qsizetype>(i) < files.size();
        action->setVisible(used);
        if (used) {
            const QString file = files[static_cast<qsizetype>(i)];
            action->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(file));
            action->setData(file);
        }
    }
}

}  // namespace qln
