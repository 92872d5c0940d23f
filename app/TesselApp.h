#pragma once
// CTesselApp: starts the workbench and opens documents. It checks that the
// database template lies beside the program, creates the main window, opens
// the file named on the command line, and keeps the bookkeeping of every
// opened project (last folder, project file list, recent files).

#include <QObject>
#include <QPointer>
#include <QString>

#include <filesystem>
#include <memory>

namespace qln {

class CMainFrame;
class CSettings;
class CTesselDoc;
class Prompter;

class CTesselApp : public QObject {
    Q_OBJECT
public:
    CTesselApp(CSettings& settings, Prompter& prompter, std::filesystem::path templatePath);
    ~CTesselApp() override;

    // The start-up: false ends the program. `fileName` may be empty.
    bool InitInstance(const QString& fileName);
    // The process's exit code: the event loop's, else the batch result.
    int ExitInstance(int frameworkCode) const { return frameworkCode != 0 ? frameworkCode : batchExitCode_; }

    // The open project of the path, activated (with a beep), or the newly opened
    // one; nullptr when it could not be opened.
    CTesselDoc* OpenDocumentFile(const QString& path);
    // From the project file list or the recent files: a failure is named.
    CTesselDoc* OpenFromList(const QString& path);
    // File Open: the dialog in the folder of the last project.
    void OnFileOpen();
    // The filter of the File Open dialog.
    static QStringList OpenFilters();

    CMainFrame* mainFrame() const { return frame_.get(); }
    CSettings& settings() { return settings_; }
    Prompter& prompter() { return prompter_; }
    const std::filesystem::path& templatePath() const { return templatePath_; }

private:
    CTesselDoc* findOpen(const std::filesystem::path& path) const;

    CSettings& settings_;
    Prompter& prompter_;
    std::filesystem::path templatePath_;
    std::unique_ptr<CMainFrame> frame_;
    int batchExitCode_ = 0;  // batch runs never reach the workbench
};

}  // namespace qln
