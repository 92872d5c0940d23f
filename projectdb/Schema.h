#pragma once
// Field types of the project database and how they are declared in SQLite,
// the language identifier rule, and the table layout of format versions 6/7.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qln::sql {
class Database;
}

namespace qln {

// The field types the project database distinguishes.
enum class FieldType { Long, Integer, Byte, Text, Memo, Counter, Other };

// Declared SQLite type names; each has the affinity its values need.
inline constexpr std::string_view DeclLong = "LONG INTEGER";
inline constexpr std::string_view DeclInteger = "SHORT INTEGER";
inline constexpr std::string_view DeclByte = "BYTE INTEGER";
inline constexpr std::string_view DeclText = "TEXT";
inline constexpr std::string_view DeclMemo = "MEMO TEXT";

// Classifies a declared type as PRAGMA table_info reports it.
FieldType FieldTypeOfDecl(std::string_view declaredType);

// The declared type of a field, or nothing when the table or field is missing.
std::optional<FieldType> FieldTypeOf(sql::Database& db, std::string_view table, std::string_view field);
bool HasField(sql::Database& db, std::string_view table, std::string_view field);

// Lang_Id = primary language + 1024 * sublanguage (format version 8).
constexpr std::int32_t LangIdOf(int primary, int sub) { return primary + 1024 * sub; }
constexpr int PrimaryOf(std::int32_t langId) { return langId & 0x3ff; }
constexpr int SubOf(std::int32_t langId) { return (langId >> 10) & 0x3f; }

inline constexpr int CurrentFileVersion = 8;

// Turns a database made from the template into the layout of format
// version 7: languages as Language/SubLanguage in Translations,
// "Source File Language" and Bookmark, no Lang_Id (no per-language layouts)
// in Dialogs and DialogControl, and Project.FileVersion = 7. Used to test
// and to validate the queries for old databases.
void ApplyVersion7Layout(sql::Database& db);

}  // namespace qln
