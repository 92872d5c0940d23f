#pragma once
// CDynMenuView: one menu resource of the project as a tree, popups as
// branches and items as leaves, each labelled in the shown language (the
// source or one translation) with an image of its translation state.
// Selecting a node offers its text to the translation bar (itemSelected);
// the window that holds the view decides in which language.

#include "project/MenuView.h"
#include "projectdb/Languages.h"

#include <QWidget>

class QAction;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace qln {

class CProjectDatabase;

class CDynMenuView : public QWidget {
    Q_OBJECT
public:
    // The tree as LoadMenuTree read it; the project must outlive the view.
    CDynMenuView(CProjectDatabase& project, MenuTree menu, QWidget* parent = nullptr);

    // Shows every node in a language; (-1, -1) shows the source.
    void showLanguage(int primary, int sub);
    LanguagePair language() const { return language_; }
    bool sourceShown() const { return language_.primary < 0; }
    // Reads the texts again: one line's node, or all of them.
    void refreshLine(std::int32_t lineIndex);
    void refreshAll();
    // The font of the shown language (the text table's column font).
    void setLanguageFont(const QFont& font);

    bool selectLine(std::int32_t lineIndex);
    // Next Item and Previous Item: the node after (before) the selected one
    // in the tree's order, wrapping around; the first (last) without one.
    void selectNext(bool forward);
    // Text line of the selected node, -1 without one.
    std::int32_t selectedLine() const;
    const MenuTree& menu() const { return menu_; }
    QTreeWidget* tree() const { return tree_; }
    QTreeWidgetItem* itemOfLine(std::int32_t lineIndex) const;
    QAction* sourceAction() const { return source_; }
    QAction* translatedAction() const { return translated_; }

signals:
    void itemSelected(qint32 lineIndex);
    // Enter or a double click on a node: translate it.
    void translateRequested(qint32 lineIndex);
    // "View Translated": the holder chooses the language of the language tool bar.
    void translatedRequested();
    void stringAtTableRequested(qint32 lineIndex);
    void bookmarkRequested(qint32 lineIndex, int category);
    void statusText(const QString& text);

private:
    void build();
    void updateNode(int index);
    void updateActions();
    void showContextMenu(const QPoint& pos);

    CProjectDatabase& project_;
    MenuTree menu_;
    LanguagePair language_{-1, -1};
    QTreeWidget* tree_;
    QToolBar* bar_;
    QAction* source_;
    QAction* translated_;
    std::vector<QTreeWidgetItem*> items_;  // per node of menu_
};

}  // namespace qln
