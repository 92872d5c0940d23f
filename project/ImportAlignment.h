#pragma once
// Pairing the statements of a translated script with the project's lines.
//
// Statements are found by their identifiers (dialog and control, menu and
// item, string, ...). Several statements can share identifiers: the controls
// named IDC_STATIC of a dialog, the popups of a menu. Every statement takes a
// slot of its own, whether it has a text, an empty one or none, so that the
// n-th statement of a key meets the n-th line of that key in the project.
// Where the script and the project have a different number of lines of a key,
// the lines between neighbours that pair unambiguously (keys found once in
// each, in the same order) are paired where those stretches agree; the
// statements of a stretch that does not agree stay unpaired: they are
// reported, not guessed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <tuple>
#include <vector>

namespace qln {

class CProjectDatabase;

// How a statement is looked up in the project (one stored query each).
enum class Lookup { Caption, Control, Popup, MenuItem, String, Bitmap, VersionValue };

// The identifiers a statement is found by. Identifiers compare without
// regard to case, as the database's Name_ID fields do, so they are kept in
// lower case.
struct TextKey {
    Lookup lookup;
    std::string resource;  // dialog, menu or version resource (empty for strings and bitmaps)
    std::string item;      // control, menu item, string, bitmap or value name
    int lineKind = 0;      // a control's line kind

    auto tie() const { return std::tie(lookup, resource, item, lineKind); }
    bool operator<(const TextKey& other) const { return tie() < other.tie(); }
};

// A statement of the translated script that has its place in the project.
struct ScriptStatement {
    TextKey key;
    std::string text;      // empty when the statement has none or an empty one
    std::string file;      // the file it was read from
    int sourceLine = 0;    // its physical line in that file
};

struct AlignedLine {
    std::size_t statement;  // index into the statements
    std::int32_t lineIndex;
};

struct Alignment {
    std::vector<AlignedLine> pairs;
    // Statements whose key the project has, but which could not be paired
    // one to one; in script order.
    std::vector<std::size_t> unaligned;
};

// Pairs `statements` (in script order) with the project's lines.
Alignment AlignStatements(CProjectDatabase& project, const std::vector<ScriptStatement>& statements);

}  // namespace qln
