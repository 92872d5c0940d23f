#pragma once
// CTextListView: the text table of an open project. One row per text, the
// Id and source columns, then one column per translation; the current
// column is the language being edited. Rows come from the core's text table
// loader, so scrolling never reads the database.

#include "project/TextTable.h"
#include "project/TranslationStore.h"
#include "projectdb/Languages.h"
#include "projectdb/Translations.h"

#include <QFont>
#include <QPointer>
#include <QTableView>
#include <QUndoStack>

#include <map>
#include <optional>
#include <string>

class QAction;
class QTimer;

namespace qln {

class CProjectDatabase;
class CTextTableModel;

// The row and language the translation bar edits.
struct TextItem {
    std::int32_t lineIndex = -1;
    std::string sourceText;   // script form
    std::string translation;  // script form
    int primary = -1;
    int sub = -1;
    bool modified = false;
    bool excluded = false;
    int lineKind = 0;
};

// The view's commands, for menus and shortcuts.
enum class TextCommand {
    Translate, ExcludeItem, NextItem, PreviousItem,
    FilterDialogs, FilterMenus, FilterStrings, FilterVersions, FilterBitmaps, FilterIncludes,
    FilterExcluded, FilterModifiedOnly, BlockHeader, ShowChangedSource,
};

class CTextListView : public QTableView {
    Q_OBJECT
public:
    explicit CTextListView(QWidget* parent = nullptr);
    ~CTextListView() override;

    // Attaches the project (null detaches); the undo stack, when given,
    // receives every store and exclusion. Builds the columns and the rows.
    void setProject(CProjectDatabase* project, QUndoStack* undo = nullptr);
    CProjectDatabase* project() const { return project_; }
    QUndoStack* undoStack() const { return undo_; }
    CTextTableModel* textModel() const { return model_; }

    // --- Columns and rows ---------------------------------------------------------
    void setupColumns();
    void reload();
    void addLanguageColumn(int primary, int sub);
    void removeLanguageColumn(int primary, int sub);
    int columnOfLanguage(int primary, int sub) const;
    // Nothing for the Id and source columns.
    std::optional<LanguagePair> languageOfColumn(int column) const;
    // The current column's language; with allowSource, (-1, -1) while the
    // source is selected.
    std::optional<LanguagePair> currentLanguage(bool allowSource = false) const;
    void selectLanguage(int primary, int sub);
    int currentColumn() const { return currentColumn_; }
    bool sourceSelected() const { return sourceSelected_; }
    bool isLoading() const { return loading_; }

    int rowOfLine(std::int32_t lineIndex) const;
    void selectRow(int row, bool focus);
    int selectLine(std::int32_t lineIndex);
    int selectedRowIndex() const;
    const TextTableRow* selectedRow() const;
    // The selected row for the current language; nothing without a language column.
    std::optional<TextItem> currentItem() const;
    // Next untranslated, not excluded row of the current column (wrapping),
    // else simply the next row; previousItem goes back one row.
    void nextItem();
    void previousItem();
    void addRowsOfKind(TextCommand filter);

    // --- Edits (through the undo stack when there is one) -------------------------
    // Stores a translation (script form); false when nothing was stored.
    bool storeTranslation(std::int32_t lineIndex, int primary, int sub, const std::string& scriptText);
    void excludeItem();
    // After the database changed: the cell's text and modified state, or the exclusion.
    void setCellText(const std::string& text, int primary, int sub, std::int32_t lineIndex, bool modified = false);
    void setRowExcluded(std::int32_t lineIndex, bool excluded);

    // --- Filters --------------------------------------------------------------------
    const TextTableFilter& filter() const { return filter_; }
    void toggleFilter(TextCommand filter);
    bool filterShown(TextCommand filter) const;

    // --- Marks ----------------------------------------------------------------------
    void markCell(int row, int column);
    void clearMarks();
    bool hasMarks() const;

    // --- Status panes -----------------------------------------------------------------
    TextProgress progress();
    QString languagePaneText() const;
    QString progressPaneText();

    QFont columnFont(int column) const;
    QAction* action(TextCommand command) const;
    void updateActions();
    // Writes the column widths to Settings (the document does this when it closes).
    void saveColumnWidths();
    // Opens the block header editor for the selected version block header row.
    void editBlockHeader();
    void showChangedSource();

signals:
    void itemChanged();                          // the bar's item: other row or column
    void currentLanguageChanged(int primary, int sub);
    void documentModified();
    void statusText(const QString& text);
    void progressReported(qint64 position, qint64 total);
    void translateRequested();
    void rowExcludedChanged(qint32 lineIndex, bool excluded);
    // A translation was stored, undone or redone (also for rows the filter hides).
    void textStored(qint32 lineIndex, int primary, int sub);
    void panesChanged();
    void viewResourceRequested(qint32 lineIndex, int category);
    void bookmarkRequested(qint32 lineIndex);

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void createActions();
    void loadFonts();
    void applyWidths();
    void setCurrentColumn(int column);
    void invalidateProgress();
    void selectAfterFilter(std::int32_t rememberedLine);
    void showScrollTip();
    QModelIndex cellOf(int row) const;

    CTextTableModel* model_;
    CProjectDatabase* project_ = nullptr;
    QPointer<QUndoStack> undo_;
    TextTableFilter filter_;
    int currentColumn_ = -1;
    bool sourceSelected_ = true;
    bool loading_ = false;
    std::optional<TextProgress> progress_;
    std::map<std::int32_t, QFont> fonts_;  // by Lang_Id; the source under -1
    std::map<TextCommand, QAction*> actions_;
    QTimer* widthTimer_;
};

}  // namespace qln
