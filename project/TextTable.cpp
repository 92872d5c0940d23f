#include "project/TextTable.h"

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/RcStatement.h"

#include <algorithm>

namespace qln {

namespace {

// Whether category c starts a new group after category p.
bool StartsGroup(int p, int c)
{
    if (c == p)
        return false;
    if (p <= 0 || p > 14)
        return true;
    auto in = [](int v, std::initializer_list<int> set) { return std::find(set.begin(), set.end(), v) != set.end(); };
    if (in(p, {1, 11, 12}) && in(c, {1, 11, 12}))
        return false;
    if (in(p, {2, 13, 14}) && in(c, {2, 13, 14}))
        return false;
    if ((p == 3 || p == 4) && c == 4)
        return false;
    if (in(p, {9, 10}) && in(c, {9, 10}))
        return false;
    if (p >= 5 && p <= 8 && c >= 5 && c <= 8)
        return false;
    return true;
}

void AppendFolded(std::string& out, std::string_view field)
{
    for (const char ch : field)
        out += (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

std::string FoldedKey(std::string_view resourceIdent, std::string_view itemType, std::string_view idText)
{
    std::string key;
    key.reserve(resourceIdent.size() + itemType.size() + idText.size() + 2);
    AppendFolded(key, resourceIdent);
    key += '\x1f';
    AppendFolded(key, itemType);
    key += '\x1f';
    AppendFolded(key, idText);
    return key;
}

// Result columns of the row query before the language columns.
enum Col {
    cLineIndex, cSource, cExclude, cKind,
    cCaptionDlg, cControlDlg, cControlName, cMenuLine, cMenuItemName, cStringName, cBitmapName,
    cValueVers, cValueName, cHeaderVers, cDialogName, cMenuName, cVersionName,
    cFirstLanguage
};

std::string RowQuery(const std::vector<TextTableLanguage>& languages, bool langIdLayouts)
{
    const std::string sourceLayout = langIdLayouts ? " AND dc.Lang_Id = 0" : "";
    const std::string sourceDialog = langIdLayouts ? " AND d.Lang_Id = 0" : "";
    std::string q =
        "SELECT t.LineIndex, t.SourceText, t.Exclude, f.LineIdentSym, "
        "cap.DlgLine, dc.DlgLine, dc.Name_ID, mi.MenuLine, mi.Name_ID, ss.Name_ID, bm.Name_ID, "
        "vv.VersResLine, vv.Value, vh.VersResLine, d.Name_ID, m.Name_ID, v.Name_ID";
    for (const auto& language : languages) {
        q += ", t." + sql::QuoteIdentifier(language.displayName);
        q += ", t." + sql::QuoteIdentifier(LanguageFlagColumn(language.displayName));
    }
    q += " FROM ResFileLine f JOIN ResourceText t ON t.LineIndex = f.LineIndex"
         " LEFT JOIN DlgCaption cap ON cap.LineIndex = f.LineIndex"
         " LEFT JOIN DialogControl dc ON dc.LineIndex = f.LineIndex" + sourceLayout +
         " LEFT JOIN MenuItem mi ON mi.LineIndex = f.LineIndex"
         " LEFT JOIN StringtableString ss ON ss.LineIndex = f.LineIndex"
         " LEFT JOIN Bitmap bm ON bm.LineIndex = f.LineIndex"
         " LEFT JOIN VersionBlockValues vv ON vv.LineIndex = f.LineIndex"
         " LEFT JOIN VersionBlockHeader vh ON vh.LineIndex = f.LineIndex"
         " LEFT JOIN Dialogs d ON d.LineIndex = coalesce(cap.DlgLine, dc.DlgLine)" + sourceDialog +
         " LEFT JOIN Menu m ON m.LineIndex = mi.MenuLine"
         " LEFT JOIN Version v ON v.LineIndex = coalesce(vv.VersResLine, vh.VersResLine)"
         " ORDER BY f.Line";
    return q;
}

std::int32_t OptLine(const sql::Statement& st, int column)
{
    return st.isNull(column) ? -1 : static_cast<std::int32_t>(st.columnInt64(column));
}

// Fills the identifiers of a row from the joined kind tables.
void NameRow(TextTableRow& row, const sql::Statement& st)
{
    switch (row.category) {
    case category::DialogItem:
    case category::DialogCaption:
        row.resourceLine = OptLine(st, row.category == category::DialogItem ? cControlDlg : cCaptionDlg);
        row.resourceIdent = st.columnText(cDialogName);
        row.idText = row.category == category::DialogItem ? st.columnText(cControlName) : "\"Caption\"";
        break;
    case category::MenuItem:
    case category::PopupMenu:
        row.resourceLine = OptLine(st, cMenuLine);
        row.resourceIdent = st.columnText(cMenuName);
        row.idText = row.category == category::MenuItem ? st.columnText(cMenuItemName) : "\"Popup\"";
        break;
    case category::StringtableString:
        row.resourceIdent = kStringTableIdent;
        row.idText = st.columnText(cStringName);
        break;
    case category::BitmapFile:
        row.resourceLine = row.lineIndex;
        row.resourceIdent = st.columnText(cBitmapName);
        row.idText = row.resourceIdent;
        break;
    case category::BlockHeader:
        row.resourceLine = OptLine(st, cHeaderVers);
        row.resourceIdent = st.columnText(cVersionName);
        row.idText = "\"Block Header\"";
        break;
    case category::VersionValue:
        row.resourceLine = OptLine(st, cValueVers);
        row.resourceIdent = st.columnText(cVersionName);
        row.idText = st.columnText(cValueName);
        break;
    case category::Include:
        row.idText = "\"#Include\"";
        break;
    default:
        break;
    }
}

}  // namespace

int ItemCategory(int lineKind)
{
    switch (lineKind) {
    case kind::Dialog: return category::Dialog;
    case kind::Menu: return category::Menu;
    case kind::StringTableEntry: return category::StringtableString;
    case kind::Block: return category::BlockHeader;
    case kind::Value: return category::VersionValue;
    case kind::Bitmap: return category::BitmapFile;
    case kind::Caption: return category::DialogCaption;
    case kind::MenuItem: return category::MenuItem;
    case kind::Popup: return category::PopupMenu;
    case kind::Include:
    case kind::RcInclude: return category::Include;
    default: return IsDialogControlKind(lineKind) ? category::DialogItem : category::None;
    }
}

std::string_view ItemTypeName(int cat)
{
    static constexpr std::string_view names[] = {
        "",            "Dialog",        "Menu",         "Stringtable",    "Stringtable String",
        "Versioninfo", "Version Value", "Block Header", "Version Value",  "Bitmap File",
        "Bitmap File", "Dialog Item",   "Dialog Caption", "Menu Item",    "Popup Menu",
        "Include Statement"};
    return cat >= 0 && cat < static_cast<int>(std::size(names)) ? names[cat] : std::string_view{};
}

TextTableFilter TextTableFilter::FromProject(CProjectDatabase& project)
{
    TextTableFilter filter;
    auto flag = [&](std::string_view name) { return project.GetOption(name).value_or(true); };
    filter.bitmaps = flag("BitmapEdit");
    filter.versions = flag("VersionEdit");
    filter.includes = flag("IncludeEdit");
    filter.excluded = flag("ExcludeEdit");
    filter.dialogs = flag("DialogEdit");
    filter.menus = flag("MenuEdit");
    filter.strings = flag("StringtableEdit");
    return filter;
}

bool TextTableFilter::ShowsKind(int k) const
{
    if (k == kind::Caption || IsDialogControlKind(k))
        return dialogs;
    switch (k) {
    case kind::Popup:
    case kind::MenuItem: return menus;
    case kind::StringTableEntry: return strings;
    case kind::Block:
    case kind::Value: return versions;
    case kind::Bitmap: return bitmaps;
    case kind::Include:
    case kind::RcInclude: return includes;
    default: return true;
    }
}

bool TextTableRow::anyModified() const
{
    return std::find(modified.begin(), modified.end(), true) != modified.end();
}

bool TextTableRow::fullyTranslated() const
{
    return std::none_of(translations.begin(), translations.end(), [](const std::string& t) { return t.empty(); });
}

int TextTable::languageIndex(int primary, int sub) const
{
    for (std::size_t i = 0; i < languages.size(); ++i)
        if (languages[i].primary == primary && languages[i].sub == sub)
            return static_cast<int>(i);
    return -1;
}

int TextTable::languageIndex(std::string_view displayName) const
{
    for (std::size_t i = 0; i < languages.size(); ++i)
        if (languages[i].displayName == displayName)
            return static_cast<int>(i);
    return -1;
}

TextTable LoadTextTable(CProjectDatabase& project, const TextTableFilter& filter, Progress& progress)
{
    TextTable table;
    for (const LanguagePair& pair : ListLanguages(project)) {
        const auto name = LanguageDisplayName(pair.primary, pair.sub);
        if (name && HasLanguageColumn(project, pair.primary, pair.sub))
            table.languages.push_back({pair.primary, pair.sub, std::string(*name)});
    }
    const std::size_t languageCount = table.languages.size();

    std::uint64_t total = 0;
    {
        sql::Statement count = project.db().prepare("SELECT count(*) FROM ResourceText");
        if (count.step())
            total = static_cast<std::uint64_t>(count.columnInt64(0));
    }
    const std::uint64_t step = total / 33;  // about every 3 %

    sql::Statement st = project.db().prepare(RowQuery(table.languages, project.UsesLangId()));
    table.rows.reserve(static_cast<std::size_t>(total));
    std::uint64_t read = 0;
    std::int32_t previousLine = -1;
    int previousCategory = 0;
    std::int32_t currentDialog = -1;
    while (st.step()) {
        ++read;
        if (step > 0 && read % step == 0) {
            progress.Report(read, total);
            if (progress.Cancelled())
                break;
        }
        const auto lineIndex = static_cast<std::int32_t>(st.columnInt64(cLineIndex));
        if (lineIndex == previousLine)  // a second layout row of an old-format dialog
            continue;
        previousLine = lineIndex;
        const bool excluded = st.columnInt64(cExclude) != 0;
        if (excluded && !filter.ShowsExcluded())
            continue;
        const int lineKind = st.isNull(cKind) ? -1 : st.columnInt(cKind);
        if (!filter.ShowsKind(lineKind))
            continue;

        TextTableRow row;
        row.lineIndex = lineIndex;
        row.lineKind = lineKind;
        row.category = lineKind == -1 ? 0 : ItemCategory(lineKind);
        row.excluded = excluded;
        row.sourceText = st.columnText(cSource);
        row.translations.resize(languageCount);
        row.modified.resize(languageCount);
        for (std::size_t m = 0; m < languageCount; ++m) {
            const int column = cFirstLanguage + 2 * static_cast<int>(m);
            row.translations[m] = st.columnText(column);
            row.modified[m] = !st.isNull(column + 1) && st.columnInt64(column + 1) != 0;
        }
        if (filter.modifiedOnly && languageCount > 0 && !row.anyModified() && row.fullyTranslated())
            continue;
        NameRow(row, st);

        const bool dialogText = row.category == category::DialogItem || row.category == category::DialogCaption;
        if (StartsGroup(previousCategory, row.category)) {
            row.groupMark = 1;
            if (dialogText)
                currentDialog = row.resourceLine;
        } else if (dialogText && row.resourceLine != currentDialog) {
            row.groupMark = 2;
            currentDialog = row.resourceLine;
        }
        previousCategory = row.category;
        table.rows.push_back(std::move(row));
    }
    progress.Report(read, total);
    return table;
}

TextRowMatcher::TextRowMatcher(const TextTable& table) : table_(table)
{
    byKey_.reserve(table.rows.size());
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const TextTableRow& row = table.rows[i];
        Candidates& c = byKey_[FoldedKey(row.resourceIdent, row.itemType(), row.idText)];
        c.rows.push_back(static_cast<int>(i));
        c.used.push_back(false);
    }
}

int TextRowMatcher::match(std::string_view resourceIdent, std::string_view itemType, std::string_view idText,
                          const std::string* sourceText)
{
    const auto found = byKey_.find(FoldedKey(resourceIdent, itemType, idText));
    if (found == byKey_.end())
        return -1;
    Candidates& c = found->second;
    std::size_t pick = c.rows.size();
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
        if (c.used[i])
            continue;
        if (pick == c.rows.size())
            pick = i;
        if (!sourceText || c.rows.size() == 1)
            break;
        if (table_.rows[static_cast<std::size_t>(c.rows[i])].sourceText == *sourceText) {
            pick = i;
            break;
        }
    }
    if (pick == c.rows.size())
        return -1;
    c.used[pick] = true;
    return c.rows[pick];
}

bool TextRowMatcher::known(std::string_view resourceIdent, std::string_view itemType, std::string_view idText) const
{
    return byKey_.contains(FoldedKey(resourceIdent, itemType, idText));
}

}  // namespace qln
