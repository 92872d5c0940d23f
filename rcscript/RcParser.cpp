// The statement parser: dispatch by resource context and the copy helpers that
// the statement rules share.

#include "rcscript/RcParser.h"

#include "rcscript/Messages.h"
#include "rcscript/RcSymbols.h"
#include "rcscript/RcTokens.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qln {
namespace {

bool IsNumberToken(int t) { return t == tok::Decimal || t == tok::Hexadecimal || t == tok::Octal; }

// Tokens that can name something: identifiers, numbers, and words that are
// options elsewhere.
bool IsOperand(int t)
{
    return t == tok::Identifier || IsNumberToken(t) || t == tok::MemoryOption ||
           t == tok::AccelOption || t == tok::MenuOption;
}

// A statement goes on over a line end after these tokens ...
bool ContinuesAfter(int t)
{
    return t == tok::Comma || t == tok::Bar || t == tok::Plus || t == tok::Minus ||
           t == tok::Star || t == tok::LParen || t == tok::Exclamation || t == tok::Unknown;
}

// ... or when the next line begins with one of these.
bool ContinuesBefore(int t)
{
    return t == tok::Comma || t == tok::Bar || t == tok::Plus || t == tok::Minus ||
           t == tok::Star || t == tok::RParen;
}

// Characters of a re-rendered statement outside the bodies of its double-quoted
// strings (a backslash escapes the next character, a doubled quote continues).
std::size_t CodePointsOutsideStrings(std::string_view s)
{
    std::size_t n = 0;
    bool inString = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"' && i + 1 < s.size() && s[i + 1] == '"')
                ++i;
            else if (c == '"')
                inString = false;
            if (inString)
                continue;
        } else if (c == '"') {
            inString = true;
        }
        n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return n;
}

}  // namespace

std::string ParserErrorText(int code, std::string_view file)
{
    auto withFile = [&](std::string_view text) {
        std::string s(text);
        s += ' ';
        s += file;
        return s;
    };
    switch (code) {
    case rcerr::ResourceFile: return withFile(msg::ParserErrorResourceFile);
    case rcerr::UserResource: return withFile(msg::ParserErrorUserResource);
    case rcerr::Popup: return withFile(msg::ParserErrorPopup);
    case rcerr::MenuItem: return withFile(msg::ParserErrorMenuItem);
    case rcerr::Language: return withFile(msg::ParserErrorLanguage);
    case rcerr::Output: return withFile(msg::ParserErrorOutput);
    case rcerr::NoMemory: return std::string(msg::ErrorNoMemory);
    case rcerr::CantRead: return withFile(msg::ErrorCantRead);
    case rcerr::CantChangeDir: return withFile(msg::ErrorCantChangeDir);
    case rcerr::CantOpen: return msg::Format(msg::ErrorCantOpenFile, {file});
    default: return std::string(msg::ErrorUnknown) + std::string(file);
    }
}

CRcParser::CRcParser(std::string script) : src_(std::move(script))
{
    out_.reserve(1024);
    tokenText_.reserve(84);
    Reset();
}

CRcStatement CRcParser::ParseLine(std::string line, int context, int depth)
{
    CRcParser parser(std::move(line));
    parser.context_ = context;
    parser.depth_ = depth;
    CRcStatement st;
    parser.ParseStatement(st);
    return st;
}

int CRcParser::StatementCount() const { return count_; }
int CRcParser::Context() const { return context_; }
int CRcParser::Depth() const { return depth_; }

void CRcParser::Reset()
{
    out_.clear();
    kind_ = 0;
    result_ = 0;
    error_ = 0;
    textPos_ = -1;
    textLen_ = 0;
    namePos_ = nameLen_ = facePos_ = faceLen_ = filePos_ = fileLen_ = 0;
    coordPos_ = coordLen_ = coord_ = {};
    language_ = subLanguage_ = codePage_ = 0;
    flagBits_ = 0;
    unrecognised_ = false;
    haveStart_ = false;
    overflow_ = false;
    stringBytes_ = 0;
    unclosed_ = false;
    token_ = prevToken_ = 0;
    tokenText_.clear();
    statementStart_ = false;
    newlines_ = 0;
    tokenInPos_ = in_;
    tokenOutPos_ = tokStart_ = 0;
    lastEnd_ = prevLastEnd_ = in_;
    identPos_ = identLen_ = keywordPos_ = keywordLen_ = 0;
    numPos_ = numLen_ = savedNumPos_ = savedNumLen_ = {};
    strPos_ = strLen_ = 0;
    strClosed_ = true;
}

