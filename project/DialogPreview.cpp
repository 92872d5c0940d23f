#include "project/DialogPreview.h"

#include "project/LayoutChecks.h"
#include "project/TextForms.h"
#include "projectdb/Languages.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Schema.h"
#include "rcscript/AsciiText.h"
#include "rcscript/RcStatement.h"
#include "rcscript/RcTokens.h"

#include <array>
#include <unordered_map>

namespace qln {
namespace {

// The dialog's caption; a caption marked modified (its source text changed
// since it was translated) is left out, so the preview shows none.
const QueryText kCaptionQuery{
    "DialogPreviewCaption",
    "SELECT DISTINCT ResourceText.SourceText, ResourceText.LineIndex, ResourceText.Exclude FROM Dialogs "
    "JOIN DlgCaption ON DlgCaption.DlgLine = Dialogs.LineIndex "
    "JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex "
    "WHERE Dialogs.LineIndex = :DlgLineIndex AND Dialogs.Lang_Id = 0 AND ResourceText.Modified = 0",
    "SELECT DISTINCT ResourceText.SourceText, ResourceText.LineIndex, ResourceText.Exclude FROM Dialogs "
    "JOIN DlgCaption ON DlgCaption.DlgLine = Dialogs.LineIndex "
    "JOIN ResourceText ON ResourceText.LineIndex = DlgCaption.LineIndex "
    "WHERE Dialogs.LineIndex = :DlgLineIndex AND ResourceText.Modified = 0",
    ""};

// The source texts and exclusion of the dialog's controls.
const QueryText kControlTextsQuery{
    "DialogPreviewControlTexts",
    "SELECT ResourceText.LineIndex, ResourceText.SourceText, ResourceText.Exclude FROM DialogControl "
    "JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex "
    "WHERE DialogControl.DlgLine = :DlgLineIndex AND DialogControl.Lang_Id = 0",
    "SELECT ResourceText.LineIndex, ResourceText.SourceText, ResourceText.Exclude FROM DialogControl "
    "JOIN ResourceText ON ResourceText.LineIndex = DialogControl.LineIndex "
    "WHERE DialogControl.DlgLine = :DlgLineIndex",
    ""};

struct ClassEntry {
    std::string_view name;
    ControlClass code;
};
constexpr std::array<ClassEntry, 13> kClasses{{
    {"static", ControlClass::Static},
    {"button", ControlClass::Button},
    {"edit", ControlClass::Edit},
    {"combobox", ControlClass::ComboBox},
    {"listbox", ControlClass::ListBox},
    {"scrollbar", ControlClass::ScrollBar},
    {"msctls_updown32", ControlClass::UpDown},
    {"SysListView32", ControlClass::ListView},
    {"SysTreeView32", ControlClass::TreeView},
    {"SysTabControl32", ControlClass::TabControl},
    {"SysAnimate32", ControlClass::Animation},
    {"msctls_trackbar32", ControlClass::Trackbar},
    {"msctls_progress32", ControlClass::Progress},
}};

// Style bits a class adds to the script's style.
std::uint32_t ClassStyle(ControlClass c, std::uint32_t flags)
{
    using namespace winstyle;
    switch (c) {
    case ControlClass::Static: return (flags & 0x0E) == 0x0E ? Border : 0;
    case ControlClass::Button: return (flags & 0x0B) == 0x0B || (flags & 0x0E) == 0x0E ? Border : 0;
    case ControlClass::Edit: return Disabled | Border;
    case ControlClass::ComboBox: return Disabled | DropDownList;
    case ControlClass::ListBox: return Disabled | Border | NoIntegralHeight;
    case ControlClass::ScrollBar: return Disabled;
    case ControlClass::UpDown: return 0x20;
    case ControlClass::ListView:
    case ControlClass::TreeView:
    case ControlClass::Animation:
    case ControlClass::Progress: return Border;
    case ControlClass::Trackbar: return 0x18;
    case ControlClass::TabControl:
    case ControlClass::Unknown: return 0;
    }
    return 0;
}

bool IsTrue(const sql::Statement& st, int column)
{
    return !st.isNull(column) && st.columnInt64(column) != 0;
}

}  // namespace

ControlClass ClassOfName(std::string_view className)
{
    if (className.size() >= 2 && className.front() == '"' && className.back() == '"')
        className = className.substr(1, className.size() - 2);
    for (const ClassEntry& e : kClasses)
        if (EqualsNoCase(e.name, className))
            return e.code;
    return ControlClass::Unknown;
}

ControlWindow ControlWindowOf(int lineKind, std::string_view className, std::uint32_t flags)
{
    using namespace winstyle;
    const auto fixed = [](ControlClass c, std::uint32_t style, bool text) {
        return ControlWindow{c, style, text, c == ControlClass::ComboBox};
    };
    switch (lineKind) {
    case tok::KwControl: {
        const ControlClass c = ClassOfName(className);
        if (c == ControlClass::Unknown)
            return fixed(ControlClass::Static, ChildVisible | BlackFrame, false);
        return ControlWindow{c, (ClassStyle(c, flags) | flags) & ~TabStop, true, c == ControlClass::ComboBox};
    }
    case kind::DialogIcon: return fixed(ControlClass::Static, 0x50000007, false);
    case tok::KwLText: return fixed(ControlClass::Static, 0x50000000, true);
    case tok::KwRText: return fixed(ControlClass::Static, 0x50000002, true);
    case tok::KwCText: return fixed(ControlClass::Static, 0x50000001, true);
    case tok::KwCheckBox:
    case tok::KwAutoCheckBox:
    case tok::KwAuto3State: return fixed(ControlClass::Button, 0x58000002, true);
    case tok::KwPushButton: return fixed(ControlClass::Button, 0x50000000, true);
    case tok::KwListBox: return fixed(ControlClass::ListBox, 0x50800100, false);
    case tok::KwGroupBox: return fixed(ControlClass::Button, 0x50000007, true);
    case tok::KwDefPushButton: return fixed(ControlClass::Button, 0x50000001, true);
    case tok::KwRadioButton:
    case tok::KwAutoRadioButton: return fixed(ControlClass::Button, 0x50000004, true);
    case tok::KwEditText: return fixed(ControlClass::Edit, 0x50800000, false);
    case tok::KwComboBox: return fixed(ControlClass::ComboBox, 0x58000003, false);
    case tok::KwScrollBar: return fixed(ControlClass::ScrollBar, 0x58000000, false);
    // Two statements more than the classic table lists: a three-state box and a
    // push box, each as the button it is rather than a missing window.
    case tok::KwState3: return fixed(ControlClass::Button, 0x58000005, true);
    case tok::KwPushBox: return fixed(ControlClass::Button, 0x5000000A, true);
    default: return fixed(ControlClass::Static, ChildVisible | BlackFrame, false);
    }
}

DialogLoad LoadDialogTemplate(CProjectDatabase& project, std::int32_t dialogLine)
{
    DialogLoad load;
    DialogTemplate dialog;
    {
        sql::Statement& st = project.Query("Dialog_By_LineIndex");
        st.bind(":LineIndex", dialogLine);
        const bool found = st.step();
        if (found) {
            dialog.lineIndex = dialogLine;
            dialog.name = st.columnText("Name_ID");
            dialog.cx = st.columnInt("cx");
            dialog.cy = st.columnInt("cy");
        }
        st.reset();
        if (!found)
            return load;
    }
    try {
        sql::Statement& st = project.Query(kCaptionQuery);
        st.bind(":DlgLineIndex", dialogLine);
        if (st.step())
            dialog.caption = PreviewCaption{static_cast<std::int32_t>(st.columnInt64(1)), st.columnText(0),
                                            IsTrue(st, 2)};
        st.reset();

        std::unordered_map<std::int32_t, std::pair<std::string, bool>> texts;
        sql::Statement& t = project.Query(kControlTextsQuery);
        t.bind(":DlgLineIndex", dialogLine);
        while (t.step())
            texts[static_cast<std::int32_t>(t.columnInt64(0))] = {t.columnText(1), IsTrue(t, 2)};
        t.reset();

        sql::Statement& c = project.Query("Dialog_Controls_By_Dialog_LineIndex");
        c.bind(":DlgLineIndex", dialogLine);
        const int name = c.columnIndex("Name_ID"), line = c.columnIndex("LineIndex"), cls = c.columnIndex("Class"),
                  x = c.columnIndex("x"), y = c.columnIndex("y"), cx = c.columnIndex("cx"), cy = c.columnIndex("cy"),
                  type = c.columnIndex("Type"), flags = c.columnIndex("Flags");
        while (c.step()) {
            PreviewControl pc;
            pc.lineIndex = static_cast<std::int32_t>(c.columnInt64(line));
            pc.name = c.columnText(name);
            pc.className = c.columnText(cls);
            pc.lineKind = c.columnInt(type);
            pc.flags = static_cast<std::uint32_t>(c.columnInt64(flags));
            pc.rect = {c.columnInt(x), c.columnInt(y), c.columnInt(cx), c.columnInt(cy)};
            pc.window = ControlWindowOf(pc.lineKind, pc.className, pc.flags);
            if (const auto found = texts.find(pc.lineIndex); found != texts.end() && pc.window.readsText) {
                pc.hasText = true;
                pc.sourceText = found->second.first;
                pc.excluded = found->second.second;
            }
            dialog.controls.push_back(std::move(pc));
        }
        c.reset();
    } catch (const sql::Error& error) {
        load.complete = false;
        load.error = error.what();
    }
    load.dialog = std::move(dialog);
    return load;
}

namespace {

// Reads rows of ResourceText.* into states, with the language's two columns when it has them.
void ReadStates(sql::Statement& st, int primary, int sub, std::map<std::int32_t, ShownTextState>& states,
                const std::int32_t* only = nullptr)
{
    int textColumn = -1, flagColumn = -1;
    if (primary >= 0)
        if (const auto name = LanguageDisplayName(primary, sub)) {
            textColumn = st.findColumn(*name);
            flagColumn = st.findColumn(LanguageFlagColumn(*name));
        }
    const int line = st.columnIndex("LineIndex"), source = st.columnIndex("SourceText"),
              exclude = st.columnIndex("Exclude");
    while (st.step()) {
        const auto lineIndex = static_cast<std::int32_t>(st.columnInt64(line));
        if (only && lineIndex != *only)
            continue;
        ShownTextState& s = states[lineIndex];
        s.sourceText = st.columnText(source);
        s.excluded = IsTrue(st, exclude);
        if (textColumn >= 0)
            s.translation = st.columnText(textColumn);
        if (flagColumn >= 0)
            s.modified = IsTrue(st, flagColumn);
    }
    st.reset();
}

}  // namespace

std::map<std::int32_t, ShownTextState> ReadDialogTexts(CProjectDatabase& project, std::int32_t dialogLine,
                                                       std::int32_t captionLine, int primary, int sub)
{
    std::map<std::int32_t, ShownTextState> states;
    sql::Statement& controls = project.Query("ResourceStrings_Of_DialogControls");
    controls.bind(":DlgLineIndex", dialogLine);
    ReadStates(controls, primary, sub, states);
    if (captionLine >= 0) {
        sql::Statement& caption = project.Query("ResourceString_Of_DialogCaption");
        caption.bind(":DlgLineIndex", dialogLine);
        ReadStates(caption, primary, sub, states, &captionLine);
    }
    return states;
}

std::optional<ShownTextState> ReadTextState(CProjectDatabase& project, std::int32_t lineIndex, int primary, int sub)
{
    std::map<std::int32_t, ShownTextState> states;
    sql::Statement& st = project.Query("GetResTextRecord_ByLine");
    st.bind(":LineIndex", lineIndex);
    ReadStates(st, primary, sub, states);
    const auto found = states.find(lineIndex);
    if (found == states.end())
        return std::nullopt;
    return found->second;
}

DialogPercentages ComputeDialogPercentages(long total, long translated, long modified)
{
    if (total <= 0)
        return {};
    const auto up = [total](long part) { return static_cast<int>((100 * part + total - 1) / total); };
    DialogPercentages p{up(translated), up(modified)};
    // Rounding up must not claim a dialog complete that still lacks a text.
    if (translated < total && p.translated >= 100)
        p.translated = 99;
    return p;
}

std::set<std::int32_t> ClippedDialogControls(CProjectDatabase& project, std::int32_t dialogLine, int primary, int sub)
{
    std::set<std::int32_t> clipped;
    if (primary < 0)
        return clipped;  // the source is measured against itself: nothing to blame
    const std::map<std::int32_t, ShownTextState> states = ReadDialogTexts(project, dialogLine, -1, primary, sub);
    std::unordered_map<std::int32_t, checks::ControlText> texts;
    std::vector<std::int32_t> byOrder;
    for (const auto& [line, state] : states) {
        if (state.sourceText.empty())
            continue;
        texts.emplace(line, checks::ControlText{byOrder.size(), state.shown(), state.sourceText});
        byOrder.push_back(line);
    }
    checks::LayoutCheckOptions options;
    options.overlap = false;
    for (const checks::LayoutFinding& f : checks::CheckDialogLayouts(project, LangIdOf(primary, sub), texts, options))
        if (!f.overlap && f.order < byOrder.size())
            clipped.insert(byOrder[f.order]);
    return clipped;
}

std::string WindowText(std::string_view scriptText)
{
    const std::string display = ToDisplayForm(scriptText);
    std::string out;
    out.reserve(display.size());
    for (std::size_t i = 0; i < display.size(); ++i) {
        if (display[i] != '\\' || i + 1 == display.size()) {
            out += display[i];
            continue;
        }
        const char next = display[++i];
        switch (next) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r':
            if (display.compare(i + 1, 2, "\\n") == 0)
                i += 2;
            out += '\n';
            break;
        case '\\': out += '\\'; break;
        default: out += '\\'; out += next; break;
        }
    }
    return out;
}

std::optional<std::int32_t> DialogOfTextLine(CProjectDatabase& project, std::int32_t lineIndex)
{
    for (const char* query : {"Dialog_LineIndex_By_DlgItemIndex", "Dialog_LineIndex_By_DlgCaptionIndex"}) {
        sql::Statement& st = project.Query(query);
        st.bind(":LineIndex", lineIndex);
        std::optional<std::int32_t> dialog;
        if (st.step())
            dialog = static_cast<std::int32_t>(st.columnInt64(0));
        st.reset();
        if (dialog)
            return dialog;
    }
    return std::nullopt;
}

}  // namespace qln
