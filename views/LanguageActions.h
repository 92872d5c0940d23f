#pragma once
// The "View with Source Language" / "View Translated" pair on the tool bar
// of a resource view (menu, bitmap): two checkable actions, one of them
// checked, with their shortcuts working while the view has the focus.

class QAction;
class QToolBar;
class QWidget;

namespace qln {

class CProjectDatabase;

struct LanguageActions {
    QAction* source = nullptr;
    QAction* translated = nullptr;
};

// Adds the pair to `bar`; the actions belong to `view`.
LanguageActions AddLanguageActions(QWidget& view, QToolBar& bar);
// Checks the action of what is shown; "View Translated" needs a translation.
void UpdateLanguageActions(const LanguageActions& actions, CProjectDatabase& project, bool sourceShown);

}  // namespace qln