int CRcParser::ParseStatement(CRcStatement& out)
{
    Reset();
    if (ended_) {
        kind_ = kind::EndOfInput;
        Finish(out);
        return out.result;
    }
    const std::size_t start = in_;
    const int t = Next();
    const bool body = depth_ > 0;
    switch (context_) {
    case tok::KwStringTable:
        body ? ParseStringTableLine(t) : ParseGeneral(t);
        break;
    case tok::KwAccelerators:
        body ? ParseAcceleratorLine(t) : ParseGeneral(t);
        break;
    case tok::KwRcData:
    case kind::UserResource:
    case tok::KwTextInclude:
        body ? ParseBodyLine(t) : ParseGeneral(t);
        break;
    case tok::KwDialog:
    case tok::KwDialogEx:
        if (!ParseDialogLine(t))
            ParseGeneral(t);
        break;
    default:
        ParseGeneral(t);
        break;
    }
    // Every statement consumes input or ends it; anything else would loop.
    if (in_ == start && kind_ != kind::EndOfInput && !Failed()) {
        Fail(rcerr::ResourceFile);
        ++in_;
    }
    Finish(out);
    return out.result;
}

void CRcParser::Finish(CRcStatement& out)
{
    // Trailing blanks are separators before a token that was pushed back.
    std::size_t keep = 0;
    auto cover = [&keep](int pos, int len) {
        if (len > 0)
            keep = std::max(keep, static_cast<std::size_t>(pos + len));
    };
    if (textPos_ >= 0)
        cover(textPos_, textLen_);
    cover(namePos_, nameLen_);
    cover(facePos_, faceLen_);
    while (out_.size() > keep && out_.back() == ' ')
        out_.pop_back();

    if (!Failed() && (overflow_ || CodePointsOutsideStrings(out_) > static_cast<std::size_t>(kMaxLineChars)))
        Fail(rcerr::Output);
    if (!Failed() && unclosed_)
        Fail(rcerr::ResourceFile);
    if (!Failed() && kind_ == kind::Unknown)
        Fail(rcerr::ResourceFile);  // reading stops here: say so instead of ending quietly

    const auto size = static_cast<int>(out_.size());
    auto inside = [size](int pos, int len) { return pos >= 0 && len >= 0 && pos + len <= size; };
    const bool text = textPos_ >= 0 && inside(textPos_, textLen_);
    if (kind_ == kind::EndOfInput)
        result_ = kind::EndOfInput;
    else if (text)
        result_ = kResultText;
    else if (kind_ == kind::End || kind_ == kind::Language || kind_ == kind::Unknown)
        result_ = kind_;
    else
        result_ = kind::Marker;

    out.text.assign(out_);
    out.result = result_;
    out.kind = kind_;
    out.error = error_;
    out.textPos = text ? textPos_ : 0;
    out.textLen = text ? textLen_ : 0;
    const bool name = inside(namePos_, nameLen_);
    out.namePos = name ? namePos_ : 0;
    out.nameLen = name ? nameLen_ : 0;
    const bool face = inside(facePos_, faceLen_);
    out.facePos = face ? facePos_ : 0;
    out.faceLen = face ? faceLen_ : 0;
    for (int i = 0; i < 4; ++i) {
        const bool ok = coordLen_[i] > 0 && inside(coordPos_[i], coordLen_[i]);
        out.coordPos[i] = ok ? coordPos_[i] : 0;
        out.coordLen[i] = ok ? coordLen_[i] : 0;
    }
    out.x = coord_[0];
    out.y = coord_[1];
    out.cx = coord_[2];
    out.cy = coord_[3];
    out.language = language_;
    out.subLanguage = subLanguage_;
    out.codePage = codePage_;
    out.flagBits = flagBits_;
    out.unrecognised = unrecognised_;

    // Physical line of the statement's first token, counted incrementally.
    std::size_t pos = haveStart_ ? stmtIn_ : std::min(in_, src_.size());
    if (pos < lineScan_) {
        lineScan_ = 0;
        lineNo_ = 1;
    }
    lineNo_ += static_cast<int>(std::count(src_.begin() + static_cast<std::ptrdiff_t>(lineScan_),
                                           src_.begin() + static_cast<std::ptrdiff_t>(pos), '\n'));
    lineScan_ = pos;
    out.sourceLine = lineNo_;

    ++count_;
    if (kind_ == kind::EndOfInput)
        ended_ = true;
}

