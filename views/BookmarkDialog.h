#pragma once
// The "Bookmark" dialog: the project's bookmarks by name, the item the
// calling view shows (its resource, item and language), and Add, Delete,
// Go To and Close. Going to a bookmark in the text table is here too; the
// other views are opened by whoever shows them.

#include "project/Bookmarks.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qln {

class CProjectDatabase;
class CTextListView;

// The item a view hands to the dialog.
struct BookmarkItem {
    std::string window;           // "Text", "Dialog", "Menu" or "Bitmap"
    std::int32_t lineIndex = -1;
    int category = 0;             // the text table's display category
    std::string resource;         // the resource's identifier
    std::string itemId;           // the item's identifier (the Id column)
    std::optional<LanguagePair> language;  // none: the source
};

// The text table's selected row as a bookmark item; nothing without a row.
std::optional<BookmarkItem> TextTableBookmarkItem(const CTextListView& view);

class CBookmarkDialog : public QDialog {
    Q_OBJECT
public:
    CBookmarkDialog(CProjectDatabase& project, const BookmarkItem& item, QWidget* parent = nullptr);

    // The bookmark read on "Go To"; nothing when the dialog was closed otherwise.
    const std::optional<Bookmark>& chosen() const { return chosen_; }

    void add();
    void removeSelected();
    void goTo();

    QListWidget* list() const { return list_; }
    QLineEdit* nameEdit() const { return name_; }
    QLabel* resourceLabel() const { return resource_; }
    QLabel* languageLabel() const { return language_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* goToButton() const { return goTo_; }

signals:
    // A database error, for the user.
    void message(const QString& text);

private:
    void fill(std::int64_t selectId);
    void updateButtons();
    std::int64_t selectedId() const;

    CProjectDatabase& project_;
    BookmarkItem item_;
    std::optional<Bookmark> chosen_;
    QListWidget* list_;
    QLineEdit* name_;
    QLabel* resource_;
    QLabel* language_;
    QPushButton *add_, *delete_, *goTo_;
};

// Goes to a resolved "Text" bookmark in the table: its language becomes the
// current column and its line is selected with the focus. Gives the message
// to show when that cannot be done (the line is filtered out), else empty.
std::string GoToInTextTable(CTextListView& view, const BookmarkTarget& target);

}  // namespace qln
