#pragma once
// Decoding of resource script files to UTF-8 before they are parsed.
// Order: byte-order mark (UTF-8, UTF-16LE, UTF-16BE), else valid UTF-8, else the
// code page of the first `#pragma code_page`, else that of the first LANGUAGE
// statement, else 1252.

#include <filesystem>
#include <string>
#include <string_view>

namespace qln {

struct DecodedScript {
    std::string text;       // UTF-8, without byte-order mark
    int codePage = 0;       // code page the bytes were read in (1200, 1201, 65001, 1252, ...)
    std::string encoding;   // human-readable description, e.g. "UTF-16LE (BOM)", "CP1251 (#pragma code_page)"
};

// Decodes script bytes. Never fails: bytes invalid in the chosen code page are
// replaced by U+FFFD.
DecodedScript DecodeScript(std::string_view bytes);

// Reads and decodes a file. On failure returns false and sets `error` to a
// message naming the file and the cause.
bool LoadScriptFile(const std::filesystem::path& path, DecodedScript& out, std::string& error);

}  // namespace qln
