#pragma once
// Reads a resource script statement by statement. The input is the script
// decoded to UTF-8 (see ScriptDecoder.h); positions are byte offsets.
//
// Public interface used by the rest of the program. The private part belongs to
// the parser's implementation and may change freely.

#include "rcscript/RcStatement.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qln {

// Parser error codes (CRcStatement::error) and builder file-level codes.
namespace rcerr {
inline constexpr int ResourceFile = -99;   // statement matches no rule
inline constexpr int UserResource = -97;   // user resource without a file name
inline constexpr int Popup = -96;          // malformed POPUP
inline constexpr int MenuItem = -95;       // malformed MENUITEM
inline constexpr int Language = -93;       // malformed LANGUAGE
inline constexpr int NoMemory = -88;
inline constexpr int CantRead = -87;
inline constexpr int Output = -83;         // re-rendered statement longer than kMaxLineChars
inline constexpr int CantChangeDir = -81;
inline constexpr int CantOpen = 2;
}  // namespace rcerr

// Longest re-rendered statement, in characters (code points), not counting the
// bodies of its strings: strings of any length are read whole.
inline constexpr int kMaxLineChars = 1199;

// Message text of a parser or builder code; `file` names the script (or the
// directory for CantChangeDir).
std::string ParserErrorText(int code, std::string_view file);

class CRcParser {
public:
    explicit CRcParser(std::string script);

    // Parses the next statement into `out` and returns its result (kResultText
    // when it carries a text). Check out.error and out.kind: kind 73 ends the
    // input; an error ends the reading of the file (an unknown character at the
    // start of a statement gives kind 0 with error -99, never a quiet stop).
    int ParseStatement(CRcStatement& out);

    // Parses one stored line again, as if it stood at `context` and `depth`
    // (e.g. a control line: context 13, depth 1; a dialog header: 0, 0), to find
    // its coordinates and positions.
    static CRcStatement ParseLine(std::string line, int context, int depth);

    // Number of statements parsed so far (the running counter stored as Line).
    int StatementCount() const;

    // Resource context and BEGIN/END depth carried from statement to statement.
    int Context() const;
    int Depth() const;

    // Lexer interface (also used by tests): reads the next token of the current
    // statement, copying it to the output line, and returns its code.
    int NextToken();
    // Pushes the last token back: it is read and copied again by the next call.
    void Unget();
    // Value of the i-th most recent number (0 = newest) in base 10 or 16; 0 when
    // there is no such number.
    long NumberValue(int i, int base) const;
    // Skips comment tokens starting with `token`; returns the first other token.
    int SkipComments(int token);
    std::string_view TokenText() const { return tokenText_; }
    std::string_view Output() const { return out_; }
    // Clears the per-statement state and the output line.
    void Reset();

private:
    // --- lexer (RcLexer.cpp)
    bool AtEnd() const { return in_ >= src_.size(); }
    char Peek(std::size_t ahead = 0) const;
    void Put(std::string_view s);
    void Put(char c);
    void PutBlanks(int n);
    void SkipSpace();
    int LexIdentifier();
    void SkipMacroSuffix();
    int LexNumber();
    void ReadString();
    void CopyUnknown();
    int Next();

    // --- helpers (RcParser.cpp)
    void MarkText();
    void MarkName(std::size_t pos, std::size_t len);
    void MarkStringName();
    void Fail(int code);
    bool Failed() const { return error_ != 0; }
    enum class Stop { LineEnd, Statement, Block };
    int CopyRest(bool evalFlags);
    bool CopyLine(bool markText, Stop stop);
    bool ReadExpr(std::size_t& start, std::size_t& end, long& value, bool keywordFirst = false);
    bool ReadIdExpr();
    bool ReadFileName();
    bool ReadCoords(int required);
    bool ReadStyleExpr();
    bool ExpectComma();
    void SkipOptionalComma();
    long TokenNumber(int token) const;
    void EvalFlag(int token, bool& negate);
    void EndResource();
    void BeginResource(int context);
    void Finish(CRcStatement& out);

    // --- statement rules (RcParserRules.cpp, RcParserDialog.cpp)
    void ParseGeneral(int token);
    void ParseStringTableLine(int token);
    void ParseAcceleratorLine(int token);
    void ParseBodyLine(int token);
    bool ParseDialogLine(int token);
    void ParseBeginEnd(int token);
    bool ParseBodyFrame(int token);
    void ParsePreprocessor();
    void ParsePopup();
    void ParseMenuItem();
    void ParseLanguage();
    void ParseBlock();
    void ParseValue();
    void ParseRcInclude();
    void ParseQuoted();
    void ParseResource(bool keywordName);
    void ParseStringNamedResource();
    void ParseResourceType(int type, bool stringName);
    void ParseUserResource();
    void ParseImageResource(int kind);
    void ParseTextControl(int kind);
    void ParseControl();
    void ParseIdControl(int kind);
    void ParseDialogFont();
    void ParseDialogClass();

    // Input.
    std::string src_;
    std::size_t in_ = 0;

    // Output line and the statement being built.
    std::string out_;
    int kind_ = 0;
    int result_ = 0;
    int error_ = 0;
    int textPos_ = -1, textLen_ = 0;
    int namePos_ = 0, nameLen_ = 0;
    int facePos_ = 0, faceLen_ = 0;
    int filePos_ = 0, fileLen_ = 0;
    std::array<int, 4> coordPos_{}, coordLen_{}, coord_{};
    int language_ = 0, subLanguage_ = 0, codePage_ = 0;
    std::uint32_t flagBits_ = 0;
    bool unrecognised_ = false;
    std::size_t stmtIn_ = 0;      // input position of the statement's first token
    bool haveStart_ = false;

    // Lexer state.
    int token_ = 0;
    int prevToken_ = 0;
    std::string tokenText_;       // at most 83 characters of the last identifier
    bool statementStart_ = false;
    int newlines_ = 0;            // line ends skipped before the current token
    std::size_t tokenInPos_ = 0;  // input position of the token
    std::size_t tokenOutPos_ = 0; // output position before the token (and its blank)
    std::size_t tokStart_ = 0;    // output position of the token's first character
    std::size_t lastEnd_ = 0;     // input position behind the last real token
    std::size_t prevLastEnd_ = 0;
    int identPos_ = 0, identLen_ = 0;
    int keywordPos_ = 0, keywordLen_ = 0;
    std::array<int, 4> numPos_{}, numLen_{};
    std::array<int, 4> savedNumPos_{}, savedNumLen_{};
    int strPos_ = 0, strLen_ = 0; // body of the last string token
    bool strClosed_ = false;
    bool overflow_ = false;
    std::size_t stringBytes_ = 0;  // bytes of string bodies in out_ (not bound by the line limit)
    bool unclosed_ = false;
    int exprNest_ = 0;       // a string of the statement runs to the end of input

    // Carried between statements.
    int context_ = 0;
    int depth_ = 0;
    bool menuEx_ = false;
    int count_ = 0;
    bool ended_ = false;
    std::size_t lineScan_ = 0;    // sourceLine bookkeeping
    int lineNo_ = 1;
};

}  // namespace qln
