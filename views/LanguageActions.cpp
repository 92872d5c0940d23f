#include "views/LanguageActions.h"

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <QAction>
#include <QActionGroup>
#include <QToolBar>

namespace qln {

namespace {

QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

LanguageActions AddLanguageActions(QWidget& view, QToolBar& bar)
{
    auto* group = new QActionGroup(&view);
    LanguageActions actions;
    actions.source = bar.addAction(Q(msg::ViewSourceLanguage));
    actions.source->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    actions.translated = bar.addAction(Q(msg::ViewTranslated));
    actions.translated->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T));
    for (QAction* action : {actions.source, actions.translated}) {
        action->setCheckable(true);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setToolTip(action->text().remove('&') + " (" + action->shortcut().toString(QKeySequence::NativeText) +
                           ")");
        group->addAction(action);
        view.addAction(action);
    }
    return actions;
}

void UpdateLanguageActions(const LanguageActions& actions, CProjectDatabase& project, bool sourceShown)
{
    bool anyTranslation = false;
    try {
        anyTranslation = !ListLanguages(project).empty();
    } catch (const sql::Error&) {
    }
    actions.translated->setEnabled(anyTranslation);
    actions.source->setChecked(sourceShown);
    actions.translated->setChecked(!sourceShown);
}

}  // namespace qln
