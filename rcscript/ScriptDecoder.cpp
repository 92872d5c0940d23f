#include "rcscript/ScriptDecoder.h"

#include "rcscript/CodePages.h"
#include "rcscript/Messages.h"
#include "rcscript/RcSymbols.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <vector>

namespace qln {
namespace {

constexpr int kPragmaDefault = -1;  // #pragma code_page(DEFAULT)

// A #pragma code_page found in the bytes of a script: where its '#' stands and
// the code page it names.
struct PragmaHint {
    std::size_t offset;
    int codePage;
};

struct CodePageHints {
    std::vector<PragmaHint> pragmas;
    std::optional<int> languageCodePage;  // code page of the first LANGUAGE statement
};

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'a' && a[i] <= 'z' ? char(a[i] - 32) : a[i];
        const char y = b[i] >= 'a' && b[i] <= 'z' ? char(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

// Finds the #pragma code_page lines and the first LANGUAGE statement in the raw
// bytes of a script, before it is decoded. Comments and strings are skipped so
// that a pragma inside a TEXTINCLUDE string or a commented-out LANGUAGE does not
// count. Only ASCII is looked at: bytes of multi-byte characters never take the
// values of the quote, slash, semicolon or line end, so they cannot derail it.
class CHintScanner {
public:
    explicit CHintScanner(std::string_view bytes) : s_(bytes) {}

    CodePageHints Scan(bool firstPragmaOnly)
    {
        bool lineStart = true;
        while (i_ < s_.size()) {
            const char c = s_[i_];
            if (c == '\n') {
                lineStart = true;
                ++i_;
            } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
                ++i_;
            } else if (c == ';' || (c == '/' && Peek(1) == '/')) {
                SkipToLineEnd();
            } else if (c == '/' && Peek(1) == '*') {
                const std::size_t end = s_.find("*/", i_ + 2);
                i_ = end == std::string_view::npos ? s_.size() : end + 2;
            } else if (c == '"') {
                SkipString();
                lineStart = false;
            } else if (c == '#' && lineStart) {
                ReadDirective();
                lineStart = false;
                // A numeric pragma settles the code page; after DEFAULT the
                // LANGUAGE statement may still be needed.
                if (firstPragmaOnly && !hints_.pragmas.empty() && hints_.pragmas.front().codePage != kPragmaDefault)
                    break;
            } else if (IsWordByte(c)) {
                const std::string_view word = ReadWord();
                if (!hints_.languageCodePage && EqualsNoCase(word, "LANGUAGE"))
                    ReadLanguage();
                lineStart = false;
            } else {
                ++i_;
                lineStart = false;
            }
        }
        return std::move(hints_);
    }

private:
    static bool IsWordByte(char c)
    {
        const auto u = static_cast<unsigned char>(c);
        return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '_' ||
               u == '.' || u == '$' || u >= 0x80;
    }

    char Peek(std::size_t ahead) const { return i_ + ahead < s_.size() ? s_[i_ + ahead] : '\0'; }

    void SkipToLineEnd()
    {
        const std::size_t end = s_.find('\n', i_);
        i_ = end == std::string_view::npos ? s_.size() : end;
    }

    void SkipBlanks(bool newlines)
    {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t' || s_[i_] == '\r' || (newlines && s_[i_] == '\n')))
            ++i_;
    }

    // A string ends at a quote that is not doubled or escaped, or at the line end
    // (a damaged string must not hide the rest of the script).
    void SkipString()
    {
        ++i_;
        while (i_ < s_.size() && s_[i_] != '\n') {
            const char c = s_[i_++];
            if (c == '\\' && i_ < s_.size() && s_[i_] != '\n') {
                ++i_;
            } else if (c == '"') {
                if (Peek(0) != '"')
                    return;
                ++i_;
            }
        }
    }

    std::string_view ReadWord()
    {
        const std::size_t start = i_;
        while (i_ < s_.size() && IsWordByte(s_[i_]))
            ++i_;
        return s_.substr(start, i_ - start);
    }

    // # pragma code_page ( number | DEFAULT )
    void ReadDirective()
    {
        const std::size_t hash = i_++;
        SkipBlanks(false);
        if (!EqualsNoCase(ReadWord(), "pragma"))
            return;
        SkipBlanks(false);
        if (!EqualsNoCase(ReadWord(), "code_page"))
            return;
        SkipBlanks(false);
        if (Peek(0) != '(')
            return;
        ++i_;
        SkipBlanks(false);
        const std::string_view value = ReadWord();
        SkipBlanks(false);
        if (Peek(0) != ')')
            return;
        ++i_;
        if (EqualsNoCase(value, "DEFAULT")) {
            hints_.pragmas.push_back({hash, kPragmaDefault});
        } else if (std::optional<int> number = Number(value)) {
            hints_.pragmas.push_back({hash, *number});
        }
    }

    // LANGUAGE primary , sub -- names of the LANG_ and SUBLANG_ tables or numbers.
    void ReadLanguage()
    {
        const std::size_t resume = i_;
        SkipBlanks(true);
        const std::optional<int> primary = LanguageValue(ReadWord(), LangValue);
        SkipBlanks(true);
        if (!primary || Peek(0) != ',') {
            i_ = resume;
            return;
        }
        ++i_;
        SkipBlanks(true);
        const std::optional<int> sub = LanguageValue(ReadWord(), SubLangValue);
        if (!sub) {
            i_ = resume;
            return;
        }
        hints_.languageCodePage = CodePageNumber(*primary, *sub);
    }

    template <typename Lookup>
    static std::optional<int> LanguageValue(std::string_view word, Lookup lookup)
    {
        if (word.empty())
            return std::nullopt;
        if (word[0] >= '0' && word[0] <= '9')
            return Number(word);
        return lookup(word);
    }

    // A decimal or 0x-prefixed hexadecimal number, optionally with an L suffix.
    static std::optional<int> Number(std::string_view word)
    {
        if (!word.empty() && (word.back() == 'L' || word.back() == 'l'))
            word.remove_suffix(1);
        int base = 10;
        if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) {
            word.remove_prefix(2);
            base = 16;
        }
        int value = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, base);
        if (ec != std::errc{} || end != word.data() + word.size() || word.empty())
            return std::nullopt;
        return value;
    }

