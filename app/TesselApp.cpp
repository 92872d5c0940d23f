#include "app/TesselApp.h"

#include "app/ResTreeWiring.h"
#include "app/TextTableWiring.h"

#include "app/ChildFrame.h"
#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselDoc.h"
#include "projectdb/FileChecks.h"
#include "projectdb/Lifecycle.h"
#include "rcscript/Messages.h"

#include <QApplication>
#include <QFileDialog>
#include <QMdiArea>

namespace qln {

namespace fs = std::filesystem;

namespace {

fs::path AbsolutePath(const QString& path)
{
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(path.toStdString()), ec);
    return ec ? fs::path(path.toStdString()) : absolute.lexically_normal();
}

}  // namespace

CTesselApp::CTesselApp(CSettings& settings, Prompter& prompter, fs::path templatePath)
    : settings_(settings), prompter_(prompter), templatePath_(std::move(templatePath))
{
}

CTesselApp::~CTesselApp() = default;

bool CTesselApp::InitInstance(const QString& fileName)
{
    // Every new project is a copy of the template: without it nothing can be built.
    std::error_code ec;
    if (!fs::is_regular_file(templatePath_, ec)) {
        prompter_.Show(QMessageBox::Critical, Text(msg::Format(msg::TemplateMissing, {templatePath_.string()})));
        return false;
    }
    frame_ = std::make_unique<CMainFrame>(*this, settings_);
    if (auto* boxes = dynamic_cast<MessageBoxPrompter*>(&prompter_))
        boxes->setParent(frame_.get());
    frame_->restorePlacement();
    frame_->show();
    frame_->raise();
    frame_->activateWindow();
    if (!fileName.isEmpty())
        OpenDocumentFile(fileName);
    return true;
}

QStringList CTesselApp::OpenFilters()
{
    // "Name|pattern|Name|pattern||": Qt reads the pattern from the name.
    const QStringList parts = Text(msg::OpenFileFilter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        if (!parts[i].isEmpty())
            filters << parts[i];
    return filters;
}

void CTesselApp::OnFileOpen()
{
    QFileDialog dialog(frame_.get());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(OpenFilters());
    dialog.setDefaultSuffix(QStringLiteral("rc"));
    dialog.setDirectory(settings_.projectPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    OpenDocumentFile(dialog.selectedFiles().first());
}

CTesselDoc* CTesselApp::findOpen(const fs::path& path) const
{
    if (!frame_)
        return nullptr;
    const ProjectPaths paths = PairProjectPaths(path);
    for (CChildFrame* child : frame_->children()) {
        CTesselDoc* doc = child->document();
        if (SameFile(doc->openedPath(), path) || SameFile(doc->databasePath(), paths.database))
            return doc;
    }
    return nullptr;
}

CTesselDoc* CTesselApp::OpenDocumentFile(const QString& file)
{
    if (!frame_ || file.isEmpty())
        return nullptr;
    const fs::path path = AbsolutePath(file);
    if (CTesselDoc* open = findOpen(path)) {
        frame_->mdiArea()->setActiveSubWindow(frame_->findChild(open));
        prompter_.Beep();
        return open;
    }
    auto* doc = new CTesselDoc(prompter_, frame_.get(), frame_.get());
    doc->setTemplatePath(templatePath_);
    connect(doc, &CTesselDoc::statusText, frame_.get(), &CMainFrame::setStatusText);
    if (!doc->Open(path)) {
        delete doc;
        return nullptr;
    }
    const QString opened = QString::fromStdString(doc->openedPath().string());
    settings_.setProjectPath(QString::fromStdString(doc->openedPath().parent_path().string()));
    settings_.addRecentFile(opened);
    frame_->AddProjectFile(opened);
    auto* child = new CChildFrame(doc);
    AttachResourceTree(*frame_, *child, *doc, *AttachTextTable(*frame_, *child, *doc));
    frame_->addChild(child);
    frame_->showInProjectList(opened);
    frame_->setStatusText({});
    return doc;
}

CTesselDoc* CTesselApp::OpenFromList(const QString& file)
{
    std::error_code ec;
    if (!fs::exists(fs::path(file.toStdString()), ec)) {
        prompter_.Show(QMessageBox::Critical, Text(msg::Format(msg::ErrorCantOpenFile, {file.toStdString()})));
        return nullptr;
    }
    return OpenDocumentFile(file);
}

}  // namespace qln
