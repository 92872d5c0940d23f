#pragma once
// The fonts dialogs name, on a system that has none of them: one table maps
// each Windows face name to a free font file of metrics as close as Debian
// has, and FreeType measures texts in it the way Windows lays out dialogs:
// at 96 dots per inch, with the dialog base units taken from the average
// width of the 52 letters A-Z, a-z and the font's height.

#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qln {

struct FontSubstitute {
    std::string_view face;        // as a script names it, compared without regard to case
    std::string_view file;        // preferred font file
    std::string_view fallback;    // fontconfig family used when the file is missing
};

// The substitution table, in the order it is searched.
std::span<const FontSubstitute> FontSubstitutes();

// The font file for a face name: the table's file, its fallback family
// through fontconfig, or the face itself through fontconfig. Nothing when no
// font at all is found.
std::optional<std::filesystem::path> FontFileFor(std::string_view face);

// Horizontal and vertical dialog base units in pixels.
struct BaseUnits {
    int x = 0;
    int y = 0;
    int toPixelsX(int dialogUnits) const { return (dialogUnits * x + 2) / 4; }
    int toPixelsY(int dialogUnits) const { return (dialogUnits * y + 4) / 8; }
};

// A face at a point size, measured in pixels at 96 dpi.
class FontMeasure {
public:
    // Throws std::runtime_error naming the face when no font file can be opened.
    FontMeasure(std::string_view face, int pointSize);
    ~FontMeasure();
    FontMeasure(const FontMeasure&) = delete;
    FontMeasure& operator=(const FontMeasure&) = delete;

    // Width of one line of UTF-8 text (advances, hinted at the pixel size).
    int textWidth(std::string_view utf8) const;
    // Line height: the font's ascent plus descent (what Windows calls tmHeight).
    int lineHeight() const { return height_; }
    BaseUnits baseUnits() const;
    const std::filesystem::path& file() const { return file_; }

private:
    struct Library;
    std::unique_ptr<Library> ft_;
    std::filesystem::path file_;
    int height_ = 0;
};

}  // namespace qln
