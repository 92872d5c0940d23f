// The lexer: cuts the script into tokens and copies each token verbatim into the
// statement's output line. Whitespace and comments are never copied; where the
// input separates two tokens, one blank separates them in the output.

#include "rcscript/RcParser.h"
#include "rcscript/AsciiText.h"
#include "rcscript/RcTokens.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace qln {
namespace {

struct Keyword {
    std::string_view text;
    int code;
};

constexpr Keyword kKeywords[] = {
#define QLN_X(name, text, code) {text, code},
    QLN_RC_KEYWORDS(QLN_X)
#undef QLN_X
};
static_assert(std::size(kKeywords) == kKeywordCount);

constexpr DialogControlRule kDialogControls[] = {
#define QLN_X(keyword, kind, operands) {tok::keyword, kind, ControlOperands::operands},
    QLN_RC_DIALOG_CONTROLS(QLN_X)
#undef QLN_X
};

#define QLN_X(text) std::string_view(text),
constexpr std::string_view kMemoryOptions[] = {QLN_RC_MEMORY_OPTIONS(QLN_X)};
constexpr std::string_view kAccelOptions[] = {QLN_RC_ACCEL_OPTIONS(QLN_X)};
constexpr std::string_view kMenuOptions[] = {QLN_RC_MENU_OPTIONS(QLN_X)};
#undef QLN_X

// Output bytes beyond which a statement certainly exceeds kMaxLineChars code points.
constexpr std::size_t kOutCap = 4 * kMaxLineChars + 4;

// Character classes apply to ASCII only: bytes of UTF-8 sequences are never
// letters, digits or whitespace.
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsXDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsIdentStart(char c) { return IsAlpha(c) || c == '_'; }
bool IsIdentCont(char c) { return IsIdentStart(c) || IsDigit(c) || c == '.' || c == '$'; }

template <std::size_t N>
bool InTable(const std::string_view (&table)[N], std::string_view text)
{
    return std::any_of(std::begin(table), std::end(table),
                       [&](std::string_view e) { return EqualsNoCase(e, text); });
}

}  // namespace

int KeywordIndex(std::string_view text)
{
    if (text.empty())
        return 0;
    // Every identifier is looked up: the keywords are grouped by their first
    // byte (folded), in table order, so only a few are compared.
    static const auto byFirst = [] {
        std::array<std::vector<int>, 128> groups{};
        for (int i = 0; i < kKeywordCount; ++i)
            groups[static_cast<unsigned char>(AsciiLower(kKeywords[i].text[0])) & 0x7F].push_back(i);
        return groups;
    }();
    const auto first = static_cast<unsigned char>(AsciiLower(text[0]));
    if (first >= 128)
        return 0;
    for (const int i : byFirst[first])
        if (EqualsNoCase(kKeywords[i].text, text))
            return i + 1;
    return 0;
}

int KeywordCode(int index)
{
    return (index >= 1 && index <= kKeywordCount) ? kKeywords[index - 1].code : 0;
}

bool IsResourceKeyword(int code)
{
    switch (code) {
    case tok::KwStringTable: case tok::KwMenu: case tok::KwDialog: case tok::KwRcData:
    case kind::UserResource: case tok::KwAccelerators: case tok::KwTextInclude:
    case tok::KwVersionInfo: case tok::KwDialogEx:
        return true;
    default:
        return false;
    }
}

bool IsKeywordCode(int code)
{
    return std::any_of(std::begin(kKeywords), std::end(kKeywords),
                       [code](const Keyword& k) { return k.code == code; });
}

const DialogControlRule* FindDialogControlRule(int token)
{
    for (const DialogControlRule& rule : kDialogControls)
        if (rule.keyword == token)
            return &rule;
    return nullptr;
}

bool IsDialogControlKind(int lineKind)
{
    return std::any_of(std::begin(kDialogControls), std::end(kDialogControls),
                       [lineKind](const DialogControlRule& rule) { return rule.kind == lineKind; });
}

bool IsHeaderOption(int code, std::string_view text)
{
    return code == tok::Identifier && (EqualsNoCase(text, "CHARACTERISTICS") || EqualsNoCase(text, "VERSION"));
}

bool IsMemoryOption(std::string_view text) { return InTable(kMemoryOptions, text); }
bool IsAccelOption(std::string_view text) { return InTable(kAccelOptions, text); }
bool IsMenuOption(std::string_view text) { return InTable(kMenuOptions, text); }

// --- CRcParser: lexer part ---------------------------------------------------

char CRcParser::Peek(std::size_t ahead) const
{
    std::size_t p = in_ + ahead;
    return p < src_.size() ? src_[p] : '\0';
}

void CRcParser::Put(char c)
{
    if (out_.size() >= kOutCap + stringBytes_) {
        overflow_ = true;
        return;
    }
    out_.push_back(c);
}

void CRcParser::Put(std::string_view s)
{
    if (out_.size() + s.size() > kOutCap + stringBytes_) {
        overflow_ = true;
        return;
    }
    out_.append(s);
}

