#pragma once
// What a preview of one dialog shows, read from the project database alone:
// the dialog's size, its caption and its controls, the window class and
// style each control is shown with, the texts in the source or one
// translation with their states, and the translated and modified shares.

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

struct DialogUnitRect {
    int x = 0, y = 0, cx = 0, cy = 0;
    friend bool operator==(const DialogUnitRect&, const DialogUnitRect&) = default;
};

// The window classes a preview knows, by their codes; anything else is
// shown as a black frame.
enum class ControlClass {
    Static = 5, Button = 6, Edit = 7, ComboBox = 8, ListBox = 9, ScrollBar = 10, UpDown = 11, ListView = 12,
    TreeView = 13, TabControl = 14, Animation = 15, Trackbar = 16, Progress = 17, Unknown = 0,
};

// Window style bits the preview uses.
namespace winstyle {
inline constexpr std::uint32_t ChildVisible = 0x50000000;
inline constexpr std::uint32_t Disabled = 0x08000000;
inline constexpr std::uint32_t Border = 0x00800000;
inline constexpr std::uint32_t TabStop = 0x00010000;
inline constexpr std::uint32_t DropDownList = 3;
inline constexpr std::uint32_t NoIntegralHeight = 0x100;
inline constexpr std::uint32_t BlackFrame = 7;
inline constexpr std::uint32_t ButtonMultiLine = 0x2000;
}  // namespace winstyle

// A class name (quotes allowed, any letter case) to its code; Unknown when
// the name is not in the table.
ControlClass ClassOfName(std::string_view className);

// How a control's window is made: its class, its style and whether its text is read.
struct ControlWindow {
    ControlClass windowClass = ControlClass::Unknown;
    std::uint32_t style = 0;
    bool readsText = false;
    bool comboBox = false;
};
// From the control's line kind (`Type`), class name and script style (`Flags`).
ControlWindow ControlWindowOf(int lineKind, std::string_view className, std::uint32_t flags);

struct PreviewControl {
    std::int32_t lineIndex = -1;
    std::string name;        // Name_ID
    std::string className;   // Class as stored
    int lineKind = 0;        // Type
    std::uint32_t flags = 0; // the script's style
    ControlWindow window;
    DialogUnitRect rect;     // source layout
    bool hasText = false;    // the line has a text row and the window reads it
    std::string sourceText;  // script form
    bool excluded = false;
};

struct PreviewCaption {
    std::int32_t lineIndex = -1;
    std::string sourceText;  // script form
    bool excluded = false;
};

struct DialogTemplate {
    std::int32_t lineIndex = -1;
    std::string name;
    int cx = 0, cy = 0;      // source size in dialog units
    std::optional<PreviewCaption> caption;  // only a caption not marked modified
    std::vector<PreviewControl> controls;   // in script order
};

// The dialog whose statement is at `dialogLine`. Nothing when the line is
// no dialog. A database error while reading the caption or the controls
// keeps what was read before it (`complete` false).
struct DialogLoad {
    std::optional<DialogTemplate> dialog;
    bool complete = true;
    std::string error;
};
DialogLoad LoadDialogTemplate(CProjectDatabase& project, std::int32_t dialogLine);

// A text as one language shows it.
struct ShownTextState {
    std::string sourceText;    // script form
    std::string translation;   // script form; empty when untranslated or for the source
    bool modified = false;     // the language's flag
    bool excluded = false;
    bool translated() const { return !translation.empty(); }
    // The translation when there is one and the text is not excluded, else the source.
    const std::string& shown() const { return translated() && !excluded ? translation : sourceText; }
};

// The states of the dialog's texts (controls and caption) in a language;
// primary < 0 reads the source. A language the project lacks reads as the source.
std::map<std::int32_t, ShownTextState> ReadDialogTexts(CProjectDatabase& project, std::int32_t dialogLine,
                                                       std::int32_t captionLine, int primary, int sub);
// One text's state (after the translator stored it); nothing without a text row.
std::optional<ShownTextState> ReadTextState(CProjectDatabase& project, std::int32_t lineIndex, int primary, int sub);

// Shares of the dialog's texts (excluded texts are not counted), each
// rounded up so that a single text shows; the translated share reaches 100
// only when every text is translated.
struct DialogPercentages {
    int translated = 0;
    int modified = 0;
};
DialogPercentages ComputeDialogPercentages(long total, long translated, long modified);

// The dialog's controls whose translated text the clipped-text check finds
// too wide or too high for the control (in the language's layout).
std::set<std::int32_t> ClippedDialogControls(CProjectDatabase& project, std::int32_t dialogLine, int primary,
                                             int sub);

// The text a control window is given for a text in script form: escapes
// resolved (\n and \r\n break the line, \t is a tab), quotes as the user
// reads them; '&' hotkey markers stay for the window to draw.
std::string WindowText(std::string_view scriptText);

// The dialog that holds a caption or control text line; nothing for other lines.
std::optional<std::int32_t> DialogOfTextLine(CProjectDatabase& project, std::int32_t lineIndex);

}  // namespace qln
