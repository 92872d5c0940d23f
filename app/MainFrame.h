#pragma once
// CMainFrame: the workbench's main window. It holds the project windows in
// an MDI area, the main and language toolbars, the status bar with its five
// panes, the docked bars (project files, translation, dialog edit), every
// menu command, and it remembers its placement and bar state.
//
// Commands are QActions found by their id (CommandIds.h). A command whose
// window is not there yet stays disabled until setCommandAvailable(id, true).

#include "app/ProjectFileList.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <vector>

class QAction;
class QComboBox;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMimeData;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;

namespace qln {

class CChildFrame;
class CProjectFilesBar;
class CSettings;
class CTesselApp;
class CTesselDoc;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    CMainFrame(CTesselApp& app, CSettings& settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // --- Commands ------------------------------------------------------------------
    QAction* command(int id) const;
    CSettings& settings() const { return settings_; }
    // Whether a command's window exists; a command that needs a project is
    // enabled only while one is active.
    void setCommandAvailable(int id, bool available);

    // --- Windows ---------------------------------------------------------------------
    QMdiArea* mdiArea() const { return mdi_; }
    CChildFrame* activeChild() const;
    std::vector<CChildFrame*> children() const;
    CChildFrame* findChild(CTesselDoc* doc) const;
    void addChild(CChildFrame* child);

    QToolBar* mainToolBar() const { return mainBar_; }
    QToolBar* languageToolBar() const { return languageBar_; }
    QComboBox* languageCombo() const { return languages_; }
    QDockWidget* projectFilesDock() const;
    QDockWidget* translationDock() const { return translationDock_; }
    QDockWidget* dialogEditDock() const { return dialogEditDock_; }
    CProjectFilesBar* projectFilesBar() const { return projectFiles_; }

    // The bars in the order the Toolbars list shows them: id, name, window.
    struct Bar {
        int id;
        QString name;
        QWidget* widget;
    };
    std::vector<Bar> barTable() const;

    // Text of a status pane (cmd::PaneLanguage ...); the message pane is the status bar's own.
    void setPaneText(int paneId, const QString& text);
    QLabel* pane(int paneId) const;
    void setStatusText(const QString& text);

    // --- Project file list -----------------------------------------------------------------
    // False when all 30 slots hold other paths.
    bool AddProjectFile(const QString& path);
    std::vector<std::string> GetProjectFiles() const;
    void SetProjectFiles(const std::vector<std::string>& files);
    // Shows the path's row with fresh size, state and translations.
    void showInProjectList(const QString& path);

    // --- Out-of-date projects ---------------------------------------------------------------
    static constexpr int kBlinkMilliseconds = 1200;
    // The Update Database button blinks while the active project waits for an update.
    bool isBlinking() const;
    bool updateButtonHighlighted() const { return blinkOn_; }

    // Refresh Status over every open project; the changed ones are listed to the user.
    void OnRefreshStatus();

    // Opens the files of a drop; returns how many were opened.
    int openDropped(const QMimeData& data);

    // Applies the stored placement and bar state (before the window is shown).
    void restorePlacement();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createCommands();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void createDocks();
    void connectCommands();
    void updateCommands();
    void updateRecentFiles();
    void activeChildChanged();
    void updateTitle();
    void updateBlinking();
    void blinkTick();
    void fillLanguages();
    void savePlacement();

    CTesselApp& app_;
    CSettings& settings_;
    QMdiArea* mdi_ = nullptr;
    QToolBar* mainBar_ = nullptr;
    QToolBar* languageBar_ = nullptr;
    QComboBox* languages_ = nullptr;
    QDockWidget* translationDock_ = nullptr;
    QDockWidget* dialogEditDock_ = nullptr;
    CProjectFilesBar* projectFiles_ = nullptr;
    QTimer* blinkTimer_ = nullptr;
    bool blinkOn_ = false;
    std::map<int, QLabel*> panes_;

    struct Command {
        QAction* action = nullptr;
        int scope = 0;  // see MainFrameCommands.cpp
        bool available = true;
    };
    std::map<int, Command> commands_;
    std::vector<QAction*> recentActions_;
    std::vector<QMenu*> projectMenus_;  // shown while a project is open
    QMenu* toolsMenu_ = nullptr;        // shown while none is
    QPointer<CChildFrame> lastActive_;
    ProjectFileSlots projectSlots_;
    bool closing_ = false;

    friend struct MainFrameCommands;
};

}  // namespace qln
