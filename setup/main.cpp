// qln40-install: installs Quillon from the installation medium it lies on,
// and removes it again.
//
//   qln40-install                            the setup dialog
//   qln40-install --screenshot VIEW FILE     draws VIEW (setup or medium) into the PNG FILE
#include "setup/MediumDialog.h"
#include "setup/SetupDialog.h"

#include <QApplication>
#include <QPixmap>
#include <QString>

namespace {

// Shows the view, lets it lay itself out and paint, and saves what it shows.
int SaveScreenshot(QWidget& view, const QString& file)
{
    view.show();
    view.activateWindow();
    for (int i = 0; i < 10; ++i)
        QApplication::processEvents();
    return view.grab().save(file, "PNG") ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName("qln40-install");
    qln::setup::SetupEnvironment environment{QApplication::applicationDirPath().toStdString(),
                                             qln::setup::XdgDirs::FromEnvironment()};
    qln::setup::SetupDialog dialog(environment);

    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && args[1] == "--screenshot") {
        if (args[2] == "medium") {
            // a medium copied into the user's downloads, as an example
            qln::setup::MediumDialog medium(&dialog, 2, "demo._c", 6, 20, environment.dirs.home / "Downloads/medium");
            return SaveScreenshot(medium, args[3]);
        }
        return SaveScreenshot(dialog, args[3]);
    }
    dialog.show();
    return dialog.exec() == QDialog::Accepted ? 0 : 1;
}
