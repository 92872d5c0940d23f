// The workbench module: qln40 loads it only when it runs without batch
// switches, so that a batch run never loads the window libraries.

#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/WorkbenchMain.h"
#include "projectdb/Lifecycle.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>

namespace {

// QLN40_SCREENSHOT=file.png: once the workbench is shown (with the file named
// at start), its main window is saved as a picture and the program ends. The
// screenshots of the documentation and the start-up benchmark use it.
int SaveScreenshot(QWidget& window, const QString& file)
{
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    return window.grab().save(file, "PNG") ? 0 : 2;
}

}  // namespace

extern "C" QLN_WORKBENCH_EXPORT int qln_workbench_main(int argc, char** argv, const char* fileName)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qln40"));
    QApplication::setApplicationDisplayName(QStringLiteral("Quillon"));
    qln::CSettings settings;
    qln::MessageBoxPrompter prompter;
    qln::CTesselApp tessel(settings, prompter, qln::DefaultTemplatePath());
    if (!tessel.InitInstance(QString::fromLocal8Bit(fileName ? fileName : "")))
        return 2;
    const QString screenshot = qEnvironmentVariable("QLN40_SCREENSHOT");
    if (!screenshot.isEmpty())
        return SaveScreenshot(*tessel.mainFrame(), screenshot);
    return tessel.ExitInstance(QApplication::exec());
}