// --- helpers ------------------------------------------------------------------

void CRcParser::Fail(int code)
{
    if (error_ == 0)
        error_ = code;
}

void CRcParser::MarkText()
{
    textPos_ = strPos_;
    textLen_ = strLen_;
}

void CRcParser::MarkName(std::size_t pos, std::size_t len)
{
    namePos_ = static_cast<int>(pos);
    nameLen_ = static_cast<int>(len);
}

void CRcParser::MarkStringName() { MarkName(static_cast<std::size_t>(strPos_), static_cast<std::size_t>(strLen_)); }

void CRcParser::BeginResource(int context)
{
    context_ = context;
    depth_ = 0;
    menuEx_ = false;
}

void CRcParser::EndResource() { BeginResource(0); }

long CRcParser::TokenNumber(int t) const
{
    std::string text = src_.substr(tokenInPos_, std::min<std::size_t>(lastEnd_ - tokenInPos_, 19));
    if (t == tok::Octal)
        return std::strtol(text.c_str() + 2, nullptr, 8);
    return std::strtol(text.c_str(), nullptr, t == tok::Hexadecimal ? 16 : 10);
}

// ORs the value of a style name or number into flagBits; a NOT before a name
// removes its bits instead.
void CRcParser::EvalFlag(int t, bool& negate)
{
    std::uint32_t value = 0;
    if (t == tok::Identifier) {
        if (tokenText_ == "NOT") {
            negate = true;
            return;
        }
        if (identLen_ <= 28)
            value = StyleValue(tokenText_);
    } else if (IsNumberToken(t)) {
        value = static_cast<std::uint32_t>(TokenNumber(t));
    } else {
        return;
    }
    if (negate)
        flagBits_ &= ~value;
    else
        flagBits_ |= value;
    negate = false;
}

bool CRcParser::ExpectComma()
{
    if (Next() == tok::Comma)
        return true;
    Unget();
    return false;
}

void CRcParser::SkipOptionalComma()
{
    if (Next() != tok::Comma)
        Unget();
}

// Copies the remaining tokens of a statement: up to a token that begins a
// statement, or a line end that is not inside parentheses and not next to an
// operator or comma (statements that wrap always wrap at one of those).
// Returns 1 when a string was met, 2 when an unknown character was met.
int CRcParser::CopyRest(bool evalFlags)
{
    int seen = 0;
    int last = token_;
    bool lastNot = false;  // a trailing NOT joins the next line
    int parens = 0;
    bool negate = false;
    for (;;) {
        const int t = Next();
        if (t == tok::EndOfInput || Failed())
            break;
        if (statementStart_ || t == tok::Hash) {
            Unget();
            break;
        }
        if (newlines_ > 0 && parens == 0 && !ContinuesAfter(last) && !ContinuesBefore(t) &&
            !lastNot) {
            Unget();
            break;
        }
        switch (t) {
        case tok::Quote: seen |= 1; break;
        case tok::Unknown: CopyUnknown(); seen |= 2; break;
        case tok::LParen: ++parens; break;
        case tok::RParen: parens -= parens > 0; break;
        default:
            if (evalFlags)
                EvalFlag(t, negate);
            break;
        }
        last = t;
        lastNot = t == tok::Identifier && tokenText_ == "NOT";
    }
    return seen;
}

// Copies the remaining tokens of the current physical line. With markText the
// first string becomes the text and a second string ends the copy. Returns
// whether a string was met.
bool CRcParser::CopyLine(bool markText, Stop stop)
{
    bool gotString = false;
    for (;;) {
        const int t = Next();
        if (t == tok::EndOfInput || Failed())
            break;
        const bool block = t == tok::KwBegin || t == tok::KwEnd || t == tok::LBrace ||
                           t == tok::RBrace || t == tok::Hash;
        if (newlines_ > 0 || (stop == Stop::Statement && statementStart_) ||
            (stop == Stop::Block && block)) {
            Unget();
            break;
        }
        if (t == tok::Quote) {
            if (markText && gotString) {
                Unget();
                break;
            }
            if (markText)
                MarkText();
            gotString = true;
        } else if (t == tok::Unknown) {
            CopyUnknown();
        }
    }
    return gotString;
}

