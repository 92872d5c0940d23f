#include "project/UpdateMerge.h"

#include "project/ProjectBuild.h"
#include "projectdb/ProjectDatabase.h"
#include "rcscript/AsciiText.h"
#include "rcscript/RcParser.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace qln {

namespace {

// What a look-up key is made of: the kind of look-up, the parent's LineIndex
// (0 for top-level resources) and the identifier or text.
enum class Look : char {
    Dialog = 'D', Caption = 'C', ControlText = 'T', ControlPlain = 'P', Menu = 'M', Popup = 'U', MenuItem = 'I',
    String = 'S', Bitmap = 'B', Include = 'N', Version = 'V', Block = 'K', Value = 'L', Language = 'G'
};

std::string Key(Look look, std::int64_t parent, std::string_view name)
{
    const auto p = static_cast<std::int32_t>(parent);
    std::string key;
    key.reserve(1 + sizeof p + name.size());
    key.push_back(static_cast<char>(look));
    key.append(reinterpret_cast<const char*>(&p), sizeof p);
    key.append(name);
    return key;
}

// Identifiers and include names compare without regard to (ASCII) case, as
// the database's NOCASE columns do.
std::string Fold(std::string_view text) { return ToUpperAscii(text); }

std::string LangKey(std::int64_t langId)
{
    const auto id = static_cast<std::int32_t>(langId);
    return std::string(reinterpret_cast<const char*>(&id), sizeof id);
}

// Texts compare with a CR LF taken as an LF: a string continued over lines
// holds its line ends as written, and version control checks a script out
// with either.
bool SameText(std::string_view a, std::string_view b)
{
    if (a == b)
        return true;
    if (a.find('\r') == std::string_view::npos && b.find('\r') == std::string_view::npos)
        return false;
    auto lineEnd = [](std::string_view s, std::size_t i) {
        return s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n';
    };
    std::size_t i = 0, j = 0;
    for (; i < a.size() && j < b.size(); ++i, ++j) {
        i += lineEnd(a, i);
        j += lineEnd(b, j);
        if (a[i] != b[j])
            return false;
    }
    return i == a.size() && j == b.size();
}

// The text with every CR LF as an LF, for look-up keys made of texts.
std::string LfLineEnds(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '\r' || i + 1 >= text.size() || text[i + 1] != '\n')
            out += text[i];
    return out;
}

void BindTextOrNull(sql::Statement& st, int index, std::string_view text)
{
    if (text.empty())
        st.bind(index, nullptr);
    else
        st.bind(index, text);
}

}  // namespace

UpdateLineStore::UpdateLineStore(CProjectDatabase& db) : db_(db) {}

