#pragma once
// Checks of one translation of a project: placeholders, hotkeys, blanks and
// line breaks, final punctuation, texts the language's code page cannot hold,
// dialog texts clipped by their controls, controls that overlap only in the
// language's layout, and texts not yet translated. Each finding names the text by its LineIndex
// and by the identifiers the text table shows.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace qln {
class CProjectDatabase;
}

namespace qln::checks {

enum class Severity { Info = 0, Warning = 1, Error = 2 };

std::string_view SeverityName(Severity severity);  // "info", "warning", "error"
std::optional<Severity> ParseSeverity(std::string_view name);

struct Finding {
    std::string check;          // one of CheckNames()
    Severity severity = Severity::Info;
    std::int32_t lineIndex = -1;
    std::size_t order = 0;      // position of the text in script order
    std::string resourceIdent;  // dialog, menu, version resource; "STRINGTABLE"
    std::string itemType;       // "Dialog Item", "Menu Item", ...
    std::string idText;         // the item's identifier
    std::string sourceText;
    std::string translation;    // as stored; empty when not translated
    std::string message;
};

struct CheckOptions {
    std::vector<std::string> checks;  // names of the checks to run; empty = all
    // Widest values of placeholders when measuring texts: "W"s for a string,
    // digits for a number.
    int stringWidth = 20;
    int numberWidth = 10;
};

// The names of the checks, in the order they are reported for one text.
std::span<const std::string_view> CheckNames();
bool IsCheckName(std::string_view name);

struct CheckRun {
    std::vector<Finding> findings;  // in script order, then in CheckNames() order
    std::size_t textsChecked = 0;
};

// Runs the checks over the translation named by its display name (its
// column). Throws sql::Error on a database failure and std::invalid_argument
// when the project has no such translation.
CheckRun CheckTranslation(CProjectDatabase& project, std::string_view language, const CheckOptions& options = {});

}  // namespace qln::checks
