#include "app/MainFrame.h"

#include "views/TranslationBar.h"

#include "app/CheckCommands.h"
#include "app/ChildFrame.h"
#include "app/CommandIds.h"
#include "app/DialogCommands.h"
#include "app/ProjectFilesBar.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TesselDoc.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QToolBar>
#include <QToolButton>

namespace qln {

namespace {

QLabel* EmptyBar(std::string_view text, QWidget* parent)
{
    auto* label = new QLabel(Text(text), parent);
    label->setAlignment(Qt::AlignCenter);
    label->setEnabled(false);
    label->setMargin(8);
    return label;
}

}  // namespace

CMainFrame::CMainFrame(CTesselApp& app, CSettings& settings, QWidget* parent)
    : QMainWindow(parent), app_(app), settings_(settings), mdi_(new QMdiArea(this)), blinkTimer_(new QTimer(this))
{
    setObjectName(QStringLiteral("MainFrame"));
    setAcceptDrops(true);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdi_);
    blinkTimer_->setInterval(kBlinkMilliseconds);
    connect(blinkTimer_, &QTimer::timeout, this, &CMainFrame::blinkTick);

    createCommands();
    createMenus();
    createToolBars();
    createStatusBar();
    createDocks();
    connectCommands();
    new CDialogCommands(app_, *this);
    new CCheckCommands(*this);

    projectSlots_ = settings_.projectFiles();
    projectFiles_->setFiles(qln::GetProjectFiles(projectSlots_));
    // The first start opens files in the current folder.
    if (settings_.projectPath().isEmpty())
        settings_.setProjectPath(QDir::currentPath());

    connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::activeChildChanged);
    updateRecentFiles();
    updateCommands();
    setWindowTitle(QApplication::applicationDisplayName());
}

CMainFrame::~CMainFrame()
{
    // Destroyed without being closed first (the application object went away):
    // the project windows that go with the frame must not call back into it.
    closing_ = true;
    QObject::disconnect(mdi_, nullptr, this, nullptr);
    for (CChildFrame* child : children())
        QObject::disconnect(child, nullptr, this, nullptr);
}

QAction* CMainFrame::command(int id) const
{
    const auto found = commands_.find(id);
    return found == commands_.end() ? nullptr : found->second.action;
}

void CMainFrame::setCommandAvailable(int id, bool available)
{
    const auto found = commands_.find(id);
    if (found == commands_.end())
        return;
    found->second.available = available;
    updateCommands();
}

void CMainFrame::createToolBars()
{
    mainBar_ = addToolBar(Text(msg::BarEditToolbar));
    mainBar_->setObjectName(QStringLiteral("MainToolBar"));
    mainBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (int id : {cmd::FileOpen, cmd::FileSave, cmd::RefreshStatus, cmd::UpdateDatabase})
        mainBar_->addAction(command(id));
    // Short texts on the buttons; the menus keep their long ones.
    for (QAction* action : mainBar_->actions())
        if (auto* button = qobject_cast<QToolButton*>(mainBar_->widgetForAction(action)))
            button->setText(action->toolTip());

    languageBar_ = addToolBar(Text(msg::LanguageToolbarTitle));
    languageBar_->setObjectName(QStringLiteral("LanguageToolBar"));
    languages_ = new QComboBox(languageBar_);
    languages_->setObjectName(QStringLiteral("LanguageCombo"));
    languages_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    languages_->setMinimumContentsLength(16);
    languages_->setEnabled(false);
    languageBar_->addWidget(languages_);
}

void CMainFrame::createStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    const std::pair<int, int> panes[] = {
        {cmd::PaneLanguage, 90}, {cmd::PaneMode, 90}, {cmd::PaneRow, 55}, {cmd::PaneProgress, 110}};
    for (const auto& [id, width] : panes) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Pane%1").arg(id));
        label->setMinimumWidth(width);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(label);
        panes_[id] = label;
    }
    bar->showMessage(Text(msg::StatusReady));
}

