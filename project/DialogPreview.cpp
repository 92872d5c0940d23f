#include "project/DialogPreview.h"

#include "project/TextForms.h"
#include "project/TranslationStore.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Schema.h"
#include "rcscript/AsciiText.h"
#include "rcscript/RcStatement.h"
#include "rcscript/RcTokens.h"

#include <map>
#include <variant>

namespace qln {
namespace {

ControlKind ButtonKind(std::uint32_t style)
{
    switch (style & 0xF) {
    case 0: case 1: return ControlKind::PushButton;        // push, default push
    case 2: case 3: case 5: case 6: return ControlKind::CheckBox;  // check, auto, 3-state, auto 3-state
    case 4: case 9: return ControlKind::RadioButton;       // radio, auto radio
    case 7: return ControlKind::GroupBox;
    default: return ControlKind::Unknown;                  // owner-drawn, user buttons
    }
}

// The text of a line in the language, else its source text.
std::string ShownText(CProjectDatabase& project, std::int32_t line, const std::string& source, int primary, int sub)
{
    if (primary != 0 || sub != 0)
        if (auto state = ReadTranslationState(project, line, primary, sub))
            if (const auto* text = std::get_if<std::string>(&state->text); text && !text->empty())
                return ToDisplayForm(*text);
    return ToDisplayForm(source);
}

// Source texts of the dialog's controls, by LineIndex.
std::map<std::int32_t, std::string> ControlTexts(CProjectDatabase& project, std::int32_t dialogLine)
{
    std::map<std::int32_t, std::string> texts;
    sql::Statement& st = project.Query("ResourceStrings_Of_DialogControls");
    st.bind(":DlgLineIndex", dialogLine);
    const int line = st.columnIndex("LineIndex"), source = st.columnIndex("SourceText");
    while (st.step())
        texts[static_cast<std::int32_t>(st.columnInt64(line))] = st.columnText(source);
    st.reset();
    return texts;
}

// The language's own rectangle of a control, when it has one.
std::optional<DialogUnitRect> LanguageRect(CProjectDatabase& project, std::int32_t line, std::int32_t langId)
{
    sql::Statement& st = project.Query("Dialog_Control_By_LineIndex_LangId");
    st.bind(":LineIndex", line).bind(":Lang_Id", langId);
    std::optional<DialogUnitRect> rect;
    if (st.step())
        rect = DialogUnitRect{st.columnInt("x"), st.columnInt("y"), st.columnInt("cx"), st.columnInt("cy")};
    st.reset();
    return rect;
}

}  // namespace

ControlKind ControlKindOf(int lineKind, std::string_view className, std::uint32_t style)
{
    switch (lineKind) {
    case tok::KwLText: case tok::KwRText: case tok::KwCText: case kind::DialogIcon: return ControlKind::Static;
    case tok::KwPushButton: case tok::KwDefPushButton: case tok::KwPushBox: return ControlKind::PushButton;
    case tok::KwCheckBox: case tok::KwAutoCheckBox: case tok::KwAuto3State: case tok::KwState3:
        return ControlKind::CheckBox;
    case tok::KwRadioButton: case tok::KwAutoRadioButton: return ControlKind::RadioButton;
    case tok::KwGroupBox: return ControlKind::GroupBox;
    case tok::KwEditText: return ControlKind::Edit;
    case tok::KwComboBox: return ControlKind::ComboBox;
    case tok::KwListBox: return ControlKind::ListBox;
    case tok::KwScrollBar: return ControlKind::ScrollBar;
    case tok::KwControl: break;
    default: return ControlKind::Unknown;
    }
    std::string cls = ToLowerAscii(className);
    if (cls.size() >= 2 && cls.front() == '"' && cls.back() == '"')
        cls = cls.substr(1, cls.size() - 2);
    if (cls == "button")
        return ButtonKind(style);
    if (cls == "static")
        return ControlKind::Static;
    if (cls == "edit")
        return ControlKind::Edit;
    if (cls == "combobox")
        return ControlKind::ComboBox;
    if (cls == "listbox")
        return ControlKind::ListBox;
    if (cls == "scrollbar")
        return ControlKind::ScrollBar;
    return ControlKind::Unknown;
}

std::optional<DialogPreview> LoadDialogPreview(CProjectDatabase& project, std::int32_t dialogLine, int primary,
                                               int sub)
{
    DialogPreview dialog;
    {
        sql::Statement& st = project.Query("Dialog_By_LineIndex");
        st.bind(":LineIndex", dialogLine);
        const bool found = st.step();
        if (found) {
            dialog.lineIndex = dialogLine;
            dialog.ident = st.columnText("Name_ID");
            dialog.cx = st.columnInt("cx");
            dialog.cy = st.columnInt("cy");
        }
        st.reset();
        if (!found)
            return std::nullopt;
    }
    {
        sql::Statement& st = project.Query("Dialog_Caption");
        st.bind(":DlgIdent", dialog.ident);
        std::optional<std::pair<std::int32_t, std::string>> caption;
        if (st.step())
            caption.emplace(static_cast<std::int32_t>(st.columnInt64("LineIndex")), st.columnText("SourceText"));
        st.reset();
        if (caption)
            dialog.caption = ShownText(project, caption->first, caption->second, primary, sub);
    }
    {
        sql::Statement& st = project.Query("Dialog_Controls_By_Dialog_LineIndex");
        st.bind(":DlgLineIndex", dialogLine);
        while (st.step()) {
            PreviewControl c;
            c.lineIndex = static_cast<std::int32_t>(st.columnInt64("LineIndex"));
            c.ident = st.columnText("Name_ID");
            c.className = st.columnText("Class");
            c.lineKind = st.columnInt("Type");
            c.style = static_cast<std::uint32_t>(st.columnInt64("Flags"));
            c.rect = {st.columnInt("x"), st.columnInt("y"), st.columnInt("cx"), st.columnInt("cy")};
            dialog.controls.push_back(std::move(c));
        }
        st.reset();
    }
    const std::map<std::int32_t, std::string> texts = ControlTexts(project, dialogLine);
    const bool languageLayouts = (primary != 0 || sub != 0) && project.UsesLangId();
    for (PreviewControl& c : dialog.controls) {
        if (languageLayouts)
            if (auto rect = LanguageRect(project, c.lineIndex, LangIdOf(primary, sub)))
                c.rect = *rect;
        if (const auto t = texts.find(c.lineIndex); t != texts.end()) {
            c.hasText = true;
            c.text = ShownText(project, c.lineIndex, t->second, primary, sub);
        }
    }
    return dialog;
}

}  // namespace qln
