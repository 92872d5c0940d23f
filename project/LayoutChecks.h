#pragma once
// Whether translated dialog texts fit their controls: each text is measured
// in the dialog's own font (through the substitution table of DialogFonts.h)
// against the control's rectangle in the language's layout, converted from
// dialog units with that font's base units.

#include "project/DialogFonts.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qln::checks {

// How a control shows its text.
enum class TextBox {
    None,
    WrappedStatic,
    SingleLineStatic,
    Button,
    MultiLineButton,
    CheckOrRadio,
    MultiLineCheckOrRadio,  // BS_MULTILINE: the text wraps beside the box
    GroupBox
};

// Room a button takes from its text, as Windows draws it and the dialog
// preview copies: a push button's frame and margins (half on either side),
// and a check box's or radio button's box with its gap, after which the
// text starts.
constexpr int kPushButtonMargins = 6, kCheckTextStart = 17;

// From the control's line kind, class name and style bits.
TextBox TextBoxOf(int lineKind, std::string_view className, std::uint32_t style);
// Whether '&' marks a hotkey in the control (not with SS_NOPREFIX).
bool UsesPrefix(int lineKind, std::string_view className, std::uint32_t style);

// The text as the control draws it: escapes resolved (\n breaks the line, \t
// is a blank), doubled quotes single, hotkey markers removed, and each
// placeholder replaced by its widest value: `stringWidth` "W" for a string,
// `numberWidth` digits for a number. Lines are separated by '\n'.
std::string DrawnText(std::string_view scriptText, bool prefix, int stringWidth, int numberWidth);

struct Fit {
    bool fits = true;
    int needed = 0;     // pixels wide (single line) or high (wrapped)
    int available = 0;  // pixels the control offers
    bool tooHigh = false;  // wrapped lines that are too many, not a line too wide
};

// Does the drawn text fit a control of `cx` x `cy` pixels?
Fit FitText(const FontMeasure& font, TextBox box, std::string_view drawnText, int cx, int cy);

// The lines a wrapped static text takes in a given width, breaking at blanks
// (a word wider than the line stays whole and does not fit).
std::vector<std::string> WrapText(const FontMeasure& font, std::string_view drawnText, int width);

// The FONT statement of a dialog ("FONT 8, \"MS Shell Dlg\", 400, 0, 0x1").
struct DialogFont {
    std::string face = "MS Sans Serif";
    int pointSize = 8;
};
DialogFont ParseFontStatement(std::string_view statement);

}  // namespace qln::checks

namespace qln {
class CProjectDatabase;
}

namespace qln::checks {

// A dialog control's text as the checks see it.
struct ControlText {
    std::size_t order = 0;   // the text's position in script order
    std::string written;     // what the translated script holds
    std::string source;
};

struct LayoutFinding {
    std::size_t order = 0;
    bool overlap = false;    // else clipped
    std::string message;
};

struct LayoutCheckOptions {
    bool clipped = true;
    bool overlap = true;
    int stringWidth = 20;
    int numberWidth = 10;
};

// Clipped texts and new overlaps in the layout of language `langId`
// (Lang_Id; the source layout where the language has none of its own).
// A text is reported clipped only where the source text fits the source
// layout, so a control the program itself clips is not blamed on the
// translation. `texts` maps a control's LineIndex to its text.
std::vector<LayoutFinding> CheckDialogLayouts(CProjectDatabase& project, std::int32_t langId,
                                              const std::unordered_map<std::int32_t, ControlText>& texts,
                                              const LayoutCheckOptions& options);

}  // namespace qln::checks