void CRcParser::PutBlanks(int n)
{
    for (int i = 0; i < n; ++i)
        Put(' ');
}

// Skips whitespace, counting line ends; a backslash that ends a line joins it to
// the next one like any blank.
void CRcParser::SkipSpace()
{
    const std::size_t n = src_.size();
    while (in_ < n) {
        char c = src_[in_];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f') {
            ++in_;
        } else if (c == '\n') {
            ++newlines_;
            ++in_;
        } else if (c == '\\' && Peek(1) == '\n') {
            in_ += 2;
        } else if (c == '\\' && Peek(1) == '\r' && Peek(2) == '\n') {
            in_ += 3;
        } else {
            break;
        }
    }
}

int CRcParser::NextToken()
{
    prevToken_ = token_;
    token_ = tok::Unknown;
    statementStart_ = false;
    tokenText_.clear();
    newlines_ = 0;
    SkipSpace();

    tokenInPos_ = in_;
    tokenOutPos_ = out_.size();
    tokStart_ = out_.size();
    prevLastEnd_ = lastEnd_;
    if (AtEnd())
        return token_ = tok::EndOfInput;

    const char c = src_[in_];
    // Comments: nothing is copied; SkipComments consumes the rest.
#define QLN_X(name, first, second, code)                          \
    if (c == first && (second == '\0' || Peek(1) == second)) {    \
        ++in_;                                                    \
        return token_ = code;                                     \
    }
    QLN_RC_TWO_CHAR(QLN_X)
#undef QLN_X

    if (in_ > lastEnd_ && !out_.empty() && out_.back() != ' ')
        Put(' ');
    tokStart_ = out_.size();

    int code = tok::Unknown;
    if (IsIdentStart(c)) {
        code = LexIdentifier();
    } else if (IsDigit(c)) {
        code = LexNumber();
    } else if (c == '$') {
        Put(c);
        ++in_;
        code = tok::Dollar;
        if (Peek() == '$') {
            Put('$');
            ++in_;
            code = tok::KwDollarDollar;
        }
        statementStart_ = true;
    } else {
        switch (c) {
#define QLN_X(name, ch, cd) case ch: code = cd; break;
            QLN_RC_SINGLE_CHAR(QLN_X)
#undef QLN_X
        default:
            break;
        }
        if (code != tok::Unknown) {
            Put(c);
            ++in_;
            if (code == tok::Quote)
                ReadString();
            else if (code == tok::LBrace || code == tok::RBrace || code == tok::Hash)
                statementStart_ = true;
        } else {
            // Not copied; a whole UTF-8 sequence counts as one unknown character.
            ++in_;
            if (static_cast<unsigned char>(c) >= 0xC0)
                while (in_ < src_.size() && (static_cast<unsigned char>(src_[in_]) & 0xC0) == 0x80)
                    ++in_;
        }
    }
    lastEnd_ = in_;
    return token_ = code;
}

int CRcParser::LexIdentifier()
{
    const std::size_t start = in_;
    while (in_ < src_.size() && IsIdentCont(src_[in_]))
        ++in_;
    SkipMacroSuffix();
    std::string_view text(src_.data() + start, in_ - start);
    Put(text);
    tokenText_.assign(text.substr(0, 83));

    // A wide string: L"...".
    if (text.size() == 1 && (text[0] == 'L' || text[0] == 'l') && Peek() == '"') {
        Put('"');
        ++in_;
        ReadString();
        return tok::Quote;
    }

    int kw = 0;
    const bool idLike = text.size() >= 3 && text[2] == '_' && (text[0] == 'I' || text[1] == 'D');
    if (text.size() <= 18 && !idLike)
        kw = KeywordIndex(tokenText_);
    if (context_ == tok::KwAccelerators && IsAccelOption(tokenText_))
        return tok::AccelOption;
    if (context_ == tok::KwMenu && IsMenuOption(tokenText_))
        return tok::MenuOption;
    if (kw == 0) {
        identPos_ = static_cast<int>(tokStart_);
        identLen_ = static_cast<int>(text.size());
        return IsMemoryOption(tokenText_) ? tok::MemoryOption : tok::Identifier;
    }
    statementStart_ = true;
    keywordPos_ = static_cast<int>(tokStart_);
    keywordLen_ = static_cast<int>(text.size());
    return KeywordCode(kw);
}

// Old AppStudio scripts name resources like IDR_MAINFRAME$(_MAC): a name that
// ends in '$' followed directly by a parenthesised macro name. The suffix is
// part of the name.
void CRcParser::SkipMacroSuffix()
{
    if (in_ == 0 || src_[in_ - 1] != '$' || Peek() != '(' || !IsIdentStart(Peek(1)))
        return;
    std::size_t end = in_ + 2;
    while (end < src_.size() && IsIdentCont(src_[end]))
        ++end;
    if (end < src_.size() && src_[end] == ')')
        in_ = end + 1;
}