void CMainFrame::createDocks()
{
    setDockOptions(dockOptions() | QMainWindow::AllowNestedDocks);
    projectFiles_ = new CProjectFilesBar(this);
    addDockWidget(Qt::LeftDockWidgetArea, projectFiles_);
    connect(projectFiles_, &CProjectFilesBar::openRequested, this, [this](const QString& path) {
        app_.OpenFromList(path);
    });
    connect(command(cmd::ProjectListOpen), &QAction::triggered, this, [this] {
        const QString path = projectFiles_->selectedPath();
        if (!path.isEmpty())
            app_.OpenFromList(path);
    });
    connect(command(cmd::ProjectListRemove), &QAction::triggered, this, [this] {
        const QString path = projectFiles_->selectedPath();
        if (path.isEmpty())
            return;
        RemoveProjectFile(projectSlots_, path.toStdString());
        projectFiles_->setFiles(qln::GetProjectFiles(projectSlots_));
    });
    projectFiles_->list()->setContextMenuPolicy(Qt::ActionsContextMenu);
    projectFiles_->list()->addAction(command(cmd::ProjectListOpen));
    projectFiles_->list()->addAction(command(cmd::ProjectListRemove));

    translationDock_ = new CTranslationBar(this);
    addDockWidget(Qt::BottomDockWidgetArea, translationDock_);
    // The list shows its five columns at first; the saved bar state may say otherwise.
    resizeDocks({projectFiles_}, {360}, Qt::Horizontal);
    // Two lines of text for the source and the translation and the buttons.
    resizeDocks({translationDock_}, {150}, Qt::Vertical);

    dialogEditDock_ = new QDockWidget(Text(msg::BarDialogEdit), this);
    dialogEditDock_->setObjectName(QStringLiteral("DialogEditBar"));
    dialogEditDock_->setWidget(EmptyBar(msg::BarDialogEdit, dialogEditDock_));
    addDockWidget(Qt::RightDockWidgetArea, dialogEditDock_);
    dialogEditDock_->hide();
}

QDockWidget* CMainFrame::projectFilesDock() const
{
    return projectFiles_;
}

std::vector<CMainFrame::Bar> CMainFrame::barTable() const
{
    return {{cmd::BarMainToolbar, Text(msg::BarEditToolbar), mainBar_},
            {cmd::BarTranslation, Text(msg::BarTranslation), translationDock_},
            {cmd::BarProjectFileList, Text(msg::BarProjectFileList), projectFiles_},
            {cmd::BarStatusbar, Text(msg::BarStatusbar), statusBar()},
            {cmd::BarLanguageToolbar, Text(msg::BarLanguageToolbar), languageBar_},
            {cmd::BarDialogEdit, Text(msg::BarDialogEdit), dialogEditDock_}};
}

CChildFrame* CMainFrame::activeChild() const
{
    // The current sub-window stays current while a dialog or progress window
    // holds the activation, so commands keep their project.
    QMdiSubWindow* current = mdi_->currentSubWindow();
    if (auto* child = qobject_cast<CChildFrame*>(current))
        return child;
    // A project's other windows (dialog previews) name the frame they belong to.
    return current ? qobject_cast<CChildFrame*>(current->property("qlnChildFrame").value<QObject*>()) : nullptr;
}

std::vector<CChildFrame*> CMainFrame::children() const
{
    std::vector<CChildFrame*> list;
    for (QMdiSubWindow* window : mdi_->subWindowList())
        if (auto* child = qobject_cast<CChildFrame*>(window))
            list.push_back(child);
    return list;
}

CChildFrame* CMainFrame::findChild(CTesselDoc* doc) const
{
    for (CChildFrame* child : children())
        if (child->document() == doc)
            return child;
    return nullptr;
}

void CMainFrame::addChild(CChildFrame* child)
{
    mdi_->addSubWindow(child);
    CTesselDoc* doc = child->document();
    connect(doc, &CTesselDoc::updateNeededChanged, this, &CMainFrame::updateBlinking);
    connect(doc, &CTesselDoc::statusText, this, &CMainFrame::setStatusText);
    connect(doc, &CTesselDoc::translationsChanged, this, &CMainFrame::fillLanguages);
    connect(doc, &CTesselDoc::titleChanged, this, [this, doc] {
        showInProjectList(QString::fromStdString(doc->openedPath().string()));
    });
    connect(child, &QObject::destroyed, this, [this] { activeChildChanged(); });
    connect(doc, &CTesselDoc::titleChanged, this, &CMainFrame::updateTitle);
    // The first project fills the area with its title bar (and so its state) in sight.
    if (mdi_->subWindowList().size() == 1)
        child->setGeometry(QRect(QPoint(0, 0), mdi_->viewport()->size()));
    child->show();
    mdi_->setActiveSubWindow(child);
    activeChildChanged();
}

