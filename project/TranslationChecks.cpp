#include "project/TranslationChecks.h"

#include "project/LayoutChecks.h"
#include "project/TextChecks.h"
#include "project/TextTable.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Statements.h"
#include "projectdb/Translations.h"
#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"
#include "rcscript/RcStatement.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace qln::checks {
namespace {

constexpr std::string_view kPlaceholders = "placeholders";
constexpr std::string_view kHotkeys = "hotkeys";
constexpr std::string_view kSpacing = "spacing";
constexpr std::string_view kPunctuation = "punctuation";
constexpr std::string_view kEncoding = "encoding";
constexpr std::string_view kClipped = "clipped";
constexpr std::string_view kOverlap = "overlap";
constexpr std::string_view kUntranslated = "untranslated";
constexpr std::string_view kNames[] = {kPlaceholders, kHotkeys, kSpacing, kPunctuation,
                                       kEncoding,     kClipped, kOverlap, kUntranslated};

std::size_t CheckRank(std::string_view name)
{
    return static_cast<std::size_t>(std::find(std::begin(kNames), std::end(kNames), name) - std::begin(kNames));
}

bool IsDialogText(int category)
{
    return category == category::DialogItem || category == category::DialogCaption;
}

// The character at a byte offset of a UTF-8 text.
std::string CharacterAt(std::string_view text, std::size_t offset)
{
    if (offset >= text.size())
        return {};
    const unsigned char lead = static_cast<unsigned char>(text[offset]);
    const std::size_t length = Utf8SequenceLength(lead);
    return std::string(text.substr(offset, length));
}

class Checker {
public:
    Checker(CProjectDatabase& project, std::string_view language, const CheckOptions& options)
        : project_(project), options_(options)
    {
        table_ = LoadTextTable(project, TextTableFilter{});
        column_ = table_.languageIndex(language);
        if (column_ < 0)
            throw std::invalid_argument(std::string(language));
        const TextTableLanguage& lang = table_.languages[static_cast<std::size_t>(column_)];
        codePage_ = GetCodePage(project, lang.primary, lang.sub).value_or(65001);
    }

    CheckRun run()
    {
        CheckRun result;
        for (std::size_t i = 0; i < table_.rows.size(); ++i) {
            const TextTableRow& row = table_.rows[i];
            if (row.sourceText.empty())
                continue;
            ++result.textsChecked;
            checkText(i, row);
        }
        if (enabled(kHotkeys)) {
            checkDialogHotkeys();
            checkMenuHotkeys();
        }
        if (enabled(kClipped) || enabled(kOverlap))
            checkLayouts();
        std::stable_sort(findings_.begin(), findings_.end(), [](const Finding& a, const Finding& b) {
            return a.order != b.order ? a.order < b.order : CheckRank(a.check) < CheckRank(b.check);
        });
        result.findings = std::move(findings_);
        return result;
    }

private:
    bool enabled(std::string_view check) const
    {
        return options_.checks.empty() ||
               std::find(options_.checks.begin(), options_.checks.end(), check) != options_.checks.end();
    }

    const std::string& translationOf(const TextTableRow& row) const
    {
        return row.translations[static_cast<std::size_t>(column_)];
    }

    // What the translated script will hold: the source where nothing replaces it.
    const std::string& writtenText(const TextTableRow& row) const
    {
        const std::string& translation = translationOf(row);
        return row.excluded || translation.empty() ? row.sourceText : translation;
    }

    void add(std::size_t order, std::string_view check, Severity severity, std::string message)
    {
        const TextTableRow& row = table_.rows[order];
        findings_.push_back(Finding{std::string(check), severity, row.lineIndex, order, row.resourceIdent,
                                    std::string(row.itemType()), row.idText, row.sourceText, translationOf(row),
                                    std::move(message)});
    }

    void checkText(std::size_t order, const TextTableRow& row)
    {
        const std::string& translation = translationOf(row);
        const bool translated = !row.excluded && !translation.empty();
        if (translated && !IsNameCategory(row.category)) {
            if (enabled(kPlaceholders))
                if (std::string why = ComparePlaceholders(row.sourceText, translation); !why.empty())
                    add(order, kPlaceholders, Severity::Error, std::move(why));
            if (enabled(kHotkeys))
                checkOwnHotkeys(order, row, translation);
            if (enabled(kSpacing))
                for (std::string& why : CompareSpacing(row.sourceText, translation, !IsDialogText(row.category)))
                    add(order, kSpacing, Severity::Warning, std::move(why));
            if (enabled(kPunctuation))
                if (std::string why = CompareFinalPunctuation(row.sourceText, translation); !why.empty())
                    add(order, kPunctuation, Severity::Info, std::move(why));
        }
        if (enabled(kEncoding))
            checkEncoding(order, writtenText(row));
        if (enabled(kUntranslated) && !row.excluded && translation.empty() && !IsNameCategory(row.category))
            add(order, kUntranslated, Severity::Info, std::string(msg::CheckUntranslated));
    }

    void checkOwnHotkeys(std::size_t order, const TextTableRow& row, const std::string& translation)
    {
        const std::vector<std::string> from = FindHotkeys(row.sourceText);
        const std::vector<std::string> to = FindHotkeys(translation);
        if (!from.empty() && to.empty())
            add(order, kHotkeys, Severity::Warning, msg::Format(msg::CheckHotkeyMissing, {from.front()}));
        else if (to.size() > 1 && from.size() < 2)
            add(order, kHotkeys, Severity::Warning, std::string(msg::CheckHotkeyTwice));
    }

