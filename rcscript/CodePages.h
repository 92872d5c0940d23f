#pragma once
// Code pages: the table that gives a language its code page, the list of code
// pages offered to the user, and conversions between code pages and UTF-8.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace qln {

// One row of the code page table, searched in order by primary language and
// sublanguage; the first row matching both wins. Sublanguage -1 matches nothing
// (such rows are only listed).
struct CodePageRow {
    std::string_view name;  // e.g. "Windows, Cyrillic"
    std::string_view hex;   // four hexadecimal digits, used in version block names
    std::string_view text;  // the code page as decimal text
    int primary;
    int sub;
};

std::span<const CodePageRow> CodePageTable();
const CodePageRow* FindCodePageRow(int primary, int sub);  // nullptr when no row matches

// The code page of a language as written into version block names ("04E4" when
// no row matches) and into #pragma code_page ("1252" when no row matches).
std::string CodePageHex(int primary, int sub);
std::string CodePageText(int primary, int sub);

// The code page to read a script of this language in: the table's row when one
// matches; otherwise the ANSI code page Windows uses for the primary language
// (so a Czech script is not read as 1252); 1252 when neither knows it.
int CodePageNumber(int primary, int sub);

// One entry of the list of code pages the user picks from.
struct CodePageListEntry {
    std::string_view name;
    std::string_view text;
    int number;
};

std::span<const CodePageListEntry> CodePageList();
// "name,   Code page:  number" for a listed code page; the number alone otherwise.
std::string CodePageDisplay(int number);

// --- Conversions ------------------------------------------------------------------
// 0 and 1252 are CP1252, 1200/1201 UTF-16LE/BE, 65001 UTF-8; other numbers are
// the Windows code pages of the same number.

// The name iconv knows the code page by; empty for a number it cannot convert.
std::string IconvName(int codePage);
bool IsSupportedCodePage(int codePage);

// Appends `bytes`, read in `codePage`, to `out` as UTF-8. Bytes that are invalid
// in the code page become U+FFFD; in CP1252 the five undefined bytes (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) become the C1 controls of the same value, as on Windows, so
// nothing is lost. Returns false and leaves `out` alone for an unknown code page.
bool DecodeToUtf8(std::string_view bytes, int codePage, std::string& out);

enum class EncodeStatus {
    Ok,
    Unrepresentable,  // a character the code page cannot hold
    InvalidUtf8,      // the input is not valid UTF-8
    UnknownCodePage,
};

struct EncodeResult {
    EncodeStatus status = EncodeStatus::Ok;
    std::size_t offset = 0;  // byte offset in the UTF-8 input of the first failing character
    std::string bytes;       // the encoded text; empty unless status is Ok
    explicit operator bool() const { return status == EncodeStatus::Ok; }
};

// Encodes UTF-8 text in `codePage` without byte-order mark. Never substitutes or
// drops a character: the first one the code page cannot hold fails the whole text.
EncodeResult EncodeFromUtf8(std::string_view utf8, int codePage);

// The byte-order mark a file in this code page starts with (UTF-16 only).
std::string_view ByteOrderMark(int codePage);

// --- UTF-8 helpers ------------------------------------------------------------------

// Offset of the first byte that does not belong to a well-formed UTF-8 sequence
// (overlong forms, surrogates and values above U+10FFFF are ill-formed), or npos.
std::size_t FindInvalidUtf8(std::string_view bytes);
// Appends `bytes` to `out`, replacing every ill-formed byte by U+FFFD.
void AppendSanitizedUtf8(std::string_view bytes, std::string& out);
void AppendUtf8(char32_t cp, std::string& out);

}  // namespace qln