int CRcParser::LexNumber()
{
    savedNumPos_ = numPos_;
    savedNumLen_ = numLen_;
    std::copy_backward(numPos_.begin(), numPos_.end() - 1, numPos_.end());
    std::copy_backward(numLen_.begin(), numLen_.end() - 1, numLen_.end());
    numPos_[0] = static_cast<int>(tokStart_);

    const std::size_t start = in_;
    int code = tok::Decimal;
    ++in_;
    char c = Peek();
    if (!IsDigit(c)) {
        if (c == 'x' || c == 'X') {
            code = tok::Hexadecimal;
            ++in_;
        } else if (c == 'o' || c == 'O') {
            code = tok::Octal;
            ++in_;
        }
    }
    while (in_ < src_.size() && IsXDigit(src_[in_]))
        ++in_;
    if (Peek() == 'L')
        ++in_;
    Put(std::string_view(src_.data() + start, in_ - start));
    numLen_[0] = static_cast<int>(in_ - start);
    return code;
}

// Reads the body of a string whose opening quote was just copied, up to and
// including the closing quote. Escapes (a backslash and the next character) and
// doubled quotes are kept as written; there is no length limit.
void CRcParser::ReadString()
{
    const std::size_t start = in_;
    const std::size_t n = src_.size();
    const char* data = src_.data();
    std::size_t quote = 0;  // next '"' at or behind in_ (n when none); found once, not per escape
    bool known = false;
    while (in_ < n) {
        if (!known || quote < in_) {
            const void* q = std::memchr(data + in_, '"', n - in_);
            quote = q ? static_cast<std::size_t>(static_cast<const char*>(q) - data) : n;
            known = true;
        }
        const void* b = std::memchr(data + in_, '\\', quote - in_);
        if (b) {
            in_ = static_cast<std::size_t>(static_cast<const char*>(b) - data) + 2;
            continue;
        }
        in_ = quote;
        if (in_ < n && Peek(1) == '"') {
            in_ += 2;
            continue;
        }
        break;
    }
    if (in_ > n)
        in_ = n;
    strPos_ = static_cast<int>(out_.size());
    strLen_ = static_cast<int>(in_ - start);
    // The body is copied whole: only the rest of the statement is bound by the cap.
    out_.append(src_.data() + start, in_ - start);
    stringBytes_ += in_ - start;
    strClosed_ = in_ < n;
    if (strClosed_) {
        Put('"');
        ++in_;
    } else {
        unclosed_ = true;
    }
}

void CRcParser::CopyUnknown()
{
    Put(std::string_view(src_.data() + tokenInPos_, lastEnd_ - tokenInPos_));
}

// The input goes back to the end of the token before, so that the line ends in
// between are seen again by whoever reads the token next.
void CRcParser::Unget()
{
    out_.resize(std::min(out_.size(), tokenOutPos_));
    in_ = std::min(prevLastEnd_, tokenInPos_);
    lastEnd_ = prevLastEnd_;
    if (token_ == tok::Decimal || token_ == tok::Hexadecimal || token_ == tok::Octal) {
        numPos_ = savedNumPos_;
        numLen_ = savedNumLen_;
    }
    token_ = prevToken_;
}

long CRcParser::NumberValue(int i, int base) const
{
    if (i < 0 || i > 3 || numLen_[i] <= 0)
        return 0;
    const std::size_t pos = static_cast<std::size_t>(numPos_[i]);
    if (pos + static_cast<std::size_t>(numLen_[i]) > out_.size())
        return 0;
    std::string text = out_.substr(pos, static_cast<std::size_t>(std::min(numLen_[i], 19)));
    if (text.size() > 1 && (text[1] == 'o' || text[1] == 'O'))
        return std::strtol(text.c_str() + 2, nullptr, 8);
    return std::strtol(text.c_str(), nullptr, base);
}

// Skips comment tokens; returns the first token that is not a comment.
int CRcParser::SkipComments(int token)
{
    int lines = newlines_;
    while (token == tok::BlockComment || token == tok::BlockCommentEnd ||
           token == tok::LineComment || token == tok::SemicolonComment) {
        if (token == tok::BlockComment) {
            // in_ is on the '*' of "/*"; a "/*/" does not close the comment.
            std::size_t end = src_.find("*/", in_ + 1);
            in_ = end == std::string::npos ? src_.size() : end + 2;
        } else if (token == tok::BlockCommentEnd) {
            ++in_;
        } else {
            std::size_t end = src_.find('\n', in_);
            in_ = end == std::string::npos ? src_.size() : end;
        }
        token_ = prevToken_;
        token = NextToken();
        lines += newlines_;
    }
    newlines_ = lines;
    return token;
}

// The next token that is not a comment; records where the statement begins.
int CRcParser::Next()
{
    int t = SkipComments(NextToken());
    if (!haveStart_ && t != tok::EndOfInput) {
        stmtIn_ = tokenInPos_;
        haveStart_ = true;
    }
    return t;
}

}  // namespace qln