void CMainFrame::setPaneText(int paneId, const QString& text)
{
    if (QLabel* label = pane(paneId))
        label->setText(text);
}

QLabel* CMainFrame::pane(int paneId) const
{
    const auto found = panes_.find(paneId);
    return found == panes_.end() ? nullptr : found->second;
}

void CMainFrame::setStatusText(const QString& text)
{
    statusBar()->showMessage(text.isEmpty() ? Text(msg::StatusReady) : text);
}

bool CMainFrame::AddProjectFile(const QString& path)
{
    return qln::AddProjectFile(projectSlots_, path.toStdString()).has_value();
}

std::vector<std::string> CMainFrame::GetProjectFiles() const
{
    return qln::GetProjectFiles(projectSlots_);
}

void CMainFrame::SetProjectFiles(const std::vector<std::string>& files)
{
    qln::SetProjectFiles(projectSlots_, files);
    projectFiles_->setFiles(files);
}

void CMainFrame::showInProjectList(const QString& path)
{
    const std::vector<std::string> files = GetProjectFiles();
    const std::string wanted = path.toStdString();
    for (const std::string& file : files)
        if (EqualsNoCase(file, wanted)) {
            projectFiles_->showFile(file);
            return;
        }
}

void CMainFrame::updateTitle()
{
    CChildFrame* child = activeChild();
    const QString program = QApplication::applicationDisplayName();
    setWindowTitle(child ? Text(msg::Format(msg::MainTitleWithProject,
                                            {program.toStdString(), child->document()->title().toStdString()}))
                         : program);
}

void CMainFrame::activeChildChanged()
{
    if (closing_)
        return;
    updateTitle();
    updateCommands();
    fillLanguages();
    updateBlinking();
    updateRecentFiles();
}

void CMainFrame::fillLanguages()
{
    languages_->clear();
    CChildFrame* child = activeChild();
    languages_->setEnabled(child != nullptr);
    for (int id = cmd::SettingsFirstLanguage; id <= cmd::SettingsLastLanguage; ++id)
        command(id)->setVisible(false);
    if (!child)
        return;
    languages_->addItem(Text(msg::LanguageSourceText));
    int id = cmd::SettingsFirstLanguage;
    for (const Translation& translation : child->document()->translations()) {
        languages_->addItem(translation.displayName);
        if (id <= cmd::SettingsLastLanguage) {
            command(id)->setText(translation.displayName + QStringLiteral("..."));
            command(id)->setVisible(true);
            ++id;
        }
    }
    languages_->setCurrentIndex(languages_->count() > 1 ? 1 : 0);
}

void CMainFrame::restorePlacement()
{
    const Placement placement = ApplyPlacementRanges(settings_.placement());
    QRect rect = geometry();
    if (placement.width)
        rect.setWidth(*placement.width);
    if (placement.height)
        rect.setHeight(*placement.height);
    resize(rect.size());
    if (placement.x || placement.y)
        move(placement.x.value_or(x()), placement.y.value_or(y()));
    restoreState(settings_.barState());
    if (placement.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void CMainFrame::savePlacement()
{
    StoredPlacement stored = settings_.placement();
    stored.zoomed = isMaximized() ? 1 : 0;
    if (!isMaximized() && !isMinimized()) {
        const QRect frame = frameGeometry();
        stored.x = frame.x();
        stored.y = frame.y();
        stored.cx = width();
        stored.cy = height();
    }
    settings_.setPlacement(stored);
    settings_.setBarState(saveState());
    settings_.setProjectListBar({projectFiles_->width(), projectFiles_->height(),
                                 static_cast<int>(dockWidgetArea(projectFiles_))});
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // Each project asks about its unsaved changes; one that stays keeps the window open.
    for (CChildFrame* child : children())
        if (!child->close()) {
            event->ignore();
            return;
        }
    closing_ = true;
    savePlacement();
    settings_.setProjectFiles(projectSlots_);
    if (!settings_.Save())
        app_.prompter().Show(QMessageBox::Warning, Text(msg::Format(msg::SettingsNotWritten,
                                                                    {settings_.file().toStdString()})));
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event)
{
    event->acceptProposedAction();
    openDropped(*event->mimeData());
}

int CMainFrame::openDropped(const QMimeData& data)
{
    int opened = 0;
    for (const QUrl& url : data.urls())
        if (url.isLocalFile() && app_.OpenDocumentFile(url.toLocalFile()))
            ++opened;
    return opened;
}

}  // namespace qln
