#pragma once
// Decoding of resource script files to UTF-8 before they are parsed.
// Order: byte-order mark (UTF-8, UTF-16LE, UTF-16BE), else valid UTF-8, else the
// code page of the first `#pragma code_page`, else that of the first LANGUAGE
// statement, else 1252.
//
// An 8-bit script that changes its code page midway is read section by section,
// each #pragma code_page taking effect from its own line (DEFAULT returns to the
// code page of the LANGUAGE statement, or 1252). A pure ASCII script reads the same
// in every code page; its codePage is still the one its pragma or LANGUAGE names,
// since that is the code page its writer meant. Also handled: UTF-16 without
// byte-order mark, UTF-16LE whose line ends were converted byte-wise (a CR byte
// before each LF byte), and an end-of-file mark (Ctrl-Z) at the end.

#include <filesystem>
#include <string>
#include <string_view>

namespace qln {

struct DecodedScript {
    std::string text;       // UTF-8, without byte-order mark
    int codePage = 0;       // code page the bytes were read in (1200, 1201, 65001, 1252, ...);
                            // the first section's when there are several
    std::string encoding;   // human-readable description, e.g. "UTF-16LE (BOM)", "CP1251 (#pragma code_page)"
    bool codePageAssumed = false;  // 8-bit text that names no code page (no pragma, no LANGUAGE): 1252 was taken
};

// Decodes script bytes. Never fails: bytes invalid in the chosen code page are
// replaced by U+FFFD.
DecodedScript DecodeScript(std::string_view bytes);

// Reads and decodes a file. On failure returns false and sets `error` to a
// message naming the file and the cause.
bool LoadScriptFile(const std::filesystem::path& path, DecodedScript& out, std::string& error);

}  // namespace qln
