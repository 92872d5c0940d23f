// The workbench module: qln40 loads it only when it runs without batch
// switches, so that a batch run never loads the window libraries.

#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/WorkbenchMain.h"
#include "projectdb/Lifecycle.h"

#include <QApplication>

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
    return tessel.ExitInstance(QApplication::exec());
}
