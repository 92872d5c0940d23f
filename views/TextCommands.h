#pragma once
// The text table's edits as undo commands: storing a translation and
// excluding a text. Each puts the database row back exactly as it was
// (text and modified flag, or the exclusion flag) and refreshes the table
// when it is still open.

#include "project/TranslationStore.h"

#include <QPointer>
#include <QUndoCommand>

#include <string>

namespace qln {

class CProjectDatabase;
class CTextListView;

class CStoreTranslationCommand : public QUndoCommand {
public:
    // The store has been made already; the first redo does nothing.
    CStoreTranslationCommand(CTextListView* view, CProjectDatabase& project, std::int32_t lineIndex, int primary,
                             int sub, std::string text, TranslationState before);
    void redo() override;
    void undo() override;

private:
    QPointer<CTextListView> view_;
    CProjectDatabase& project_;
    std::int32_t lineIndex_;
    int primary_, sub_;
    std::string text_;
    TranslationState before_;
    bool stored_ = true;
};

class CExcludeCommand : public QUndoCommand {
public:
    // The flag has been stored already; the first redo does nothing.
    CExcludeCommand(CTextListView* view, CProjectDatabase& project, std::int32_t lineIndex, bool excluded);
    void redo() override;
    void undo() override;

private:
    void apply(bool excluded);
    QPointer<CTextListView> view_;
    CProjectDatabase& project_;
    std::int32_t lineIndex_;
    bool excluded_;
    bool stored_ = true;
};

}  // namespace qln