    std::string_view s_;
    std::size_t i_ = 0;
    CodePageHints hints_;
};

// A code page a section of 8-bit text can be read in.
bool IsByteCodePage(int codePage)
{
    return codePage >= 0 && codePage != 1200 && codePage != 1201 && codePage != 12000 && codePage != 12001 &&
           IsSupportedCodePage(codePage);
}

// The code page a script is read in from its start, and the code page that
// #pragma code_page(DEFAULT) returns to, each with where it came from.
struct BaseCodePage {
    int codePage = 1252;
    std::string_view source = msg::EncodingFromDefault;
    int fallback = 1252;  // without any pragma
    std::string_view fallbackSource = msg::EncodingFromDefault;
};

BaseCodePage ChooseBase(const CodePageHints& hints)
{
    BaseCodePage base;
    if (hints.languageCodePage && IsByteCodePage(*hints.languageCodePage)) {
        base.fallback = *hints.languageCodePage;
        base.fallbackSource = msg::EncodingFromLanguage;
    }
    base.codePage = base.fallback;
    base.source = base.fallbackSource;
    for (const PragmaHint& pragma : hints.pragmas) {
        if (pragma.codePage == kPragmaDefault)
            break;
        if (IsByteCodePage(pragma.codePage)) {
            base.codePage = pragma.codePage;
            base.source = msg::EncodingFromPragma;
            break;
        }
    }
    return base;
}

std::string CodePageNames(const std::vector<int>& codePages)
{
    std::string names;
    for (const int cp : codePages)
        names += (names.empty() ? "" : ", CP") + std::to_string(cp);
    return names;
}

// Reads 8-bit text section by section: each #pragma code_page switches the code
// page from its own line on; the text before the first one is read in the first
// one's code page.
void DecodeSections(std::string_view bytes, const CodePageHints& hints, DecodedScript& out)
{
    const BaseCodePage base = ChooseBase(hints);
    std::vector<int> used{base.codePage};
    int current = base.codePage;
    std::size_t start = 0;
    auto flush = [&](std::size_t end) {
        if (!DecodeToUtf8(bytes.substr(start, end - start), current, out.text))
            DecodeToUtf8(bytes.substr(start, end - start), 1252, out.text);
        start = end;
    };
    for (const PragmaHint& pragma : hints.pragmas) {
        const int next = pragma.codePage == kPragmaDefault ? base.fallback
                         : IsByteCodePage(pragma.codePage) ? pragma.codePage
                                                            : current;
        if (next == current)
            continue;
        flush(pragma.offset);
        current = next;
        if (std::find(used.begin(), used.end(), current) == used.end())
            used.push_back(current);
    }
    flush(bytes.size());
    out.codePage = base.codePage;
    out.codePageAssumed = base.source == msg::EncodingFromDefault && used.size() == 1;
    const std::string_view source = used.size() > 1 ? msg::EncodingFromPragma : base.source;
    out.encoding = msg::Format(msg::EncodingCodePage, {CodePageNames(used), source});
}

// UTF-16 without byte-order mark: ASCII characters interleaved with zero bytes.
std::optional<int> Utf16WithoutBom(std::string_view bytes)
{
    if (bytes.size() < 4 || bytes.size() % 2 != 0)
        return std::nullopt;
    auto ascii = [&](std::size_t i) { return bytes[i] != 0 && static_cast<unsigned char>(bytes[i]) < 0x80; };
    if (ascii(0) && bytes[1] == 0 && ascii(2) && bytes[3] == 0)
        return 1200;
    if (bytes[0] == 0 && ascii(1) && bytes[2] == 0 && ascii(3))
        return 1201;
    return std::nullopt;
}

