#include "app/dialogs/DatabaseTools.h"

#include "app/dialogs/ProgressWindow.h"
#include "app/dialogs/Prompts.h"
#include "projectdb/Lifecycle.h"
#include "rcscript/Messages.h"

namespace qln::ui {

namespace fs = std::filesystem;

bool RunConvertDatabaseCommand(QWidget* parent, const fs::path& templatePath, Prompts& prompts,
                               const QString& startDir)
{
    const QString chosen =
        prompts.OpenFile(parent, ToQString(msg::ConvertDialogTitle), msg::ConvertDialogFilter, startDir);
    if (chosen.isEmpty())
        return false;
    const fs::path file = ToStdString(chosen);
    const ConvertCheckResult check = CheckConvertible(file);
    if (check.check != ConvertCheck::Convertible) {
        prompts.Show(parent, check.message,
                     check.check == ConvertCheck::AlreadyCurrent ? MessageIcon::Information : MessageIcon::Stop);
        return false;
    }
    if (!prompts.Ask(parent, msg::Format(msg::AskConvertDatabase, {file.string()})))
        return false;
    ConvertResult result;
    {
        ProgressWindow progress(parent, ToQString(msg::Format(msg::StatusConvertDatabase, {file.string()})));
        constexpr int kSteps = 16;
        result = ConvertDatabase(
            file, templatePath, [&](int step) { progress.Report(static_cast<std::uint64_t>(step), kSteps); },
            [&] { return progress.KeepGoing(); });
    }
    if (result.cancelled)
        return false;
    prompts.Show(parent, result.message, result.ok ? MessageIcon::Information : MessageIcon::Stop);
    return result.ok;
}

bool RunCompactDatabaseCommand(QWidget* parent, Prompts& prompts, const QString& startDir)
{
    const QString chosen =
        prompts.OpenFile(parent, ToQString(msg::CompactDialogTitle), msg::CompactDialogFilter, startDir);
    if (chosen.isEmpty())
        return false;
    const fs::path file = ToStdString(chosen);
    CompactResult result;
    bool cancelled = false;
    {
        ProgressWindow progress(parent, ToQString(msg::CompactDialogTitle));
        progress.dialog().setRange(0, 0);  // the engine tells no position: a busy bar
        result = CompactDatabaseFile(file, [&] { return progress.KeepGoing(); });
        cancelled = progress.dialog().wasCanceled();
    }
    if (cancelled && !result.ok)
        return false;
    std::string text = result.message;
    if (!result.ok && !result.cause.empty())
        text += "\n" + result.cause;
    prompts.Show(parent, text, result.ok ? MessageIcon::Information : MessageIcon::Stop);
    return result.ok;
}

}  // namespace qln::ui
