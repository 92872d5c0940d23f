#pragma once
// What the bitmap view shows of a bitmap text: which file the text names in
// a language (a translation may name another bitmap), where that file lies,
// and the bitmap read from it with its size.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qln {

class CProjectDatabase;

struct BitmapChoice {
    std::string fileName;           // as the text names it, without quotes (display form)
    std::filesystem::path fullPath;  // the file to open; empty when the name is empty
    bool translated = false;        // the language's text is not empty
    bool modified = false;          // its flag column is set
};

// The file a bitmap text names for the language (primary < 0: the source):
// the translation when it is not empty, else the source text. A relative
// name is taken against the folder of the language's translated script
// (relative names of that script against the source script's folder), or
// of the source script for the source or when the translation has no file
// name. Backslashes separate folders; a name that matches no file exactly
// is matched without regard to case. Nothing when the line has no text.
// Throws sql::Error.
std::optional<BitmapChoice> ChooseBitmapFile(CProjectDatabase& project, std::int32_t bitmapLine, int primary,
                                             int sub, const std::filesystem::path& sourceScript);

struct BitmapImage {
    std::vector<std::uint8_t> file;  // the whole file, for decoding
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t headerSize = 0;    // 12 for the core header, 40 and more for the others
};

enum class BitmapStatus {
    Loaded,
    NotFound,  // missing, unreadable, no "BM" signature, short file or unknown header
    TooLarge,  // a negative width or height
};

struct BitmapLoad {
    BitmapStatus status = BitmapStatus::NotFound;
    std::optional<BitmapImage> image;
};

// Reads a Windows bitmap file: the 14-byte file header with its "BM"
// signature, then the information header's width and height (32-bit fields
// for a header of 40 bytes or more, 16-bit ones for the 12-byte core header).
BitmapLoad LoadBitmapFile(const std::filesystem::path& path);

}  // namespace qln
