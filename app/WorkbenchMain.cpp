// The workbench module: qln40 loads it only when it runs without batch
// switches, so that a batch run never loads the window libraries.

#include "app/MainFrame.h"
#include "app/Prompter.h"
#include "app/Settings.h"
#include "app/TesselApp.h"
#include "app/TextTableWiring.h"
#include "app/WorkbenchMain.h"
#include "projectdb/Lifecycle.h"
#include "views/TextListView.h"
#include "views/TextTableModel.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionTitleBar>
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

// QLN40_SCREENSHOT_COMMAND=id as well (or id,id,...): the commands run first, and the picture
// shows the main window with the command's dialog open over it; the dialog is
// then cancelled. A command that opens a window of the workbench instead
// (a preview) is shown with that window. Without a window manager (Xvfb) the dialog has no caption,
// so the style draws one from the dialog's title, as it does for MDI windows.
void DrawDialog(QPainter& painter, QWidget& dialog, QPoint at)
{
    QStyleOptionTitleBar caption;
    caption.initFrom(&dialog);
    caption.text = dialog.windowTitle();
    caption.titleBarFlags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint;
    caption.subControls = QStyle::SC_TitleBarLabel | QStyle::SC_TitleBarCloseButton;
    caption.titleBarState = Qt::WindowActive;
    caption.state |= QStyle::State_Active;
    QStyle* style = dialog.style();
    const int height = style->pixelMetric(QStyle::PM_TitleBarHeight, &caption, &dialog);
    caption.rect = QRect(at.x(), at.y() - height, dialog.width(), height);
    style->drawComplexControl(QStyle::CC_TitleBar, &caption, &painter, &dialog);
    painter.drawPixmap(at, dialog.grab());
    painter.setPen(dialog.palette().color(QPalette::Shadow));
    painter.drawRect(QRect(caption.rect.topLeft(), QSize(dialog.width(), dialog.height() + height)).adjusted(0, 0, -1, -1));
}

// QLN40_SCREENSHOT_RESOURCE=name: the text table starts on the first text of
// that resource (a dialog's caption or first control), so that a preview
// command opens that dialog. QLN40_SCREENSHOT_SOURCE=1: the table's source
// column is current, so that a preview shows the source instead of the
// first translation.
void StartTableAt(qln::CMainFrame& frame)
{
    qln::CTextListView* table = qln::ActiveTextTable(frame);
    if (!table)
        return;
    const QByteArray resource = qgetenv("QLN40_SCREENSHOT_RESOURCE");
    if (!resource.isEmpty()) {
        const qln::CTextTableModel& model = *table->textModel();
        for (int r = 0; r < model.rowCount(); ++r)
            if (model.row(r)->resourceIdent == resource.toStdString()) {
                table->selectRow(r, true);
                break;
            }
    }
    if (qEnvironmentVariableIntValue("QLN40_SCREENSHOT_SOURCE") == 1)
        table->selectLanguage(-1, -1);
}

int SaveCommandScreenshot(qln::CMainFrame& frame, const QList<int>& commands, const QString& file)
{
    QAction* first = frame.command(commands.front());
    if (!first || !first->isEnabled())
        return 2;
    StartTableAt(frame);
    // Several commands (id,id,...) run one after the other, each once the
    // previous one's windows are up.
    for (int i = 0; i < commands.size(); ++i)
        QTimer::singleShot(300 * i, &frame, [&frame, id = commands[i]] {
            if (QAction* action = frame.command(id); action && action->isEnabled())
                action->trigger();
        });
    int result = 2;
    QTimer::singleShot(1500 + 300 * (commands.size() - 1), &frame, [&frame, &result, file] {
        QPixmap shot = frame.grab();
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog) {
            // A dialog the command opened is drawn over the window.
            QPainter painter(&shot);
            DrawDialog(painter, *dialog, frame.mapFromGlobal(dialog->mapToGlobal(QPoint(0, 0))));
        }
        if (shot.save(file, "PNG"))
            result = 0;
        if (auto* modal = qobject_cast<QDialog*>(dialog))
            modal->reject();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    });
    QApplication::exec();
    return result;
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
    QList<int> commands;
    for (const QString& id : qEnvironmentVariable("QLN40_SCREENSHOT_COMMAND").split(u',', Qt::SkipEmptyParts))
        if (const int value = id.trimmed().toInt(); value != 0)
            commands.push_back(value);
    if (!screenshot.isEmpty() && !commands.isEmpty())
        return SaveCommandScreenshot(*tessel.mainFrame(), commands, screenshot);
    if (!screenshot.isEmpty())
        return SaveScreenshot(*tessel.mainFrame(), screenshot);
    return tessel.ExitInstance(QApplication::exec());
}
