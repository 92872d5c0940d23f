#include "project/TranslationStore.h"

#include "projectdb/Languages.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace qln {

namespace {

// The translation column and flag column of a language, when it has them.
std::optional<std::pair<std::string, std::string>> LanguageColumns(CProjectDatabase& project, int primary, int sub)
{
    const auto name = LanguageDisplayName(primary, sub);
    if (!name || !HasLanguageColumn(project, primary, sub))
        return std::nullopt;
    return std::pair{std::string(*name), LanguageFlagColumn(*name)};
}

// The row of a text opened with the columns of a language, when both exist.
struct LanguageRow {
    std::string textColumn, flagColumn;
    Recordset row;
};

std::optional<LanguageRow> OpenLanguageRow(CProjectDatabase& project, std::int32_t lineIndex, int primary, int sub)
{
    const auto name = LanguageDisplayName(primary, sub);
    if (!name)
        return std::nullopt;
    Recordset rs = project.OpenQuery("GetResTextRecord_ByLine", {{"LineIndex", lineIndex}});
    // The row carries every field of ResourceText: the language's column is
    // there exactly when the project has the translation.
    if (rs.empty() || !rs.hasField(*name))
        return std::nullopt;
    return LanguageRow{std::string(*name), LanguageFlagColumn(*name), std::move(rs)};
}

}  // namespace

std::optional<TranslationState> StoreTranslation(CProjectDatabase& project, std::int32_t lineIndex, int primary,
                                                 int sub, std::string_view scriptText)
{
    auto r = OpenLanguageRow(project, lineIndex, primary, sub);
    if (!r)
        return std::nullopt;
    TranslationState before{r->row.value(r->textColumn), r->row.value(r->flagColumn)};
    r->row.edit({{r->textColumn, std::string(scriptText)}, {r->flagColumn, std::int64_t{0}}});
    return before;
}

std::optional<TranslationState> ReadTranslationState(CProjectDatabase& project, std::int32_t lineIndex, int primary,
                                                     int sub)
{
    auto r = OpenLanguageRow(project, lineIndex, primary, sub);
    if (!r)
        return std::nullopt;
    return TranslationState{r->row.value(r->textColumn), r->row.value(r->flagColumn)};
}

bool RestoreTranslationState(CProjectDatabase& project, std::int32_t lineIndex, int primary, int sub,
                             const TranslationState& state)
{
    auto r = OpenLanguageRow(project, lineIndex, primary, sub);
    if (!r)
        return false;
    r->row.edit({{r->textColumn, state.text}, {r->flagColumn, state.flag}});
    return true;
}

int TextProgress::translatedPercent() const
{
    return total > 0 ? static_cast<int>(100 * translated / total) : 0;
}

int TextProgress::modifiedPercent() const
{
    return total > 0 ? static_cast<int>((100 * modified + total - 1) / total) : 0;
}

TextProgress ComputeTextProgress(CProjectDatabase& project, const TextTableFilter& filter, int primary, int sub)
{
    TextProgress progress;
    const auto columns = LanguageColumns(project, primary, sub);
    if (!columns)
        return progress;
    sql::Statement st = project.db().prepare(
        "SELECT f.LineIdentSym, t." + sql::QuoteIdentifier(columns->first) + ", t." +
        sql::QuoteIdentifier(columns->second) +
        " FROM ResFileLine f JOIN ResourceText t ON t.LineIndex = f.LineIndex WHERE coalesce(t.Exclude, 0) = 0");
    while (st.step()) {
        if (!filter.ShowsKind(st.isNull(0) ? -1 : st.columnInt(0)))
            continue;
        ++progress.total;
        if (!st.columnText(1).empty())
            ++progress.translated;
        if (!st.isNull(2) && st.columnInt64(2) != 0)
            ++progress.modified;
    }
    return progress;
}

bool AnyKindShown(const TextTableFilter& f)
{
    return f.dialogs || f.menus || f.strings || f.versions || f.bitmaps || f.includes;
}

bool ModifiedOnlyEnabled(const TextTableFilter& filter, int translatedPercent)
{
    return translatedPercent < 100 && AnyKindShown(filter);
}

bool ExcludedFilterEnabled(const TextTableFilter& filter)
{
    return !filter.modifiedOnly;
}

int StoredColumnWidth(CProjectDatabase& project, std::string_view ident, int primary, int sub, int fallback)
{
    const auto setting = project.GetSetting(ident, primary, sub);
    if (!setting || !setting->number || *setting->number < 1)
        return fallback;
    return static_cast<int>(std::min<std::int64_t>(*setting->number, 10000));
}

void StoreColumnWidth(CProjectDatabase& project, std::string_view ident, int primary, int sub, int width)
{
    project.SetSetting(ident, primary, sub, std::string(), width);
}

std::vector<LanguagePair> SourceLanguages(CProjectDatabase& project)
{
    const bool langId = project.UsesLangId();
    sql::Statement st = project.db().prepare(langId ? "SELECT Lang_Id FROM \"Source File Language\" ORDER BY rowid"
                                                    : "SELECT Language, SubLanguage FROM \"Source File Language\" "
                                                      "ORDER BY rowid");
    std::vector<LanguagePair> languages;
    while (st.step()) {
        const int primary = langId ? st.columnInt(0) & 0x3FF : st.columnInt(0);
        const int sub = langId ? st.columnInt(0) >> 10 : st.columnInt(1);
        const bool seen = std::any_of(languages.begin(), languages.end(), [&](const LanguagePair& l) {
            return l.primary == primary && l.sub == sub;
        });
        if (!seen)
            languages.push_back({primary, sub});
    }
    return languages;
}

std::string SourceColumnHeader(CProjectDatabase& project)
{
    std::vector<std::string> names;
    for (const LanguagePair& l : SourceLanguages(project)) {
        const auto name = LanguageDisplayName(l.primary, l.sub);
        names.emplace_back(name ? std::string(*name) : LanguageIdentString(l.primary, l.sub));
    }
    if (names.empty())
        return std::string(msg::SourceTextColumn);
    return msg::Format(msg::SourceTextColumnWithLanguages, {msg::JoinLines(names, ", ")});
}

}  // namespace qln

namespace qln {

std::string OldSourceText(CProjectDatabase& project, std::int32_t lineIndex)
{
    Recordset rs = project.OpenQuery("ResourceText_Old_By_LineIndex", {{"LineIndex", lineIndex}});
    if (rs.empty())
        return {};
    return rs.getText("SourceText_Old").value_or(std::string());
}

BarControls BarControlsFor(const BarItemState& item)
{
    BarControls c;
    const bool editable = item.active && !item.excluded;
    c.ok = editable && !item.sourceEmpty;
    c.cancelNext = item.active;
    c.copy = editable && item.translationEmpty && !item.sourceEmpty;
    c.specialChar = editable && item.lineKind != 85;
    c.sourceText = editable && item.modified;
    c.translationEdit = editable;
    return c;
}

}  // namespace qln