// expr := [+|-] operand { (+|-|*) [+|-] operand }, operand := name | number | ( expr )
// Copies the expression; `start`/`end` delimit it in the output, `value` is its
// value with names counted as 0. With keywordFirst the first operand may be a
// keyword (a resource named like one).
bool CRcParser::ReadExpr(std::size_t& start, std::size_t& end, long& value, bool keywordFirst)
{
    value = 0;
    int op = tok::Plus;
    bool first = true;
    for (;;) {
        int t = Next();
        if (first)
            start = tokStart_;
        bool negative = false;
        while (t == tok::Plus || t == tok::Minus) {
            negative ^= t == tok::Minus;
            t = Next();
        }
        long v = 0;
        if (t == tok::LParen) {
            // Nesting is bounded so that hostile input cannot exhaust the stack.
            std::size_t s = 0, e = 0;
            const bool ok = ++exprNest_ <= 16 && ReadExpr(s, e, v);
            --exprNest_;
            if (!ok || Next() != tok::RParen) {
                Unget();
                return false;
            }
        } else if (IsOperand(t) || (first && keywordFirst && IsKeywordCode(t))) {
            v = IsNumberToken(t) ? TokenNumber(t) : 0;
        } else {
            Unget();
            return false;
        }
        // Wrapping arithmetic, as a resource compiler's 32-bit values do: no
        // expression in a script can overflow into undefined behaviour.
        const auto a = static_cast<std::uint32_t>(value);
        auto b = static_cast<std::uint32_t>(v);
        if (negative)
            b = 0u - b;
        const std::uint32_t r = op == tok::Plus ? a + b : op == tok::Minus ? a - b : a * b;
        value = static_cast<std::int32_t>(r);
        first = false;
        end = out_.size();
        t = Next();
        if (t != tok::Plus && t != tok::Minus && t != tok::Star) {
            Unget();
            return true;
        }
        op = t;
    }
}

// The identifier expression that names a statement; it becomes the name.
bool CRcParser::ReadIdExpr()
{
    std::size_t start = 0, end = 0;
    long value = 0;
    if (!ReadExpr(start, end, value))
        return false;
    MarkName(start, end - start);
    return true;
}

// coords := x, y [, cx, cy] with at least `required` values
bool CRcParser::ReadCoords(int required)
{
    for (int i = 0; i < 4; ++i) {
        if (i > 0 && !ExpectComma())
            return i >= required;
        std::size_t start = 0, end = 0;
        long value = 0;
        if (!ReadExpr(start, end, value))
            return false;
        coordPos_[i] = static_cast<int>(start);
        coordLen_[i] = static_cast<int>(end - start);
        coord_[i] = static_cast<int>(value);
    }
    return true;
}

// Style expression of a CONTROL up to and including the comma behind it.
bool CRcParser::ReadStyleExpr()
{
    bool negate = false;
    for (;;) {
        const int t = Next();
        if (t == tok::Comma)
            return true;
        if (t == tok::EndOfInput || t == tok::Quote || statementStart_) {
            Unget();
            return false;
        }
        if (t == tok::Unknown)
            CopyUnknown();
        EvalFlag(t, negate);
    }
}

// file := "name" | <name> | bare-name, on the current line; an unclosed name fails
bool CRcParser::ReadFileName()
{
    const std::size_t n = src_.size();
    while (in_ < n && (src_[in_] == ' ' || src_[in_] == '\t'))
        ++in_;
    if (in_ >= n || src_[in_] == '\r' || src_[in_] == '\n')
        return false;
    if (in_ > lastEnd_ && !out_.empty() && out_.back() != ' ')
        Put(' ');
    const char open = src_[in_];
    const char close = open == '"' ? '"' : open == '<' ? '>' : '\0';
    if (close != '\0') {
        Put(open);
        ++in_;
    }
    const std::size_t start = in_;
    while (in_ < n && src_[in_] != '\n' && src_[in_] != '\r' &&
           (close != '\0' ? src_[in_] != close : (src_[in_] != ' ' && src_[in_] != '\t')))
        ++in_;
    filePos_ = static_cast<int>(out_.size());
    fileLen_ = static_cast<int>(in_ - start);
    Put(std::string_view(src_.data() + start, in_ - start));
    lastEnd_ = in_;
    if (close != '\0') {
        if (in_ >= n || src_[in_] != close) {
            Fail(rcerr::ResourceFile);  // the name is not closed on its line
            return false;
        }
        Put(close);
        lastEnd_ = ++in_;
    }
    return fileLen_ > 0;
}

}  // namespace qln
