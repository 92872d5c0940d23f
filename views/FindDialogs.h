#pragma once
// The "Find Text" and "Replace" dialogs. Both take what the application
// remembers (recent texts, options, the last "Where" choice) and hand back
// what was chosen; the searches run in the table's CTextFinder.

#include "views/TextFinder.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace qln {

class CTranslationBar;

// What the dialogs start from and give back to the settings.
struct FindSettings {
    QStringList history;         // recent search texts, newest first
    QStringList replaceHistory;  // recent replacement texts
    FindOptions options;
    QStringList where;           // the "Where" entries chosen last time
};

// The "Where" list: "Source" (when offered) and the languages, with the
// entries chosen last time selected, or every entry when none exists now.
QListWidget* MakeWhereList(QWidget* parent, bool withSource, const QStringList& languages, const QStringList& chosen);
// The request's columns from the list's selection.
void ReadWhere(const QListWidget& list, bool withSource, FindRequest& request);
QStringList ChosenEntries(const QListWidget& list);

class CFindDialog : public QDialog {
    Q_OBJECT
public:
    enum class Action { None, FindNext, MarkAll };

    CFindDialog(const QStringList& languages, const FindSettings& settings, QWidget* parent = nullptr);

    Action action() const { return action_; }
    FindRequest request() const;
    // The settings after the dialog: the text first in the history, the choice of "Where".
    FindSettings settings() const;

    QListWidget* whereList() const { return where_; }
    QComboBox* whatCombo() const { return what_; }
    QRadioButton* textChoice() const { return textChoice_; }
    QRadioButton* changedChoice() const { return changed_; }
    QCheckBox* matchCase() const { return matchCase_; }
    QCheckBox* wholeWord() const { return wholeWord_; }
    QPushButton* findNextButton() const { return findNext_; }
    QPushButton* markAllButton() const { return markAll_; }

private:
    void finish(Action action);
    void updateButtons();

    FindSettings settings_;
    QListWidget* where_;
    QRadioButton* textChoice_;
    QComboBox* what_;
    QRadioButton* changed_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QPushButton* findNext_;
    QPushButton* markAll_;
    Action action_ = Action::None;
};

// The "Replace" dialog: its buttons run the finder on the table the bar edits.
class CReplaceDialog : public QDialog {
    Q_OBJECT
public:
    CReplaceDialog(CTextFinder& finder, CTranslationBar& bar, const QStringList& languages,
                   const FindSettings& settings, QWidget* parent = nullptr);

    FindRequest request() const;
    std::string replacement() const;
    // The settings after the dialog: both texts first in their histories when searched.
    FindSettings settings() const;

    void findNext();
    void replace();
    void replaceAll();

    QListWidget* whereList() const { return where_; }
    QComboBox* findCombo() const { return find_; }
    QComboBox* replaceCombo() const { return replace_; }
    QCheckBox* matchCase() const { return matchCase_; }
    QCheckBox* wholeWord() const { return wholeWord_; }
    QPushButton* findNextButton() const { return findNext_; }
    QPushButton* replaceButton() const { return replaceButton_; }
    QPushButton* replaceAllButton() const { return replaceAll_; }

private:
    void remember();

    CTextFinder& finder_;
    CTranslationBar& bar_;
    FindSettings settings_;
    bool searched_ = false;
    QListWidget* where_;
    QComboBox* find_;
    QComboBox* replace_;
    QCheckBox* matchCase_;
    QCheckBox* wholeWord_;
    QPushButton* findNext_;
    QPushButton* replaceButton_;
    QPushButton* replaceAll_;
};

}  // namespace qln
