#include "project/LayoutChecks.h"

#include "project/TextChecks.h"
#include "rcscript/AsciiText.h"
#include "rcscript/RcTokens.h"

#include <cctype>

namespace qln::checks {
namespace {

// Button and static styles (low bits of the style).
constexpr std::uint32_t kButtonTypeMask = 0xF, kBsGroupBox = 7, kBsOwnerDraw = 0xB, kBsMultiLine = 0x2000;
constexpr std::uint32_t kStaticTypeMask = 0x1F, kSsLeftNoWordWrap = 0xC, kSsSimple = 0xB, kSsNoPrefix = 0x80;
constexpr int kGroupIndent = 16;  // a group box's text is indented

TextBox ButtonBox(std::uint32_t style)
{
    switch (style & kButtonTypeMask) {
    case 0: case 1: return style & kBsMultiLine ? TextBox::MultiLineButton : TextBox::Button;
    case kBsGroupBox: return TextBox::GroupBox;
    case kBsOwnerDraw: return TextBox::None;
    default: return style & kBsMultiLine ? TextBox::MultiLineCheckOrRadio : TextBox::CheckOrRadio;
    }
}

TextBox StaticBox(std::uint32_t style)
{
    switch (style & kStaticTypeMask) {
    case 0: case 1: case 2: return TextBox::WrappedStatic;
    case kSsSimple: case kSsLeftNoWordWrap: return TextBox::SingleLineStatic;
    default: return TextBox::None;  // icons, bitmaps, frames
    }
}

}  // namespace

TextBox TextBoxOf(int lineKind, std::string_view className, std::uint32_t style)
{
    switch (lineKind) {
    case tok::KwLText: case tok::KwRText: case tok::KwCText: return TextBox::WrappedStatic;
    case tok::KwPushButton: case tok::KwDefPushButton: case tok::KwPushBox:
        return style & kBsMultiLine ? TextBox::MultiLineButton : TextBox::Button;
    case tok::KwCheckBox: case tok::KwAutoCheckBox: case tok::KwRadioButton: case tok::KwAutoRadioButton:
    case tok::KwAuto3State: case tok::KwState3:
        return style & kBsMultiLine ? TextBox::MultiLineCheckOrRadio : TextBox::CheckOrRadio;
    case tok::KwGroupBox: return TextBox::GroupBox;
    case tok::KwControl: break;
    default: return TextBox::None;
    }
    const std::string cls = ToLowerAscii(className);
    if (cls == "button" || cls == "\"button\"")
        return ButtonBox(style);
    if (cls == "static" || cls == "\"static\"")
        return StaticBox(style);
    return TextBox::None;
}

bool UsesPrefix(int lineKind, std::string_view className, std::uint32_t style)
{
    const bool isStatic = lineKind == tok::KwLText || lineKind == tok::KwRText || lineKind == tok::KwCText ||
                          (lineKind == tok::KwControl && ToLowerAscii(className).find("static") != std::string::npos);
    return !(isStatic && (style & kSsNoPrefix));
}

std::string DrawnText(std::string_view text, bool prefix, int stringWidth, int numberWidth)
{
    const std::vector<Placeholder> placeholders = FindPlaceholders(text);
    std::size_t next = 0;
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        if (next < placeholders.size() && placeholders[next].offset == i) {
            const Placeholder& p = placeholders[next++];
            const char conversion = p.kind.empty() ? 's' : p.kind.back();
            const bool number = std::string_view("diuxXeEfgGaAp").find(conversion) != std::string_view::npos &&
                                p.kind.find('!') == std::string::npos && !std::isdigit(static_cast<unsigned char>(conversion));
            out.append(static_cast<std::size_t>(number ? numberWidth : stringWidth), number ? '0' : 'W');
            i += p.length;
            continue;
        }
        const char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            const char e = text[i + 1];
            out += e == 'n' ? '\n' : e == 't' ? ' ' : e == 'r' ? '\0' : e;
            if (out.back() == '\0')
                out.pop_back();
            i += 2;
        } else if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            out += '"';
            i += 2;
        } else if (c == '%' && i + 1 < text.size() && text[i + 1] == '%') {
            out += '%';
            i += 2;
        } else if (c == '&' && prefix) {
            if (i + 1 < text.size() && text[i + 1] == '&') {
                out += '&';
                ++i;
            }
            ++i;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::vector<std::string> WrapText(const FontMeasure& font, std::string_view text, int width)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view paragraph = text.substr(start, end - start);
        std::string line;
        std::size_t at = 0;
        while (at <= paragraph.size()) {
            const std::size_t blank = std::min(paragraph.find(' ', at), paragraph.size());
            const std::string word(paragraph.substr(at, blank - at));
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && font.textWidth(candidate) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            at = blank + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

Fit FitText(const FontMeasure& font, TextBox box, std::string_view text, int cx, int cy)
{
    auto widest = [&](std::string_view all) {
        int w = 0;
        for (std::size_t start = 0; start <= all.size();) {
            const std::size_t end = std::min(all.find('\n', start), all.size());
            w = std::max(w, font.textWidth(all.substr(start, end - start)));
            start = end + 1;
        }
        return w;
    };
    switch (box) {
    case TextBox::None: return {};
    case TextBox::WrappedStatic:
    case TextBox::MultiLineButton:
    case TextBox::MultiLineCheckOrRadio: {
        const int width = box == TextBox::MultiLineButton         ? cx - kPushButtonMargins
                          : box == TextBox::MultiLineCheckOrRadio ? cx - kCheckTextStart
                                                                  : cx;
        const std::vector<std::string> lines = WrapText(font, text, width);
        int wide = 0;
        for (const std::string& l : lines)
            wide = std::max(wide, font.textWidth(l));
        if (wide > width)
            return {false, wide, width};
        const int high = static_cast<int>(lines.size()) * font.lineHeight();
        // A single line may be a little lower than the font; Windows still draws it.
        const bool fits = lines.size() < 2 || high <= cy;
        return {fits, high, cy, !fits};
    }
    case TextBox::SingleLineStatic: return {widest(text) <= cx, widest(text), cx};
    case TextBox::Button: return {widest(text) + kPushButtonMargins <= cx, widest(text) + kPushButtonMargins, cx};
    case TextBox::CheckOrRadio: return {widest(text) + kCheckTextStart <= cx, widest(text) + kCheckTextStart, cx};
    case TextBox::GroupBox: return {widest(text) + kGroupIndent <= cx, widest(text) + kGroupIndent, cx};
    }
    return {};
}

DialogFont ParseFontStatement(std::string_view statement)
{
    DialogFont font;
    std::size_t i = statement.find_first_of("0123456789");
    if (i == std::string_view::npos)
        return font;
    int size = 0;
    while (i < statement.size() && std::isdigit(static_cast<unsigned char>(statement[i])))
        size = size * 10 + (statement[i++] - '0');
    if (size > 0 && size < 100)
        font.pointSize = size;
    const std::size_t open = statement.find('"', i);
    const std::size_t close = open == std::string_view::npos ? open : statement.find('"', open + 1);
    if (close != std::string_view::npos)
        font.face = std::string(statement.substr(open + 1, close - open - 1));
    return font;
}

}  // namespace qln::checks
