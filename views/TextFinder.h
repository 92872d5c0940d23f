#pragma once
// CTextFinder: the search of one text table. It keeps what was searched
// last, runs "Find Next", "Mark All" and "Remove Marks" on the table and
// the replacements, which go through the translation bar so that each is
// stored (and undone) like a typed translation. The searches themselves are
// the core's (project/TextSearch.h).

#include "project/TextSearch.h"

#include <QObject>
#include <QPointer>
#include <QString>

namespace qln {

class CTextListView;
class CTranslationBar;

// What the "Find Text" or "Replace" dialog asks for.
struct FindRequest {
    bool sourceChosen = false;
    std::vector<int> languageIndices;  // into the table's languages
    bool changedItems = false;
    std::string text;
    FindOptions options;
};

class CTextFinder : public QObject {
    Q_OBJECT
public:
    // The table's finder, made on first use (a child of the table).
    static CTextFinder* of(CTextListView* view);

    explicit CTextFinder(CTextListView* view);

    CTextListView* view() const { return view_; }
    const SearchState& state() const { return state_; }

    // "Mark All": clears every mark, then marks the matching cells; gives
    // how many. Nothing marked: the message, and the search text is cleared.
    int markAll(const FindRequest& request);
    // "Find Next" of the dialog: from the selected row; false without a hit.
    bool findNext(const FindRequest& request);
    // "Find Next" again with the remembered columns and options.
    bool findNextAgain();
    void removeMarks();

    // The replace commands; the bar must edit this table.
    bool replaceFindNext(const FindRequest& request, CTranslationBar& bar);
    bool replace(const FindRequest& request, const std::string& replacement, CTranslationBar& bar);
    // Every hit in the chosen columns; one undo step. Gives the count.
    int replaceAll(const FindRequest& request, const std::string& replacement, CTranslationBar& bar);

signals:
    // A message for the user ("No matches found ...").
    void message(const QString& text);

private:
    void adopt(const FindRequest& request, bool replacing);
    void select(CellPos cell);
    bool selectHitInBar(const ReplaceHit& hit, CTranslationBar& bar);
    // The pending hit is still the bar's item and selection.
    bool pendingInBar(CTranslationBar& bar) const;
    bool runFindNext();
    void notFound(std::string_view pattern);

    QPointer<CTextListView> view_;
    SearchState state_;
};

}  // namespace qln
