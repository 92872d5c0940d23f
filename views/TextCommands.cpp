#include "views/TextCommands.h"

#include "views/TextListView.h"

#include "projectdb/ProjectDatabase.h"
#include "rcscript/Messages.h"

#include <QCoreApplication>

namespace qln {

CStoreTranslationCommand::CStoreTranslationCommand(CTextListView* view, CProjectDatabase& project,
                                                   std::int32_t lineIndex, int primary, int sub, std::string text,
                                                   TranslationState before)
    : view_(view), project_(project), lineIndex_(lineIndex), primary_(primary), sub_(sub), text_(std::move(text)),
      before_(std::move(before))
{
    setText(QCoreApplication::translate("qln", "Translation"));
}

void CStoreTranslationCommand::redo()
{
    if (stored_) {
        stored_ = false;
        return;
    }
    try {
        if (StoreTranslation(project_, lineIndex_, primary_, sub_, text_) && view_)
            view_->setCellText(text_, primary_, sub_, lineIndex_, false);
    } catch (const sql::Error&) {
        // The row stays as it is; the table shows what the database holds.
    }
}

void CStoreTranslationCommand::undo()
{
    try {
        if (!RestoreTranslationState(project_, lineIndex_, primary_, sub_, before_) || !view_)
            return;
    } catch (const sql::Error&) {
        return;
    }
    const auto* text = std::get_if<std::string>(&before_.text);
    const auto* flag = std::get_if<std::int64_t>(&before_.flag);
    view_->setCellText(text ? *text : std::string(), primary_, sub_, lineIndex_, flag && *flag != 0);
}

CExcludeCommand::CExcludeCommand(CTextListView* view, CProjectDatabase& project, std::int32_t lineIndex,
                                 bool excluded)
    : view_(view), project_(project), lineIndex_(lineIndex), excluded_(excluded)
{
    setText(QString::fromUtf8(msg::ContextExclude.data(), static_cast<qsizetype>(msg::ContextExclude.size())));
}

void CExcludeCommand::redo()
{
    if (stored_) {
        stored_ = false;
        return;
    }
    apply(excluded_);
}

void CExcludeCommand::undo()
{
    apply(!excluded_);
}

void CExcludeCommand::apply(bool excluded)
{
    try {
        if (project_.SetExclude(lineIndex_, excluded) && view_)
            view_->setRowExcluded(lineIndex_, excluded);
    } catch (const sql::Error&) {
        // The flag stays as stored.
    }
}

}  // namespace qln
