#include "project/DialogFonts.h"

#include "project/TextChecks.h"

#include "rcscript/AsciiText.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <cmath>
#include <stdexcept>

namespace qln {
namespace {

// Wine's fonts (Debian fonts-wine) are drawn to the metrics of the Windows
// fonts of the same names; Liberation (fonts-liberation2) matches Arial,
// Times New Roman and Courier New; DejaVu (fonts-dejavu-core) is the last resort.
constexpr FontSubstitute kSubstitutes[] = {
    {"MS Sans Serif", "/usr/share/wine/fonts/ms_sans_serif.ttf", "Liberation Sans"},
    {"MS Shell Dlg", "/usr/share/wine/fonts/ms_sans_serif.ttf", "Liberation Sans"},
    {"Helv", "/usr/share/wine/fonts/ms_sans_serif.ttf", "Liberation Sans"},
    {"MS Shell Dlg 2", "/usr/share/wine/fonts/tahoma.ttf", "DejaVu Sans"},
    {"Tahoma", "/usr/share/wine/fonts/tahoma.ttf", "DejaVu Sans"},
    {"Segoe UI", "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", "Liberation Sans"},
    {"Microsoft Sans Serif", "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", "Liberation Sans"},
    {"Arial", "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf", "Liberation Sans"},
    {"Times New Roman", "/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf", "Liberation Serif"},
    {"Courier New", "/usr/share/fonts/truetype/liberation2/LiberationMono-Regular.ttf", "Liberation Mono"},
    {"Courier", "/usr/share/wine/fonts/courier.ttf", "Liberation Mono"},
    {"System", "/usr/share/wine/fonts/system.ttf", "DejaVu Sans"},
};

// A family through fontconfig; only files FreeType reads as outlines.
std::optional<std::filesystem::path> MatchFamily(std::string_view family)
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config)
        return std::nullopt;
    std::optional<std::filesystem::path> found;
    if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(std::string(family).c_str()))) {
        FcConfigSubstitute(config, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
            FcChar8* file = nullptr;
            if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
                found = std::filesystem::path(reinterpret_cast<const char*>(file));
            FcPatternDestroy(match);
        }
        FcPatternDestroy(pattern);
    }
    FcConfigDestroy(config);
    return found;
}

// The code point at text[i] and its length; an ill-formed byte reads as itself.
std::size_t DecodeAt(std::string_view text, std::size_t i, char32_t& cp)
{
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = checks::Utf8SequenceLength(lead);
    if (n == 1 || i + n > text.size()) {
        cp = lead;
        return 1;
    }
    cp = lead & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k)
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    return n;
}

int Round26(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }

}  // namespace

struct FontMeasure::Library {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Library()
    {
        if (face)
            FT_Done_Face(face);
        if (library)
            FT_Done_FreeType(library);
    }
};

std::span<const FontSubstitute> FontSubstitutes()
{
    return kSubstitutes;
}

std::optional<std::filesystem::path> FontFileFor(std::string_view face)
{
    for (const FontSubstitute& s : kSubstitutes) {
        if (!EqualsNoCase(s.face, face))
            continue;
        std::error_code ec;
        if (std::filesystem::is_regular_file(s.file, ec))
            return std::filesystem::path(s.file);
        return MatchFamily(s.fallback);
    }
    return MatchFamily(face);
}

FontMeasure::FontMeasure(std::string_view face, int pointSize) : ft_(std::make_unique<Library>())
{
    const std::optional<std::filesystem::path> file = FontFileFor(face);
    if (!file || FT_Init_FreeType(&ft_->library) != 0 || FT_New_Face(ft_->library, file->c_str(), 0, &ft_->face) != 0)
        throw std::runtime_error("no font for \"" + std::string(face) + "\"");
    file_ = *file;
    // Windows asks for a character height of MulDiv(points, 96, 72) pixels.
    const FT_UInt pixels = static_cast<FT_UInt>((pointSize * 96 + 36) / 72);
    if (!FT_IS_SCALABLE(ft_->face) && ft_->face->num_fixed_sizes > 0) {
        // A bitmap font: Windows takes the strike whose cell, less its internal
        // leading (about a sixth), holds the character height.
        int chosen = ft_->face->num_fixed_sizes - 1;
        for (int i = ft_->face->num_fixed_sizes - 1; i >= 0; --i)
            if (ft_->face->available_sizes[i].height * 20 >= static_cast<int>(pixels) * 23)
                chosen = i;
        FT_Select_Size(ft_->face, chosen);
        height_ = ft_->face->available_sizes[chosen].height;
        return;
    }
    FT_Set_Pixel_Sizes(ft_->face, 0, pixels);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft_->face, FT_SFNT_OS2));
    if (os2 && ft_->face->units_per_EM) {
        // TrueType fonts: the character height is the em, and the cell adds the
        // Windows ascent and descent scaled to it, each rounded.
        const double scale = static_cast<double>(pixels) / ft_->face->units_per_EM;
        height_ = static_cast<int>(std::lround(os2->usWinAscent * scale) + std::lround(os2->usWinDescent * scale));
    } else {
        height_ = Round26(ft_->face->size->metrics.ascender - ft_->face->size->metrics.descender);
    }
}

FontMeasure::~FontMeasure() = default;

int FontMeasure::textWidth(std::string_view utf8) const
{
    int width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        i += DecodeAt(utf8, i, cp);
        if (FT_Load_Char(ft_->face, cp, FT_LOAD_DEFAULT) == 0)
            width += Round26(ft_->face->glyph->advance.x);
    }
    return width;
}

BaseUnits FontMeasure::baseUnits() const
{
    // The average of the 52 letters, rounded as Windows rounds it.
    const int letters = textWidth("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return BaseUnits{(letters / 26 + 1) / 2, height_};
}

}  // namespace qln