// A line-end conversion applied to a UTF-16LE file as if it were 8-bit text puts
// a CR byte before every LF byte: "\r\0\n\0" becomes "\r\0\r\n\0", and all text
// behind it is read one byte off. Such a CR byte shows as the unit U+0A0D (which
// Unicode leaves unassigned) followed by a zero byte; dropping it mends the text.
bool RepairUtf16LeLineEnds(std::string_view body, std::string& repaired)
{
    auto damaged = [&](std::size_t i) {
        return i + 2 < body.size() && body[i] == '\r' && body[i + 1] == '\n' && body[i + 2] == '\0';
    };
    std::size_t i = 0;
    while (i + 1 < body.size() && !damaged(i))
        i += 2;
    if (i + 1 >= body.size())
        return false;
    repaired.assign(body.substr(0, i));
    repaired.reserve(body.size());
    while (i < body.size()) {
        if (damaged(i)) {
            ++i;
            continue;
        }
        repaired.append(body.substr(i, 2));
        i += 2;
    }
    return true;
}

std::string_view Utf16Name(int codePage)
{
    return codePage == 1200 ? "UTF-16LE" : "UTF-16BE";
}

std::size_t FirstNonAscii(std::string_view bytes)
{
    std::size_t i = 0;
    for (std::uint64_t word; i + 8 <= bytes.size(); i += 8) {
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            break;
    }
    for (; i < bytes.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) >= 0x80)
            return i;
    return std::string_view::npos;
}

// An old editor's end-of-file mark (Ctrl-Z) at the end of a script ends its text;
// left in, it would reach the parser as an unknown character.
void DropEndOfFileMark(std::string& text)
{
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == '\x1A' || text[end - 1] == '\n' || text[end - 1] == '\r' ||
                       text[end - 1] == ' ' || text[end - 1] == '\t')) {
        if (text[end - 1] == '\x1A') {
            text.resize(end - 1);
        }
        --end;
    }
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

DecodedScript DecodeBytes(std::string_view bytes)
{
    DecodedScript out;
    auto decodeUtf16 = [&out](std::string_view body, int codePage, std::string_view pattern) {
        std::string repaired;
        const bool mended = codePage == 1200 && RepairUtf16LeLineEnds(body, repaired);
        DecodeToUtf8(mended ? std::string_view(repaired) : body, codePage, out.text);
        out.codePage = codePage;
        out.encoding = msg::Format(pattern, {Utf16Name(codePage)});
        if (mended)
            out.encoding = msg::Format(msg::EncodingLineEndsRepaired, {out.encoding});
    };
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        AppendSanitizedUtf8(bytes.substr(3), out.text);
        out.codePage = 65001;
        out.encoding = msg::Format(msg::EncodingWithBom, {msg::EncodingUtf8});
        return out;
    }
    if (bytes.starts_with("\xFF\xFE")) {
        decodeUtf16(bytes.substr(2), 1200, msg::EncodingWithBom);
        return out;
    }
    if (bytes.starts_with("\xFE\xFF")) {
        decodeUtf16(bytes.substr(2), 1201, msg::EncodingWithBom);
        return out;
    }
    if (const std::optional<int> utf16 = Utf16WithoutBom(bytes)) {
        decodeUtf16(bytes, *utf16, msg::EncodingUtf16NoBom);
        return out;
    }

    const std::size_t nonAscii = FirstNonAscii(bytes);
    if (nonAscii == std::string_view::npos) {
        // Pure ASCII reads the same in every code page, but the code page its
        // pragma or LANGUAGE names is still the one its writer meant.
        const BaseCodePage base = ChooseBase(CHintScanner(bytes).Scan(true));
        out.text = bytes;
        out.codePage = base.codePage;
        out.encoding = msg::Format(msg::EncodingAscii, {std::to_string(base.codePage), base.source});
        out.codePageAssumed = base.source == msg::EncodingFromDefault;
        return out;
    }
    if (FindInvalidUtf8(bytes.substr(nonAscii)) == std::string_view::npos) {
        out.text = bytes;
        out.codePage = 65001;
        out.encoding = msg::EncodingUtf8;
        return out;
    }
    DecodeSections(bytes, CHintScanner(bytes).Scan(false), out);
    return out;
}

}  // namespace

DecodedScript DecodeScript(std::string_view bytes)
{
    DecodedScript out = DecodeBytes(bytes);
    DropEndOfFileMark(out.text);
    return out;
}

bool LoadScriptFile(const std::filesystem::path& path, DecodedScript& out, std::string& error)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        error = msg::Format(msg::ScriptOpenFailed, {path.string(), std::strerror(errno)});
        return false;
    }
    std::string bytes;
    struct stat info {};
    if (fstat(fileno(file.get()), &info) == 0 && info.st_size > 0)
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(file.get())) {
        error = msg::Format(msg::ScriptReadFailed, {path.string(), std::strerror(errno)});
        return false;
    }
    out = DecodeScript(bytes);
    return true;
}

}  // namespace qln
