#include "project/ResourceTree.h"

#include "projectdb/ProjectDatabase.h"
#include "rcscript/AsciiText.h"
#include "rcscript/Messages.h"
#include "rcscript/RcStatement.h"

#include <algorithm>

namespace qln {

namespace {

// A bitmap resource node (the text table shows its file name as category 10).
constexpr int kBitmapResourceCategory = 9;

// Lists whose texts can be excluded carry the parameter :ShowExcluded; the
// texts are found through a LEFT JOIN as `t` (a line without text is never
// excluded).
constexpr std::string_view kExcludedClause = "(:ShowExcluded <> 0 OR coalesce(t.Exclude, 0) = 0)";

std::string With(std::string_view head, std::string_view tail)
{
    return std::string(head) + std::string(tail);
}

// Name_ID and LineIndex of every string, in script order.
const QueryText& StringsQuery()
{
    static const QueryText q{
        "ResourceTreeStrings",
        With("SELECT s.Name_ID, s.LineIndex FROM StringtableString s "
             "JOIN ResFileLine f ON f.LineIndex = s.LineIndex "
             "LEFT JOIN ResourceText t ON t.LineIndex = s.LineIndex WHERE ",
             With(kExcludedClause, " ORDER BY f.Line")),
        "", ""};
    return q;
}

const QueryText& BitmapsQuery()
{
    static const QueryText q{
        "ResourceTreeBitmaps",
        With("SELECT b.Name_ID, b.LineIndex FROM Bitmap b "
             "JOIN ResFileLine f ON f.LineIndex = b.LineIndex "
             "LEFT JOIN ResourceText t ON t.LineIndex = b.LineIndex WHERE ",
             With(kExcludedClause, " ORDER BY f.Line")),
        "", ""};
    return q;
}

// The file name (SourceText) and LineIndex of every include line.
const QueryText& IncludesQuery()
{
    static const QueryText q{
        "ResourceTreeIncludes",
        "SELECT t.SourceText, f.LineIndex FROM ResFileLine f "
        "JOIN ResourceText t ON t.LineIndex = f.LineIndex "
        "WHERE f.LineIdentSym IN (" + std::to_string(kind::Include) + ", " + std::to_string(kind::RcInclude) +
            ") AND " + std::string(kExcludedClause) + " ORDER BY f.Line",
        "", ""};
    return q;
}

// Below a resource: (label, LineIndex, LineIdentSym) in script order.
// A dialog's caption comes first, then its controls (source layout rows).
std::string DialogItemsSql(bool sourceRowsOnly)
{
    return With("SELECT x.Label, x.LineIndex, f.LineIdentSym FROM ("
                "SELECT LineIndex, '' AS Label FROM DlgCaption WHERE DlgLine = :Resource "
                "UNION ALL SELECT LineIndex, Name_ID FROM DialogControl WHERE DlgLine = :Resource",
                With(sourceRowsOnly ? " AND Lang_Id = 0" : "",
                     With(") x JOIN ResFileLine f ON f.LineIndex = x.LineIndex "
                          "LEFT JOIN ResourceText t ON t.LineIndex = x.LineIndex WHERE ",
                          With(kExcludedClause, " ORDER BY f.LineIdentSym <> " + std::to_string(kind::Caption) +
                                                    ", f.Line"))));
}

const QueryText& DialogItemsQuery()
{
    static const QueryText q{"ResourceTreeDialogItems", DialogItemsSql(true), DialogItemsSql(false), ""};
    return q;
}

const QueryText& MenuItemsQuery()
{
    static const QueryText q{
        "ResourceTreeMenuItems",
        With("SELECT mi.Name_ID, mi.LineIndex, f.LineIdentSym FROM MenuItem mi "
             "JOIN ResFileLine f ON f.LineIndex = mi.LineIndex "
             "LEFT JOIN ResourceText t ON t.LineIndex = mi.LineIndex WHERE mi.MenuLine = :Resource AND ",
             With(kExcludedClause, " ORDER BY f.Line")),
        "", ""};
    return q;
}

// Block headers and values of a version resource; every header is followed
// by its values in the script, so script order puts them after it.
const QueryText& VersionItemsQuery()
{
    static const QueryText q{
        "ResourceTreeVersionItems",
        "SELECT x.Label, x.LineIndex, f.LineIdentSym FROM ("
        "SELECT LineIndex, '' AS Label FROM VersionBlockHeader WHERE VersResLine = :Resource "
        "UNION ALL SELECT LineIndex, Value FROM VersionBlockValues WHERE VersResLine = :Resource"
        ") x JOIN ResFileLine f ON f.LineIndex = x.LineIndex ORDER BY f.Line",
        "", ""};
    return q;
}

// The stored queries of the named resources, and the rest.
std::string_view StoredListName(ResourceGroup group)
{
    switch (group) {
    case ResourceGroup::Dialogs: return "Dialogs_Line_Id";
    case ResourceGroup::Menus: return "Menus_Line_Id";
    case ResourceGroup::Versions: return "Versions_Line_Id";
    default: return {};
    }
}

const QueryText& ListQuery(CProjectDatabase& project, ResourceGroup group)
{
    switch (group) {
    case ResourceGroup::Strings: return StringsQuery();
    case ResourceGroup::Bitmaps: return BitmapsQuery();
    case ResourceGroup::Includes: return IncludesQuery();
    default: return project.StoredQuery(StoredListName(group));
    }
}

// Binds :ShowExcluded where the query has it.
sql::Statement& Prepared(CProjectDatabase& project, const QueryText& query, const TextTableFilter& filter)
{
    sql::Statement& st = project.Query(query);
    if (st.hasParameter(":ShowExcluded"))
        st.bind(":ShowExcluded", filter.ShowsExcluded() ? 1 : 0);
    return st;
}

// Reads (label, LineIndex) rows, resets the statement.
std::vector<ResourceNode> ReadNodes(sql::Statement& st, int nodeCategory)
{
    std::vector<ResourceNode> nodes;
    while (st.step())
        nodes.push_back({st.columnText(0), static_cast<std::int32_t>(st.columnInt64(1)), nodeCategory});
    st.reset();
    return nodes;
}

void SortByName(std::vector<ResourceNode>& nodes)
{
    // Case-blind, as identifiers are in scripts; resources of one name keep
    // their script order.
    std::stable_sort(nodes.begin(), nodes.end(), [](const ResourceNode& a, const ResourceNode& b) {
        return std::lexicographical_compare(a.label.begin(), a.label.end(), b.label.begin(), b.label.end(),
                                            [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
    });
}

std::string ItemLabel(int lineKind, std::string label)
{
    switch (lineKind) {
    case kind::Caption: return std::string(msg::TreeCaption);
    case kind::Popup: return std::string(msg::TreePopup);
    case kind::Block: return std::string(msg::TreeBlockHeader);
    default: return label;
    }
}

}  // namespace

bool GroupShown(const TextTableFilter& filter, ResourceGroup group)
{
    switch (group) {
    case ResourceGroup::Dialogs: return filter.dialogs;
    case ResourceGroup::Menus: return filter.menus;
    case ResourceGroup::Strings: return filter.strings;
    case ResourceGroup::Bitmaps: return filter.bitmaps;
    case ResourceGroup::Versions: return filter.versions;
    case ResourceGroup::Includes: return filter.includes;
    }
    return false;
}

std::string GroupLabel(ResourceGroup group, bool shown, int count)
{
    struct Labels {
        std::string_view counted, hidden;
    };
    static constexpr Labels labels[] = {
        {msg::TreeDialogs, msg::TreeDialogsHidden},   {msg::TreeMenus, msg::TreeMenusHidden},
        {msg::TreeStrings, msg::TreeStringsHidden},   {msg::TreeBitmaps, msg::TreeBitmapsHidden},
        {msg::TreeVersions, msg::TreeVersionsHidden}, {msg::TreeIncludes, msg::TreeIncludesHidden}};
    const Labels& l = labels[static_cast<std::size_t>(group)];
    return shown ? msg::Format(l.counted, {std::to_string(count)}) : std::string(l.hidden);
}

int GroupCategory(ResourceGroup group)
{
    switch (group) {
    case ResourceGroup::Dialogs: return category::Dialog;
    case ResourceGroup::Menus: return category::Menu;
    case ResourceGroup::Strings: return category::StringtableString;
    case ResourceGroup::Bitmaps: return kBitmapResourceCategory;
    case ResourceGroup::Versions: return category::Versioninfo;
    case ResourceGroup::Includes: return category::Include;
    }
    return category::None;
}

bool HasResourceItems(int resourceCategory)
{
    return resourceCategory == category::Dialog || resourceCategory == category::Menu ||
           resourceCategory == category::Versioninfo;
}

std::array<int, 6> CountResources(CProjectDatabase& project, const TextTableFilter& filter)
{
    std::array<int, 6> counts{};
    for (std::size_t i = 0; i < kResourceGroups.size(); ++i) {
        const ResourceGroup group = kResourceGroups[i];
        if (!GroupShown(filter, group))
            continue;
        // Counting the list's own rows keeps label and list in step.
        const QueryText& list = ListQuery(project, group);
        const QueryText count{list.name + "_Count", "SELECT count(*) FROM (" + list.sql + ")",
                              list.sqlOld.empty() ? "" : "SELECT count(*) FROM (" + list.sqlOld + ")", ""};
        sql::Statement& st = Prepared(project, count, filter);
        counts[i] = st.step() ? st.columnInt(0) : 0;
        st.reset();
    }
    return counts;
}

std::vector<ResourceNode> ListResources(CProjectDatabase& project, ResourceGroup group,
                                        const TextTableFilter& filter)
{
    if (!GroupShown(filter, group))
        return {};
    std::vector<ResourceNode> nodes = ReadNodes(Prepared(project, ListQuery(project, group), filter),
                                                GroupCategory(group));
    if (!StoredListName(group).empty())
        SortByName(nodes);
    return nodes;
}

std::vector<ResourceNode> ListResourceItems(CProjectDatabase& project, const ResourceNode& resource,
                                            const TextTableFilter& filter)
{
    const QueryText* query = nullptr;
    switch (resource.category) {
    case category::Dialog: query = &DialogItemsQuery(); break;
    case category::Menu: query = &MenuItemsQuery(); break;
    case category::Versioninfo: query = &VersionItemsQuery(); break;
    default: return {};
    }
    sql::Statement& st = Prepared(project, *query, filter);
    st.bind(":Resource", resource.lineIndex);
    std::vector<ResourceNode> nodes;
    while (st.step()) {
        const int lineKind = st.columnInt(2);
        nodes.push_back({ItemLabel(lineKind, st.columnText(0)), static_cast<std::int32_t>(st.columnInt64(1)),
                         ItemCategory(lineKind)});
    }
    st.reset();
    return nodes;
}

}  // namespace qln