    void checkEncoding(std::size_t order, const std::string& text)
    {
        const EncodeResult encoded = EncodeFromUtf8(text, codePage_);
        if (encoded.status == EncodeStatus::Unrepresentable)
            add(order, kEncoding, Severity::Error,
                msg::Format(msg::CheckEncoding, {std::to_string(codePage_), CharacterAt(text, encoded.offset)}));
        else if (encoded.status == EncodeStatus::InvalidUtf8)
            add(order, kEncoding, Severity::Error, std::string(msg::CheckEncodingInvalid));
    }

    void checkLayouts()
    {
        std::unordered_map<std::int32_t, ControlText> texts;
        for (std::size_t i = 0; i < table_.rows.size(); ++i) {
            const TextTableRow& row = table_.rows[i];
            if (row.category == category::DialogItem && !row.sourceText.empty())
                texts.emplace(row.lineIndex, ControlText{i, writtenText(row), row.sourceText});
        }
        const TextTableLanguage& lang = table_.languages[static_cast<std::size_t>(column_)];
        const LayoutCheckOptions layout{enabled(kClipped), enabled(kOverlap), options_.stringWidth,
                                        options_.numberWidth};
        for (LayoutFinding& f : CheckDialogLayouts(project_, lang.primary + 1024 * lang.sub, texts, layout))
            add(f.order, f.overlap ? kOverlap : kClipped, Severity::Warning, std::move(f.message));
    }

    // One group of texts that share the keyboard: the controls of a dialog or
    // the items of one popup. A hotkey used twice is reported on every text
    // after the first, unless the source texts already share a hotkey there.
    void checkHotkeyGroup(const std::vector<std::size_t>& group)
    {
        std::map<std::string, std::vector<std::size_t>> byKey;
        for (std::size_t order : group) {
            const std::vector<std::string> keys = FindHotkeys(writtenText(table_.rows[order]));
            if (!keys.empty())
                byKey[keys.front()].push_back(order);
        }
        for (const auto& [key, rows] : byKey) {
            if (rows.size() < 2 || SharedInSource(rows))
                continue;
            for (std::size_t k = 1; k < rows.size(); ++k)
                add(rows[k], kHotkeys, Severity::Warning,
                    msg::Format(msg::CheckHotkeyDuplicate, {key, writtenText(table_.rows[rows.front()])}));
        }
    }

    bool SharedInSource(const std::vector<std::size_t>& rows) const
    {
        std::vector<std::string> first = FindHotkeys(table_.rows[rows.front()].sourceText);
        if (first.empty())
            return false;
        return std::all_of(rows.begin() + 1, rows.end(), [&](std::size_t order) {
            const std::vector<std::string> keys = FindHotkeys(table_.rows[order].sourceText);
            return !keys.empty() && keys.front() == first.front();
        });
    }

    void checkDialogHotkeys()
    {
        std::map<std::int32_t, std::vector<std::size_t>> dialogs;
        for (std::size_t i = 0; i < table_.rows.size(); ++i)
            if (table_.rows[i].category == category::DialogItem && !table_.rows[i].sourceText.empty())
                dialogs[table_.rows[i].resourceLine].push_back(i);
        for (const auto& [dialog, group] : dialogs)
            checkHotkeyGroup(group);
    }

    // The popup each menu entry hangs under, from the levels in script order;
    // an entry whose level drops by more than one hangs under the last popup
    // of the level above it.
    void checkMenuHotkeys()
    {
        std::unordered_map<std::int32_t, std::size_t> orderOf;
        for (std::size_t i = 0; i < table_.rows.size(); ++i)
            if (!table_.rows[i].sourceText.empty())
                orderOf.emplace(table_.rows[i].lineIndex, i);
        std::map<std::pair<std::int64_t, std::int64_t>, std::vector<std::size_t>> popups;
        std::vector<std::int64_t> open;  // popup LineIndex per level
        std::int64_t menu = -1;
        sql::Statement& st = project_.Query(stmt::MenuTreeInOrder);
        while (st.step()) {
            const std::int64_t line = st.columnInt64(0), menuLine = st.columnInt64(1);
            const std::size_t level = static_cast<std::size_t>(std::max<std::int64_t>(0, st.columnInt64(2)));
            if (menuLine != menu) {
                menu = menuLine;
                open.clear();
            }
            const std::int64_t parent = level == 0 || open.empty() ? -1 : open[std::min(level, open.size()) - 1];
            if (auto it = orderOf.find(static_cast<std::int32_t>(line)); it != orderOf.end())
                popups[{menuLine, parent}].push_back(it->second);
            if (st.columnInt(3) == kind::Popup) {
                open.resize(std::min(level, open.size()));
                open.push_back(line);
            }
        }
        for (const auto& [key, group] : popups)
            checkHotkeyGroup(group);
    }

    CProjectDatabase& project_;
    const CheckOptions& options_;
    TextTable table_;
    int column_ = -1;
    int codePage_ = 65001;
    std::vector<Finding> findings_;
};

}  // namespace

std::string_view SeverityName(Severity severity)
{
    switch (severity) {
    case Severity::Info: return "info";
    case Severity::Warning: return "warning";
    case Severity::Error: return "error";
    }
    return "error";
}

std::optional<Severity> ParseSeverity(std::string_view name)
{
    for (Severity s : {Severity::Info, Severity::Warning, Severity::Error})
        if (SeverityName(s) == name)
            return s;
    return std::nullopt;
}

std::span<const std::string_view> CheckNames()
{
    return kNames;
}

bool IsCheckName(std::string_view name)
{
    return CheckRank(name) < std::size(kNames);
}

CheckRun CheckTranslation(CProjectDatabase& project, std::string_view language, const CheckOptions& options)
{
    return Checker(project, language, options).run();
}

}  // namespace qln::checks
