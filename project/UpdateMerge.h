#pragma once
// The per-line step of a database update: each statement of the new script is
// merged into the rows already in the database. A line that is still there
// keeps its LineIndex (and with it its translations, layouts and bookmarks);
// a changed text keeps its translations and is marked Modified; a line that
// matches nothing is stored as new.
//
// A line matches an old one by content at the cursor (the old lines in script
// order), else by identifier in the table of its kind. Children (captions,
// controls, menu items, version blocks and values) are looked up only under a
// parent that was itself matched. All old rows are held in memory for the
// look-ups: loading is one query per table, each look-up a hash probe.

#include "project/ScriptReader.h"
#include "projectdb/LineIndexSet.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qln {

class CProjectDatabase;

struct UpdateCounts {
    std::size_t oldLines = 0;
    std::size_t matchedByContent = 0;  // unchanged lines (at the cursor or looked up)
    std::size_t rewritten = 0;         // looked-up lines whose statement changed
    std::size_t changedTexts = 0;      // ResourceText rows given a new source text
    std::size_t changedLayouts = 0;    // dialog and control source rows with a new size or position
    std::size_t newLines = 0;
    std::size_t renumbered = 0;        // unchanged lines that moved
};

class UpdateLineStore final : public LineStore {
public:
    explicit UpdateLineStore(CProjectDatabase& db);

    // Reads the old lines and the rows of their kinds.
    void Load();

    std::uint32_t StoreLine(const CRcStatement& statement, const CRcParser& parser, std::int32_t line,
                            ScriptReader& reader) override;
    void IncludeStarted() override;
    void IncludeFinished() override;
    void IncludeAbandoned() override;

    // After a complete parse: gives the unchanged lines their new positions
    // (Added = 1 where Line changes) and builds the set of kept lines.
    void WriteMatchedPositions();
    // A line the update keeps: an old line that was matched, or a new one.
    bool IsKept(std::int64_t lineIndex) const;

    const UpdateCounts& counts() const noexcept { return counts_; }

private:
    static constexpr std::uint32_t kNone = 0xFFFFFFFFu;

    // Tables an old line can have a row in (besides ResFileLine/ResourceText).
    enum class Table : std::uint8_t { None, Dialog, Caption, Control, MenuItem, Block, Value, Other };

    struct OldLine {
        std::uint32_t lineIndex = 0;
        std::int32_t line = 0;
        std::int32_t kind = 0;
        std::uint32_t before = 0, beforeLen = 0;  // offsets into pool_
        std::uint32_t text = 0, textLen = 0;
        std::uint32_t behind = 0, behindLen = 0;
        std::uint32_t group = kNone;  // look-up group
        std::uint32_t aux = kNone;    // row in the vector of its table
        std::int32_t newLine = 0;
        Table table = Table::None;
        bool hasText = false;
        bool matched = false;
        bool rewritten = false;  // written at once (changed content)
    };
    // Old lines that share one look-up key, in script order.
    struct Group {
        std::uint32_t begin = 0, end = 0;  // range in members_
        std::uint32_t next = 0;            // members before it are all matched
        std::uint32_t unmatched = 0;
    };
    struct DialogRow {
        std::int32_t cx = 0, cy = 0;
        std::string nameId;
    };
    struct ControlRow {
        std::int32_t dlgLine = 0;
        std::string nameId;
        std::optional<std::string> className;
        std::int32_t type = 0, flags = 0, x = 0, y = 0, cx = 0, cy = 0;
    };
    struct MenuItemRow {
        std::int32_t menuLine = 0;
        std::int32_t level = 0;
        std::string nameId;
    };
    struct ValueRow {
        std::int32_t versResLine = 0, blockHeaderLine = 0;
        std::string value;
    };
    // One reversible change of the in-memory state, for an include file that
    // is taken back.
    struct Undo {
        enum class What : std::uint8_t { Matched, Cursor, GroupNext, GroupUnmatched } what;
        std::uint32_t index;
        std::uint32_t previous;
    };

    std::string_view Before(const OldLine& o) const { return {pool_.data() + o.before, o.beforeLen}; }
    std::string_view Text(const OldLine& o) const { return {pool_.data() + o.text, o.textLen}; }
    std::string_view Behind(const OldLine& o) const { return {pool_.data() + o.behind, o.behindLen}; }
    std::uint32_t AddToPool(std::string_view text);

    void LoadLines();
    void LoadKindRows();
    void BuildGroups(std::vector<std::pair<std::uint32_t, std::uint32_t>>& memberships);
    std::uint32_t EntryOf(std::int64_t lineIndex) const;

    // The same line, line ends inside its strings aside (CR LF = LF).
    bool SameContent(const OldLine& o, const CRcStatement& s) const;
    bool SameBytes(const OldLine& o, const CRcStatement& s) const;
    std::uint32_t LookUp(const CRcStatement& s);
    bool ParentMatched() const;
    std::uint32_t FirstUnmatched(const std::string& key);
    std::uint32_t OnlyUnmatched(const std::string& key);

    std::uint32_t StoreNew(const CRcStatement& s, const CRcParser& parser, std::int32_t line, ScriptReader& reader);
    void StoreMatched(std::uint32_t entry, bool lookedUp, const CRcStatement& s, const CRcParser& parser,
                      std::int32_t line);
    void StoreLineEnds(const OldLine& o, const CRcStatement& s);
    void StoreSourceText(std::int32_t lineIndex, std::string_view text);
    void UpdateKindRow(OldLine& o, const CRcStatement& s, const CRcParser& parser, bool contentChanged);
    void UpdateDialog(const OldLine& o, const CRcStatement& s);
    void UpdateControl(const OldLine& o, const CRcStatement& s);

    void SetCursor(std::uint32_t value);
    void MarkMatched(std::uint32_t entry);
    void Log(Undo::What what, std::uint32_t index, std::uint32_t previous);

    CProjectDatabase& db_;
    std::string pool_;
    std::vector<OldLine> old_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> entryOf_;  // (LineIndex, entry), sorted
    std::unordered_map<std::string, std::uint32_t> groupOf_;       // look-up key -> group
    std::vector<Group> groups_;
    std::vector<std::uint32_t> members_;
    std::vector<DialogRow> dialogs_;
    std::vector<std::int32_t> captions_;  // DlgLine
    std::vector<ControlRow> controls_;
    std::vector<MenuItemRow> menuItems_;
    std::vector<std::int32_t> blocks_;    // VersResLine
    std::vector<ValueRow> values_;

    std::uint32_t cursor_ = 0;
    std::vector<Undo> undo_;
    std::vector<std::size_t> includeMarks_;  // undo_ sizes where include files started
    std::vector<std::uint32_t> newIndexes_;
    LineIndexSet kept_;
    UpdateCounts counts_;
};

}  // namespace qln