std::uint32_t UpdateLineStore::AddToPool(std::string_view text)
{
    if (pool_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::bad_alloc();
    const auto offset = static_cast<std::uint32_t>(pool_.size());
    pool_.append(text);
    return offset;
}

std::uint32_t UpdateLineStore::EntryOf(std::int64_t lineIndex) const
{
    if (lineIndex < 0 || lineIndex > std::numeric_limits<std::uint32_t>::max())
        return kNone;
    const auto key = static_cast<std::uint32_t>(lineIndex);
    auto it = std::lower_bound(entryOf_.begin(), entryOf_.end(), std::make_pair(key, std::uint32_t{0}));
    return it != entryOf_.end() && it->first == key ? it->second : kNone;
}

// --- Loading the old state --------------------------------------------------------------

void UpdateLineStore::Load()
{
    LoadLines();
    LoadKindRows();
    counts_.oldLines = old_.size();
}

void UpdateLineStore::LoadLines()
{
    // Two plain scans in storage order, joined here: cheaper than walking the
    // lines in script order and looking each text up in the other table.
    sql::Statement lines =
        db_.db().prepare("SELECT LineIndex, Line, LineIdentSym, BeforeStr, BehindStr FROM ResFileLine");
    while (lines.step()) {
        OldLine o;
        o.lineIndex = static_cast<std::uint32_t>(lines.columnInt64(0));
        o.line = lines.columnInt(1);
        o.kind = lines.columnInt(2);
        const std::string_view before = lines.columnView(3);
        o.before = AddToPool(before);
        o.beforeLen = static_cast<std::uint32_t>(before.size());
        const std::string_view behind = lines.columnView(4);
        o.behind = AddToPool(behind);
        o.behindLen = static_cast<std::uint32_t>(behind.size());
        old_.push_back(o);
    }
    // Script order: by Line, lines of the same number by LineIndex. The rows
    // of a database built or compacted lie in that order already.
    const auto scriptOrder = [](const OldLine& a, const OldLine& b) {
        return a.line != b.line ? a.line < b.line : a.lineIndex < b.lineIndex;
    };
    if (!std::is_sorted(old_.begin(), old_.end(), scriptOrder))
        std::sort(old_.begin(), old_.end(), scriptOrder);
    entryOf_.reserve(old_.size());
    for (std::uint32_t i = 0; i < old_.size(); ++i)
        entryOf_.emplace_back(old_[i].lineIndex, i);
    std::sort(entryOf_.begin(), entryOf_.end());

    sql::Statement texts = db_.db().prepare("SELECT LineIndex, SourceText FROM ResourceText");
    while (texts.step()) {
        const std::uint32_t entry = EntryOf(texts.columnInt64(0));
        if (entry == kNone || old_[entry].hasText)
            continue;
        OldLine& o = old_[entry];
        const std::string_view text = texts.columnView(1);
        o.text = AddToPool(text);
        o.textLen = static_cast<std::uint32_t>(text.size());
        o.hasText = true;
    }
}

void UpdateLineStore::LoadKindRows()
{
    std::vector<std::pair<std::uint32_t, std::uint32_t>> memberships;  // (group, entry)
    auto join = [&](std::uint32_t entry, const std::string& key) {
        if (old_[entry].group != kNone)
            return;
        auto [it, added] = groupOf_.try_emplace(key, static_cast<std::uint32_t>(groups_.size()));
        if (added)
            groups_.emplace_back();
        old_[entry].group = it->second;
        memberships.emplace_back(it->second, entry);
    };
    // Runs the query and hands each row with a known line to `row`.
    auto each = [&](const char* query, auto&& row) {
        sql::Statement st = db_.db().prepare(query);
        while (st.step()) {
            const std::uint32_t entry = EntryOf(st.columnInt64(0));
            if (entry != kNone && old_[entry].table == Table::None)
                row(entry, st, old_[entry]);
        }
    };
    auto index = [](const auto& rows) { return static_cast<std::uint32_t>(rows.size()); };

    each("SELECT LineIndex, Name_ID, cx, cy FROM Dialogs WHERE Lang_Id = 0", [&](auto entry, auto& st, OldLine& o) {
        o.table = Table::Dialog;
        o.aux = index(dialogs_);
        dialogs_.push_back({st.columnInt(2), st.columnInt(3), st.columnText(1)});
        if (!st.isNull(1))
            join(entry, Key(Look::Dialog, 0, Fold(st.columnText(1))));
    });
    each("SELECT LineIndex, DlgLine FROM DlgCaption", [&](auto entry, auto& st, OldLine& o) {
        o.table = Table::Caption;
        o.aux = index(captions_);
        captions_.push_back(st.columnInt(1));
        join(entry, Key(Look::Caption, st.columnInt64(1), {}));
    });
    each("SELECT LineIndex, DlgLine, Name_ID, Class, Type, Flags, x, y, cx, cy FROM DialogControl "
         "WHERE Lang_Id = 0",
         [&](auto entry, auto& st, OldLine& o) {
             o.table = Table::Control;
             o.aux = index(controls_);
             controls_.push_back({st.columnInt(1), st.columnText(2), st.columnOptText(3), st.columnInt(4),
                                  st.columnInt(5), st.columnInt(6), st.columnInt(7), st.columnInt(8),
                                  st.columnInt(9)});
             const std::string name = st.columnText(2);
             if (!name.empty())
                 join(entry, Key(o.hasText ? Look::ControlText : Look::ControlPlain, st.columnInt64(1), Fold(name)));
         });
    each("SELECT LineIndex, MenuLine, Level, Name_ID FROM MenuItem", [&](auto entry, auto& st, OldLine& o) {
        o.table = Table::MenuItem;
        o.aux = index(menuItems_);
        menuItems_.push_back({st.columnInt(1), st.columnInt(2), st.columnText(3)});
        if (o.kind == kind::Popup && o.hasText)
            join(entry, Key(Look::Popup, st.columnInt64(1), LfLineEnds(Text(o))));
        else if (!menuItems_.back().nameId.empty())
            join(entry, Key(Look::MenuItem, st.columnInt64(1), Fold(menuItems_.back().nameId)));
    });
    each("SELECT LineIndex, VersResLine FROM VersionBlockHeader", [&](auto entry, auto& st, OldLine& o) {
        o.table = Table::Block;
        o.aux = index(blocks_);
        blocks_.push_back(st.columnInt(1));
        if (o.hasText)
            join(entry, Key(Look::Block, st.columnInt64(1), Text(o)));
    });
    each("SELECT LineIndex, VersResLine, BlockHeaderLine, Value FROM VersionBlockValues",
         [&](auto entry, auto& st, OldLine& o) {
             o.table = Table::Value;
             o.aux = index(values_);
             values_.push_back({st.columnInt(1), st.columnInt(2), st.columnText(3)});
             join(entry, Key(Look::Value, st.columnInt64(1), Fold(values_.back().value)));
         });
    // Tables whose rows an update never rewrites: only the identifier is kept.
    const std::pair<const char*, Look> named[] = {
        {"SELECT LineIndex, Name_ID FROM Menu", Look::Menu},
        {"SELECT LineIndex, Name_ID FROM StringtableString", Look::String},
        {"SELECT LineIndex, Name_ID FROM Bitmap", Look::Bitmap},
        {"SELECT LineIndex, Name_ID FROM Version", Look::Version},
    };
    for (const auto& [query, look] : named)
        each(query, [&, look = look](auto entry, auto& st, OldLine& o) {
            o.table = Table::Other;
            join(entry, Key(look, 0, Fold(st.columnText(1))));
        });
    each("SELECT LineIndex, Lang_Id FROM \"Source File Language\"", [&](auto entry, auto& st, OldLine& o) {
        o.table = Table::Other;
        join(entry, Key(Look::Language, 0, LangKey(st.columnInt64(1))));
    });
    for (std::uint32_t i = 0; i < old_.size(); ++i)
        if ((old_[i].kind == kind::Include || old_[i].kind == kind::RcInclude) && old_[i].hasText)
            join(i, Key(Look::Include, 0, Fold(Text(old_[i]))));
    BuildGroups(memberships);
}

void UpdateLineStore::BuildGroups(std::vector<std::pair<std::uint32_t, std::uint32_t>>& memberships)
{
    // Entries are numbered in script order: sorting puts each group's members
    // together, first line first.
    std::sort(memberships.begin(), memberships.end());
    members_.resize(memberships.size());
    for (std::uint32_t i = 0; i < memberships.size(); ++i) {
        Group& g = groups_[memberships[i].first];
        if (g.unmatched == 0)
            g.begin = g.next = i;
        g.end = i + 1;
        ++g.unmatched;
        members_[i] = memberships[i].second;
    }
}

// --- Matching ---------------------------------------------------------------------------

bool UpdateLineStore::SameContent(const OldLine& o, const CRcStatement& s) const
{
    return o.kind == s.kind && o.hasText == s.HasText() && SameText(Before(o), s.BeforeStr()) &&
           SameText(Text(o), s.SourceText()) && SameText(Behind(o), s.BehindStr());
}

bool UpdateLineStore::SameBytes(const OldLine& o, const CRcStatement& s) const
{
    return Before(o) == s.BeforeStr() && Text(o) == s.SourceText() && Behind(o) == s.BehindStr();
}

bool UpdateLineStore::ParentMatched() const
{
    const std::uint32_t entry = EntryOf(db_.currentStatementLine);
    return entry != kNone && old_[entry].matched;
}

std::uint32_t UpdateLineStore::FirstUnmatched(const std::string& key)
{
    auto it = groupOf_.find(key);
    if (it == groupOf_.end())
        return kNone;
    Group& g = groups_[it->second];
    while (g.next < g.end && old_[members_[g.next]].matched) {
        Log(Undo::What::GroupNext, it->second, g.next);
        ++g.next;
    }
    return g.next < g.end ? members_[g.next] : kNone;
}

std::uint32_t UpdateLineStore::OnlyUnmatched(const std::string& key)
{
    auto it = groupOf_.find(key);
    if (it == groupOf_.end() || groups_[it->second].unmatched != 1)
        return kNone;
    return FirstUnmatched(key);
}

std::uint32_t UpdateLineStore::LookUp(const CRcStatement& s)
{
    const int k = s.kind;
    const std::string_view name = s.NameId();
    const std::int32_t parent = db_.currentStatementLine;
    if (IsDialogControlKind(k)) {
        if (name.empty() || !ParentMatched())
            return kNone;
        return FirstUnmatched(Key(s.HasText() ? Look::ControlText : Look::ControlPlain, parent, Fold(name)));
    }
    switch (k) {
    case kind::Dialog:
    case kind::DialogEx:
        return name.empty() ? kNone : FirstUnmatched(Key(Look::Dialog, 0, Fold(name)));
    case kind::Caption:
        return ParentMatched() ? FirstUnmatched(Key(Look::Caption, parent, {})) : kNone;
    case kind::Menu:
        return name.empty() ? kNone : FirstUnmatched(Key(Look::Menu, 0, Fold(name)));
    case kind::Popup:
        // Popups have no identifier: only a text that one popup of the menu has.
        return s.HasText() && ParentMatched()
                   ? OnlyUnmatched(Key(Look::Popup, parent, LfLineEnds(s.SourceText())))
                   : kNone;
    case kind::MenuItem:
        return !name.empty() && ParentMatched() ? FirstUnmatched(Key(Look::MenuItem, parent, Fold(name))) : kNone;
    case kind::StringTableEntry:
        return s.HasText() && !name.empty() ? FirstUnmatched(Key(Look::String, 0, Fold(name))) : kNone;
    case kind::Bitmap:
        return s.HasText() && !name.empty() ? FirstUnmatched(Key(Look::Bitmap, 0, Fold(name))) : kNone;
    case kind::Include:
    case kind::RcInclude:
        return s.HasText() ? FirstUnmatched(Key(Look::Include, 0, Fold(s.SourceText()))) : kNone;
    case kind::VersionInfo:
        return FirstUnmatched(Key(Look::Version, 0, Fold(name)));
    case kind::Block:
        return s.HasText() && ParentMatched() ? FirstUnmatched(Key(Look::Block, parent, s.SourceText())) : kNone;
    case kind::Value:
        return s.HasText() && !name.empty() && ParentMatched() ? FirstUnmatched(Key(Look::Value, parent, Fold(name)))
                                                               : kNone;
    case kind::Language:
        return FirstUnmatched(Key(Look::Language, 0, LangKey(LangIdOf(s.language, s.subLanguage))));
    default:
        return kNone;
    }
}

// --- Storing ----------------------------------------------------------------------------

std::uint32_t UpdateLineStore::StoreLine(const CRcStatement& s, const CRcParser& parser, std::int32_t line,
                                         ScriptReader& reader)
{
    std::uint32_t entry = kNone;
    if (cursor_ < old_.size() && !old_[cursor_].matched && SameContent(old_[cursor_], s))
        entry = cursor_;
    const bool lookedUp = entry == kNone;
    if (lookedUp)
        entry = LookUp(s);
    if (entry == kNone)
        return StoreNew(s, parser, line, reader);
    StoreMatched(entry, lookedUp, s, parser, line);
    return old_[entry].lineIndex;
}

std::uint32_t UpdateLineStore::StoreNew(const CRcStatement& s, const CRcParser& parser, std::int32_t line,
                                        ScriptReader& reader)
{
    // Stored as a build stores it, then marked as a line the update added.
    BuildLineStore build(db_);
    const std::uint32_t index = build.StoreLine(s, parser, line, reader);
    db_.db().cached("UPDATE ResFileLine SET Added = 1 WHERE LineIndex = ?1").bind(1, index).run();
    newIndexes_.push_back(index);
    ++counts_.newLines;
    return index;
}

void UpdateLineStore::StoreMatched(std::uint32_t entry, bool lookedUp, const CRcStatement& s,
                                   const CRcParser& parser, std::int32_t line)
{
    OldLine& o = old_[entry];
    const bool same = !lookedUp || SameContent(o, s);
    MarkMatched(entry);
    o.newLine = line;
    o.rewritten = !same;
    // The next line is compared with the old line behind this one, also when
    // this one changed: the lines around a changed text keep their indexes.
    SetCursor(entry + 1);
    if (same) {
        ++counts_.matchedByContent;
        if (!SameBytes(o, s))
            StoreLineEnds(o, s);
        UpdateKindRow(o, s, parser, false);
        return;
    }
    ++counts_.rewritten;
    const auto li = static_cast<std::int32_t>(o.lineIndex);
    auto& st = db_.db().cached("UPDATE ResFileLine SET Line = ?1, Added = 1, LineIdentSym = ?2, BeforeStr = ?3, "
                               "BehindStr = ?4 WHERE LineIndex = ?5");
    st.bind(1, line).bind(2, s.kind);
    BindTextOrNull(st, 3, s.BeforeStr());
    BindTextOrNull(st, 4, s.BehindStr());
    st.bind(5, li).run();

    if (s.HasText() && o.hasText) {
        if (!SameText(Text(o), s.SourceText())) {
            db_.SetSourceText(li, s.SourceText(), Text(o));
            ++counts_.changedTexts;
        } else if (Text(o) != s.SourceText()) {
            StoreSourceText(li, s.SourceText());
        }
    } else if (s.HasText()) {
        const int k = s.kind;
        const bool exclude = k == kind::Include || k == kind::RcInclude || k == kind::Bitmap || s.SourceText().empty();
        db_.AppendText(li, s.SourceText(), exclude);
    } else if (o.hasText) {
        db_.db().cached("DELETE FROM ResourceText WHERE LineIndex = ?1").bind(1, li).run();
    }
    UpdateKindRow(o, s, parser, true);
}

// An unchanged line whose strings have other line ends now: it is stored as
// the script writes it, without being flagged.
void UpdateLineStore::StoreLineEnds(const OldLine& o, const CRcStatement& s)
{
    const auto li = static_cast<std::int32_t>(o.lineIndex);
    auto& st = db_.db().cached("UPDATE ResFileLine SET BeforeStr = ?1, BehindStr = ?2 WHERE LineIndex = ?3");
    BindTextOrNull(st, 1, s.BeforeStr());
    BindTextOrNull(st, 2, s.BehindStr());
    st.bind(3, li).run();
    if (o.hasText)
        StoreSourceText(li, s.SourceText());
}

void UpdateLineStore::StoreSourceText(std::int32_t lineIndex, std::string_view text)
{
    auto& st = db_.db().cached("UPDATE ResourceText SET SourceText = ?1 WHERE LineIndex = ?2");
    BindTextOrNull(st, 1, text);
    st.bind(2, lineIndex).run();
}

void UpdateLineStore::UpdateKindRow(OldLine& o, const CRcStatement& s, const CRcParser& parser,
                                    bool contentChanged)
{
    const auto li = static_cast<std::int32_t>(o.lineIndex);
    const std::int32_t parent = db_.currentStatementLine;
    sql::Database& db = db_.db();
    switch (o.table) {
    case Table::None:
        // A statement line without a row (a header whose row is missing, a
        // BLOCK without a text) still opens its resource or block.
        if (s.kind == kind::Block)
            db_.currentBlockLine = li;
        else if (s.kind == kind::Dialog || s.kind == kind::DialogEx || s.kind == kind::Menu ||
                 s.kind == kind::VersionInfo)
            db_.currentStatementLine = li;
        break;
    case Table::Dialog:
        UpdateDialog(o, s);
        db_.currentStatementLine = li;
        break;
    case Table::Caption:
        if (captions_[o.aux] != parent)
            db.cached("UPDATE DlgCaption SET DlgLine = ?1 WHERE LineIndex = ?2").bind(1, parent).bind(2, li).run();
        break;
    case Table::Control:
        UpdateControl(o, s);
        break;
    case Table::MenuItem: {
        const MenuItemRow& row = menuItems_[o.aux];
        const std::int32_t level = parser.Depth() - 1;
        const std::string_view name = s.NameId();
        if (row.menuLine != parent || row.level != level || row.nameId != name) {
            auto& st = db.cached("UPDATE MenuItem SET MenuLine = ?1, Level = ?2, Name_ID = ?3 WHERE LineIndex = ?4");
            st.bind(1, parent).bind(2, level);
            BindTextOrNull(st, 3, name);
            st.bind(4, li).run();
        }
        break;
    }
    case Table::Block:
        if (blocks_[o.aux] != parent)
            db.cached("UPDATE VersionBlockHeader SET VersResLine = ?1 WHERE LineIndex = ?2")
                .bind(1, parent)
                .bind(2, li)
                .run();
        db_.currentBlockLine = li;
        break;
    case Table::Value: {
        const ValueRow& row = values_[o.aux];
        const std::string_view name = s.NameId();
        if (row.versResLine != parent || row.blockHeaderLine != db_.currentBlockLine || row.value != name)
            db.cached("UPDATE VersionBlockValues SET VersResLine = ?1, BlockHeaderLine = ?2, Value = ?3 "
                      "WHERE LineIndex = ?4")
                .bind(1, parent)
                .bind(2, db_.currentBlockLine)
                .bind(3, name)
                .bind(4, li)
                .run();
        break;
    }
    case Table::Other: {
        const char* table = nullptr;
        switch (s.kind) {
        case kind::Menu: table = "Menu"; db_.currentStatementLine = li; break;
        case kind::VersionInfo: table = "Version"; db_.currentStatementLine = li; break;
        case kind::StringTableEntry: table = "StringtableString"; break;
        case kind::Bitmap: table = "Bitmap"; break;
        default: break;
        }
        // Found by an identifier that differs only in case: store it as written now.
        if (contentChanged && table)
            db.cached(std::string("UPDATE ") + table +
                      " SET Name_ID = ?1 WHERE LineIndex = ?2 AND Name_ID <> ?1 COLLATE BINARY")
                .bind(1, s.NameId())
                .bind(2, li)
                .run();
        break;
    }
    }
}

void UpdateLineStore::UpdateDialog(const OldLine& o, const CRcStatement& s)
{
    const DialogRow& row = dialogs_[o.aux];
    const auto li = static_cast<std::int32_t>(o.lineIndex);
    sql::Database& db = db_.db();
    if (row.cx != s.cx || row.cy != s.cy) {
        // The source layout takes the new size and remembers the old one; every
        // language layout is marked as made for the old size.
        db.cached("UPDATE Dialogs SET cx_prev = cx, cy_prev = cy, cx = ?1, cy = ?2 WHERE LineIndex = ?3 AND Lang_Id = 0")
            .bind(1, s.cx)
            .bind(2, s.cy)
            .bind(3, li)
            .run();
        db.cached("UPDATE Dialogs SET Modified = 1, cx_prev = ?1, cy_prev = ?2 WHERE LineIndex = ?3 AND Lang_Id <> 0")
            .bind(1, row.cx)
            .bind(2, row.cy)
            .bind(3, li)
            .run();
        ++counts_.changedLayouts;
    }
    if (row.nameId != s.NameId())
        db.cached("UPDATE Dialogs SET Name_ID = ?1 WHERE LineIndex = ?2").bind(1, s.NameId()).bind(2, li).run();
}

void UpdateLineStore::UpdateControl(const OldLine& o, const CRcStatement& s)
{
    const ControlRow& row = controls_[o.aux];
    const auto li = static_cast<std::int32_t>(o.lineIndex);
    const std::int32_t dlgLine = db_.currentStatementLine;
    const std::string_view name = s.NameId();
    std::optional<std::string_view> className;
    if (s.faceLen > 0)
        className = std::string_view(s.text).substr(static_cast<std::size_t>(s.facePos),
                                                     static_cast<std::size_t>(s.faceLen));
    const auto flags = static_cast<std::int32_t>(s.flagBits);
    const bool layout = row.x != s.x || row.y != s.y || row.cx != s.cx || row.cy != s.cy;
    const bool other = row.dlgLine != dlgLine || row.nameId != name || row.type != s.kind || row.flags != flags ||
                       (className && row.className != *className);
    if (!layout && !other)
        return;
    sql::Database& db = db_.db();
    auto& st = db.cached(
        "UPDATE DialogControl SET DlgLine = ?1, Name_ID = ?2, Class = coalesce(?3, Class), Type = ?4, Flags = ?5, "
        "x_prev = CASE WHEN ?10 THEN x ELSE x_prev END, y_prev = CASE WHEN ?10 THEN y ELSE y_prev END, "
        "cx_prev = CASE WHEN ?10 THEN cx ELSE cx_prev END, cy_prev = CASE WHEN ?10 THEN cy ELSE cy_prev END, "
        "x = ?6, y = ?7, cx = ?8, cy = ?9 WHERE LineIndex = ?11 AND Lang_Id = 0");
    st.bind(1, dlgLine).bind(2, name);
    if (className)
        st.bind(3, *className);
    else
        st.bind(3, nullptr);
    st.bind(4, s.kind).bind(5, flags).bind(6, s.x).bind(7, s.y).bind(8, s.cx).bind(9, s.cy);
    st.bind(10, layout ? 1 : 0).bind(11, li).run();
    if (layout) {
        db.cached("UPDATE DialogControl SET Modified = 1 WHERE LineIndex = ?1 AND Lang_Id <> 0").bind(1, li).run();
        ++counts_.changedLayouts;
    }
}

// --- Include files that are taken back ---------------------------------------------------

void UpdateLineStore::Log(Undo::What what, std::uint32_t index, std::uint32_t previous)
{
    if (!includeMarks_.empty())
        undo_.push_back({what, index, previous});
}

void UpdateLineStore::SetCursor(std::uint32_t value)
{
    if (value == cursor_)
        return;
    Log(Undo::What::Cursor, 0, cursor_);
    cursor_ = value;
}

void UpdateLineStore::MarkMatched(std::uint32_t entry)
{
    OldLine& o = old_[entry];
    Log(Undo::What::Matched, entry, 0);
    o.matched = true;
    if (o.group != kNone) {
        Group& g = groups_[o.group];
        Log(Undo::What::GroupUnmatched, o.group, g.unmatched);
        --g.unmatched;
    }
}

void UpdateLineStore::IncludeStarted()
{
    includeMarks_.push_back(undo_.size());
}

void UpdateLineStore::IncludeFinished()
{
    if (includeMarks_.empty())
        return;
    includeMarks_.pop_back();
    if (includeMarks_.empty())
        undo_.clear();  // nothing left that could be taken back
}

void UpdateLineStore::IncludeAbandoned()
{
    if (includeMarks_.empty())
        return;
    const std::size_t mark = includeMarks_.back();
    includeMarks_.pop_back();
    while (undo_.size() > mark) {
        const Undo u = undo_.back();
        undo_.pop_back();
        switch (u.what) {
        case Undo::What::Matched: old_[u.index].matched = false; break;
        case Undo::What::Cursor: cursor_ = u.previous; break;
        case Undo::What::GroupNext: groups_[u.index].next = u.previous; break;
        case Undo::What::GroupUnmatched: groups_[u.index].unmatched = u.previous; break;
        }
    }
}

// --- After the parse --------------------------------------------------------------------------

void UpdateLineStore::WriteMatchedPositions()
{
    sql::Database& db = db_.db();
    const std::size_t n = old_.size();
    auto unchangedWithDelta = [&](std::size_t i, std::int64_t delta) {
        const OldLine& o = old_[i];
        return o.matched && !o.rewritten && std::int64_t{o.newLine} - o.line == delta;
    };
    // Unchanged lines that moved, in runs that moved by the same distance: one
    // statement per run. Lines at their old place are not written at all.
    for (std::size_t i = 0; i < n;) {
        const OldLine& first = old_[i];
        const std::int64_t delta = std::int64_t{first.newLine} - first.line;
        if (!first.matched || first.rewritten || delta == 0) {
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j + 1 < n && unchangedWithDelta(j + 1, delta))
            ++j;
        // The range of old Line values must hold this run's lines only.
        const bool alone = (i == 0 || old_[i - 1].line < first.line) && (j + 1 >= n || old_[j + 1].line > old_[j].line);
        if (alone && j > i) {
            db.cached("UPDATE ResFileLine SET Line = Line + ?1, Added = 1 WHERE Added = 0 AND Line BETWEEN ?2 AND ?3")
                .bind(1, delta)
                .bind(2, first.line)
                .bind(3, old_[j].line)
                .run();
        } else {
            auto& one = db.cached("UPDATE ResFileLine SET Line = ?1, Added = 1 WHERE LineIndex = ?2");
            for (std::size_t k = i; k <= j; ++k) {
                one.reset();
                one.bind(1, old_[k].newLine).bind(2, old_[k].lineIndex).run();
            }
        }
        counts_.renumbered += j - i + 1;
        i = j + 1;
    }
    kept_.clear();
    for (const OldLine& o : old_)
        if (o.matched)
            kept_.insert(o.lineIndex);
    for (std::uint32_t index : newIndexes_)
        kept_.insert(index);
}

bool UpdateLineStore::IsKept(std::int64_t lineIndex) const
{
    return lineIndex >= 0 && lineIndex <= std::numeric_limits<std::uint32_t>::max() &&
           kept_.contains(static_cast<std::uint32_t>(lineIndex));
}

}  // namespace qln
