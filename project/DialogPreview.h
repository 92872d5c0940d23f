#pragma once
// What a preview of one dialog shows, read from the project database alone:
// the dialog's size, its caption and its controls, each with the rectangle
// of the chosen language's layout (the source layout where the language has
// none) and its text in that language (the source text where untranslated).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

// What kind of window a control is, from its statement, class and style.
enum class ControlKind { Static, PushButton, CheckBox, RadioButton, GroupBox, Edit, ComboBox, ListBox, ScrollBar, Unknown };
ControlKind ControlKindOf(int lineKind, std::string_view className, std::uint32_t style);
// SBS_VERT: a scroll bar standing upright.
inline constexpr std::uint32_t kScrollBarVertical = 0x1;

struct DialogUnitRect {
    int x = 0, y = 0, cx = 0, cy = 0;
};

struct PreviewControl {
    std::int32_t lineIndex = -1;
    std::string ident;
    std::string className;  // as the script writes it, quotes included
    int lineKind = 0;       // LineIdentSym of the control's statement
    std::uint32_t style = 0;
    DialogUnitRect rect;    // dialog units
    bool hasText = false;
    std::string text;       // display form
};

struct DialogPreview {
    std::int32_t lineIndex = -1;
    std::string ident;
    int cx = 0, cy = 0;     // dialog units
    std::string caption;    // display form
    std::vector<PreviewControl> controls;  // in script order
};

// The dialog whose header is at `dialogLine`, in the language primary/sub
// (0/0: the source). Nothing when the line is no dialog. Throws sql::Error.
std::optional<DialogPreview> LoadDialogPreview(CProjectDatabase& project, std::int32_t dialogLine, int primary,
                                               int sub);

}  // namespace qln
