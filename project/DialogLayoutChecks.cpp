// The layout checks over a project's dialogs: fonts from the FONT statements,
// rectangles from DialogControl, texts from the caller.

#include "project/LayoutChecks.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Statements.h"
#include "rcscript/Messages.h"
#include "rcscript/RcStatement.h"

#include <map>
#include <memory>
#include <optional>

namespace qln::checks {
namespace {

struct Rect {
    int x = 0, y = 0, cx = 0, cy = 0;
    bool overlaps(const Rect& o) const
    {
        return cx > 0 && cy > 0 && o.cx > 0 && o.cy > 0 && x < o.x + o.cx && o.x < x + cx && y < o.y + o.cy &&
               o.y < y + cy;
    }
};

struct Control {
    std::int32_t lineIndex = 0;
    std::string className;
    int type = 0;
    std::uint32_t style = 0;
    Rect source;
    std::optional<Rect> language;
    const Rect& shown() const { return language ? *language : source; }
};

// The font of each dialog, by the header's LineIndex.
std::map<std::int32_t, DialogFont> DialogFonts(CProjectDatabase& project)
{
    std::map<std::int32_t, DialogFont> fonts;
    std::int32_t dialog = -1;
    sql::Statement& st = project.Query(stmt::DialogFontLines);
    while (st.step()) {
        if (st.columnInt(1) == kind::Font) {
            if (dialog >= 0 && !fonts.count(dialog))
                fonts[dialog] = ParseFontStatement(st.columnText(2));
        } else {
            dialog = static_cast<std::int32_t>(st.columnInt64(0));
        }
    }
    return fonts;
}

// Every dialog's controls in script order is not needed: pairs and single
// controls are all the checks look at.
std::map<std::int32_t, std::map<std::int32_t, Control>> DialogControls(CProjectDatabase& project, std::int32_t langId)
{
    std::map<std::int32_t, std::map<std::int32_t, Control>> dialogs;
    sql::Statement& st = project.Query(stmt::ControlLayouts);
    BindParams(st, {{"Lang_Id", static_cast<std::int64_t>(langId)}});
    while (st.step()) {
        const auto line = static_cast<std::int32_t>(st.columnInt64(0));
        Control& c = dialogs[static_cast<std::int32_t>(st.columnInt64(1))][line];
        c.lineIndex = line;
        const Rect rect{st.columnInt(6), st.columnInt(7), st.columnInt(8), st.columnInt(9)};
        if (st.columnInt64(2) == 0) {
            c.className = st.columnText(3);
            c.type = st.columnInt(4);
            c.style = static_cast<std::uint32_t>(st.columnInt64(5));
            c.source = rect;
        } else {
            c.language = rect;
        }
    }
    return dialogs;
}

class FontCache {
public:
    const FontMeasure* get(const DialogFont& font)
    {
        const std::string key = font.face + "|" + std::to_string(font.pointSize);
        auto [it, added] = fonts_.try_emplace(key);
        if (added) {
            try {
                it->second = std::make_unique<FontMeasure>(font.face, font.pointSize);
            } catch (const std::exception&) {
                // No font at all on this system: the dialog is not measured.
            }
        }
        return it->second.get();
    }

private:
    std::map<std::string, std::unique_ptr<FontMeasure>> fonts_;
};

std::optional<std::string> ClippedMessage(const FontMeasure& font, const DialogFont& face, const Control& c,
                                          const ControlText& text, const LayoutCheckOptions& options)
{
    const TextBox box = TextBoxOf(c.type, c.className, c.style);
    if (box == TextBox::None)
        return std::nullopt;
    const bool prefix = UsesPrefix(c.type, c.className, c.style);
    const BaseUnits units = font.baseUnits();
    auto fit = [&](const std::string& t, const Rect& r, bool widest) {
        return FitText(font, box,
                       DrawnText(t, prefix, widest ? options.stringWidth : 0, widest ? options.numberWidth : 0),
                       units.toPixelsX(r.cx), units.toPixelsY(r.cy));
    };
    Fit translated = fit(text.written, c.shown(), true);
    if (translated.fits)
        return std::nullopt;
    if (!fit(text.source, c.source, true).fits) {
        // The source does not hold its placeholders' widest values either (or
        // its "%" is no placeholder at all): the translation is blamed only
        // when it is cut whatever they become, with them empty, and the
        // source so is not.
        translated = fit(text.written, c.shown(), false);
        if (translated.fits || !fit(text.source, c.source, false).fits)
            return std::nullopt;
    }
    const std::string fontName = face.face + " " + std::to_string(face.pointSize);
    return msg::Format(translated.tooHigh ? msg::CheckClippedHeight : msg::CheckClippedWidth,
                       {std::to_string(translated.needed), std::to_string(translated.available), fontName});
}

}  // namespace

std::vector<LayoutFinding> CheckDialogLayouts(CProjectDatabase& project, std::int32_t langId,
                                              const std::unordered_map<std::int32_t, ControlText>& texts,
                                              const LayoutCheckOptions& options)
{
    std::vector<LayoutFinding> findings;
    if (!project.UsesLangId())
        return findings;  // old formats keep no per-language layout in this form
    const std::map<std::int32_t, DialogFont> fonts = DialogFonts(project);
    FontCache cache;
    for (const auto& [dialog, controls] : DialogControls(project, langId)) {
        const auto f = fonts.find(dialog);
        const DialogFont face = f != fonts.end() ? f->second : DialogFont{};
        const FontMeasure* font = options.clipped ? cache.get(face) : nullptr;
        for (const auto& [line, c] : controls) {
            const auto t = texts.find(line);
            if (font && t != texts.end())
                if (auto why = ClippedMessage(*font, face, c, t->second, options))
                    findings.push_back({t->second.order, false, std::move(*why)});
        }
        if (!options.overlap)
            continue;
        for (auto a = controls.begin(); a != controls.end(); ++a)
            for (auto b = std::next(a); b != controls.end(); ++b) {
                if (!a->second.language && !b->second.language)
                    continue;
                if (!a->second.shown().overlaps(b->second.shown()) || a->second.source.overlaps(b->second.source))
                    continue;
                const auto ta = texts.find(a->first), tb = texts.find(b->first);
                if (ta == texts.end() && tb == texts.end())
                    continue;
                const auto& [mine, other] = ta != texts.end() ? std::pair{ta, tb} : std::pair{tb, ta};
                const std::string otherName =
                    other != texts.end() ? other->second.written : std::to_string(other == tb ? b->first : a->first);
                findings.push_back({mine->second.order, true, msg::Format(msg::CheckOverlap, {otherName})});
            }
    }
    return findings;
}

}  // namespace qln::checks
