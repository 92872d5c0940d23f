#include "rcscript/CodePages.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <unistd.h>

namespace qln {
namespace {

namespace fs = std::filesystem;

std::string Utf16(std::string_view utf8, int codePage)
{
    const EncodeResult r = EncodeFromUtf8(utf8, codePage);
    EXPECT_TRUE(r);
    return r.bytes;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(ScriptDecoder, ReadsByteOrderMarksAndUnicode)
{
    const std::string text = "CAPTION \"\u0416\u00E9\u65E5\U0001F600\"\r\n";
    struct Case {
        std::string bytes;
        int codePage;
        std::string encoding;
    };
    const Case cases[] = {
        {"\xEF\xBB\xBF" + text, 65001, "UTF-8 (BOM)"},
        {"\xFF\xFE" + Utf16(text, 1200), 1200, "UTF-16LE (BOM)"},
        {"\xFE\xFF" + Utf16(text, 1201), 1201, "UTF-16BE (BOM)"},
        {Utf16(text, 1200), 1200, "UTF-16LE (no BOM)"},
        {Utf16(text, 1201), 1201, "UTF-16BE (no BOM)"},
        {text, 65001, "UTF-8"},
    };
    for (const Case& c : cases) {
        const DecodedScript d = DecodeScript(c.bytes);
        EXPECT_EQ(d.text, text) << c.encoding;
        EXPECT_EQ(d.codePage, c.codePage);
        EXPECT_EQ(d.encoding, c.encoding);
    }
}

TEST(ScriptDecoder, PureAsciiStillReportsTheCodePageItNames)
{
    struct Case {
        std::string bytes;
        int codePage;
        std::string encoding;
    };
    const Case cases[] = {
        {"#pragma code_page(1251)\nSTRINGTABLE\n", 1251, "ASCII, CP1251 (#pragma code_page)"},
        {"LANGUAGE LANG_JAPANESE, SUBLANG_DEFAULT\n#pragma code_page(1250)\n", 1250,
         "ASCII, CP1250 (#pragma code_page)"},
        {"LANGUAGE LANG_JAPANESE, SUBLANG_NEUTRAL\n", 932, "ASCII, CP932 (LANGUAGE)"},
        {"#pragma code_page(DEFAULT)\nLANGUAGE 25, 1\n", 1251, "ASCII, CP1251 (LANGUAGE)"},
        {"// #pragma code_page(1251)\nIDR_MENU MENU\n", 1252, "ASCII, CP1252 (default)"},
        {"", 1252, "ASCII, CP1252 (default)"},
    };
    for (const Case& c : cases) {
        const DecodedScript d = DecodeScript(c.bytes);
        EXPECT_EQ(d.text, c.bytes);
        EXPECT_EQ(d.codePage, c.codePage) << c.bytes;
        EXPECT_EQ(d.encoding, c.encoding) << c.bytes;
    }
}

// 8-bit scripts: "\xC6" is Ж in 1251, Ć in 1250, Æ in 1252, a half-width katakana in 932.
TEST(ScriptDecoder, EightBitScriptsUseTheirPragmaThenLanguageThen1252)
{
    struct Case {
        const char* what;
        std::string bytes;
        int codePage;
        std::string encoding;
        std::string caption;  // the decoded "\xC6"
    };
    const Case cases[] = {
        {"pragma", "#pragma code_page(1251)\n", 1251, "CP1251 (#pragma code_page)", "\u0416"},
        {"pragma spelled loosely", "  #  PRAGMA  Code_Page ( 1251 ) // Cyrillic\n", 1251,
         "CP1251 (#pragma code_page)", "\u0416"},
        {"pragma wins over LANGUAGE", "LANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT\n#pragma code_page(1250)\n", 1250,
         "CP1250 (#pragma code_page)", "\u0106"},
        {"LANGUAGE names", "LANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT\n", 1251, "CP1251 (LANGUAGE)", "\u0416"},
        {"LANGUAGE numbers", "LANGUAGE 25,1\n", 1251, "CP1251 (LANGUAGE)", "\u0416"},
        {"LANGUAGE hexadecimal", "language 0x19, 0x01\n", 1251, "CP1251 (LANGUAGE)", "\u0416"},
        {"LANGUAGE outside the table", "LANGUAGE LANG_CZECH, SUBLANG_DEFAULT\n", 1250, "CP1250 (LANGUAGE)",
         "\u0106"},
        {"first LANGUAGE counts", "LANGUAGE LANG_JAPANESE, SUBLANG_NEUTRAL\nLANGUAGE 9, 1\n", 932,
         "CP932 (LANGUAGE)", "\uFF86"},
        {"nothing", "IDR_MENU MENU\n", 1252, "CP1252 (default)", "\u00C6"},
        {"unknown code page", "#pragma code_page(99999)\n", 1252, "CP1252 (default)", "\u00C6"},
        {"pragma in a string", "1 TEXTINCLUDE BEGIN \"#pragma code_page(1250)\\r\\n\" END\nLANGUAGE 25, 1\n",
         1251, "CP1251 (LANGUAGE)", "\u0416"},
        {"pragma in block comment", "/* old:\n#pragma code_page(1250)\n*/ LANGUAGE 25, 1\n", 1251,
         "CP1251 (LANGUAGE)", "\u0416"},
        {"LANGUAGE in comments and strings",
         "// LANGUAGE 5, 1\n; LANGUAGE 5, 1\nIDS_X \"LANGUAGE 5, 1\"\n/* LANGUAGE 5, 1 */\nLANGUAGE 25, 1\n", 1251,
         "CP1251 (LANGUAGE)", "\u0416"},
        {"LANGUAGE inside a name", "IDS_LANGUAGE 5, 1\nLANGUAGE.X 5, 1\nLANGUAGE 25, 1\n", 1251,
         "CP1251 (LANGUAGE)", "\u0416"},
        {"unterminated string", "IDS_X \"oops\nLANGUAGE 25, 1\n", 1251, "CP1251 (LANGUAGE)", "\u0416"},
        {"doubled and escaped quotes", "IDS_X \"a \"\"q\"\" \\\" b\" LANGUAGE 25, 1\n", 1251, "CP1251 (LANGUAGE)",
         "\u0416"},
        {"hash not at line start", "IDS_X 1 # pragma code_page(1250)\nLANGUAGE 25, 1\n", 1251,
         "CP1251 (LANGUAGE)", "\u0416"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const DecodedScript d = DecodeScript(c.bytes + "CAPTION \"\xC6\"\n");
        EXPECT_EQ(d.codePage, c.codePage);
        EXPECT_EQ(d.encoding, c.encoding);
        EXPECT_EQ(d.text, c.bytes + "CAPTION \"" + c.caption + "\"\n");
    }
}

TEST(ScriptDecoder, EachPragmaSectionIsReadInItsOwnCodePage)
{
    const std::string bytes = "// \xEA before\n"
                              "#pragma code_page(1250)\n\"\xEA\"\n"
                              "#pragma code_page(1251)\n\"\xC6\"\n"
                              "  #pragma code_page(932)\n\"\x93\xFA\"\n"
                              "#pragma code_page(DEFAULT)\n\"\x80\"\n"
                              "#pragma code_page(1251)\n\"\xC6\"\n";
    const DecodedScript d = DecodeScript(bytes);
    EXPECT_EQ(d.text, "// \u0119 before\n"
                      "#pragma code_page(1250)\n\"\u0119\"\n"
                      "#pragma code_page(1251)\n\"\u0416\"\n"
                      "  #pragma code_page(932)\n\"\u65E5\"\n"
                      "#pragma code_page(DEFAULT)\n\"\u20AC\"\n"
                      "#pragma code_page(1251)\n\"\u0416\"\n");
    EXPECT_EQ(d.codePage, 1250);
    EXPECT_EQ(d.encoding, "CP1250, CP1251, CP932, CP1252 (#pragma code_page)");

    // DEFAULT returns to the code page of the LANGUAGE statement.
    const DecodedScript back = DecodeScript("LANGUAGE LANG_GREEK, SUBLANG_DEFAULT\n#pragma code_page(1251)\n"
                                            "\"\xC6\"\n#pragma code_page(DEFAULT)\n\"\xC6\"\n");
    EXPECT_NE(back.text.find("\"\u0416\"\n#pragma code_page(DEFAULT)\n\"\u0396\""), std::string::npos) << back.text;
}

TEST(ScriptDecoder, MendsUtf16WhoseLineEndsWereConvertedAsBytes)
{
    // A CR byte was put before every LF byte, as a byte-wise line-end conversion does.
    const std::string text = "A\r\nB \"\u0416\"\r\n\r\nC\n";
    std::string damaged;
    for (const char c : Utf16(text, 1200)) {
        if (c == '\n')
            damaged += '\r';
        damaged += c;
    }
    const DecodedScript d = DecodeScript("\xFF\xFE" + damaged);
    EXPECT_EQ(d.text, text);
    EXPECT_EQ(d.encoding, "UTF-16LE (BOM), line ends repaired");
}

TEST(ScriptDecoder, InvalidBytesBecomeReplacementCharacters)
{
    const DecodedScript d = DecodeScript("#pragma code_page(932)\nA \"\x82\xA0\x82\"\nB\n");
    EXPECT_EQ(d.text, "#pragma code_page(932)\nA \"\u3042\uFFFD\"\nB\n");
    EXPECT_EQ(DecodeScript("\xEF\xBB\xBF" "a\xFF" "b").text, "a\uFFFD" "b");
}

TEST(ScriptDecoder, EndOfFileMarkEndsTheText)
{
    EXPECT_EQ(DecodeScript("END\n\n\x1A").text, "END\n\n");
    EXPECT_EQ(DecodeScript("END\n\x1A\r\n").text, "END\n");
    EXPECT_EQ(DecodeScript("A \"\x1A\" B\n").text, "A \"\x1A\" B\n");  // only a trailing mark
}

TEST(ScriptDecoder, LoadScriptFileNamesTheFileAndTheCause)
{
    const fs::path dir = fs::temp_directory_path() / ("qln_decoder_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path file = dir / "cyr.rc";
    std::ofstream(file, std::ios::binary) << "#pragma code_page(1251)\n\"\xC6\"\n";

    DecodedScript d;
    std::string error;
    ASSERT_TRUE(LoadScriptFile(file, d, error)) << error;
    EXPECT_EQ(d.text, "#pragma code_page(1251)\n\"\u0416\"\n");

    const fs::path missing = dir / "missing.rc";
    EXPECT_FALSE(LoadScriptFile(missing, d, error));
    EXPECT_NE(error.find(missing.string()), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(ENOENT)), std::string::npos) << error;

    EXPECT_FALSE(LoadScriptFile(dir, d, error));
    EXPECT_NE(error.find(dir.string()), std::string::npos) << error;
    EXPECT_NE(error.find(std::strerror(EISDIR)), std::string::npos) << error;
    fs::remove_all(dir);
}

// --- Real scripts -----------------------------------------------------------------

fs::path CorpusDir()
{
    return fs::path(QLN_CORPUS_DIR);
}

#define SKIP_WITHOUT_CORPUS()                                                                 \
    if (!fs::is_directory(CorpusDir()))                                                       \
    GTEST_SKIP() << "corpus folder " << CorpusDir() << " is absent"

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool IsAscii(const std::string& s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// The translated scripts of windirstat decode to the texts of their UTF-8 twins
// (the twins hold a few more resources, so every translated line is looked up).
TEST(ScriptDecoderCorpus, TranslatedScriptsMatchTheirUtf8Twins)
{
    SKIP_WITHOUT_CORPUS();
    const fs::path root = CorpusDir() / "windirstat/windirstat";
    struct Case {
        std::string folder;
        int codePage;
    };
    const Case cases[] = {{"res/wdsr0405", 1250}, {"res/wdsr0419", 1251}, {"res/wdsr040e", 1250},
                          {"res/wdsr0415", 1250}, {"res/wdsr0407", 1252}, {"res/wdsr040c", 1252},
                          {".", 1252}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        DecodedScript eightBit, twin;
        std::string error;
        ASSERT_TRUE(LoadScriptFile(root / c.folder / "windirstat.rc", eightBit, error)) << error;
        ASSERT_TRUE(LoadScriptFile(root / c.folder / "windirstat-utf8.rc", twin, error)) << error;
        EXPECT_EQ(eightBit.codePage, c.codePage);
        EXPECT_EQ(twin.codePage, 65001);
        const std::vector<std::string> twinLines = Lines(twin.text);
        const std::set<std::string> known(twinLines.begin(), twinLines.end());
        int translated = 0;
        for (const std::string& line : Lines(eightBit.text)) {
            if (IsAscii(line))
                continue;
            ++translated;
            EXPECT_TRUE(known.count(line)) << line;
        }
        EXPECT_GT(translated, 0);
    }
}

// Every script of the samples decodes without a replacement character, and the
// bytes come back when the text is encoded in the code page it was read in.
TEST(ScriptDecoderCorpus, SampleScriptsDecodeAndEncodeBackToTheSameBytes)
{
    SKIP_WITHOUT_CORPUS();
    std::map<int, int> perCodePage;
    for (const auto& entry : fs::recursive_directory_iterator(CorpusDir() / "windows-classic-samples")) {
        std::string ext = entry.path().extension().string();
        for (char& ch : ext)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if (!entry.is_regular_file() || (ext != ".rc" && ext != ".rc2"))
            continue;
        SCOPED_TRACE(entry.path().string());
        std::string bytes = ReadBytes(entry.path());
        const DecodedScript d = DecodeScript(bytes);
        EXPECT_EQ(d.text.find('\0'), std::string::npos);
        ++perCodePage[d.codePage];
        // The Chinese scripts of one sample hold a copyright sign in CP1252, which
        // their own code page cannot read.
        if (entry.path().filename() == "chs_dictpad.rc" || entry.path().filename() == "cht_dictpad.rc") {
            EXPECT_EQ(d.codePage, entry.path().filename() == "chs_dictpad.rc" ? 936 : 950);
            const std::size_t bad = d.text.find("\uFFFD");
            EXPECT_NE(bad, std::string::npos);
            EXPECT_EQ(d.text.find("\uFFFD", bad + 1), std::string::npos);
            continue;
        }
        EXPECT_EQ(d.text.find("\uFFFD"), std::string::npos);
        if (d.encoding.find("repaired") != std::string::npos) {
            EXPECT_EQ(d.text.find("\u0A0D"), std::string::npos);
            continue;
        }
        if (d.encoding.find("BOM") != std::string::npos)
            bytes.erase(0, ByteOrderMark(d.codePage).empty() ? 3 : 2);
        else if (const auto mark = bytes.find('\x1A'); mark != std::string::npos)
            bytes.resize(mark);  // the end-of-file mark of old editors is dropped
        const EncodeResult back = EncodeFromUtf8(d.text, d.encoding == "UTF-8" ? 65001 : d.codePage);
        ASSERT_TRUE(back) << d.encoding << " offset " << back.offset;
        EXPECT_TRUE(back.bytes == bytes) << d.encoding;
    }
    EXPECT_GE(perCodePage[1200], 2);  // UTF-16 scripts with byte-order mark
    EXPECT_GE(perCodePage[932], 4);   // Japanese scripts in Shift-JIS, known by their LANGUAGE
    EXPECT_GE(perCodePage[1252], 400);
}

TEST(ScriptDecoderCorpus, JapaneseScriptsReadAsShiftJis)
{
    SKIP_WITHOUT_CORPUS();
    const fs::path dir = CorpusDir() / "windows-classic-samples/Samples/Win7Samples/winui/controls/custom/spincube";
    DecodedScript d;
    std::string error;
    ASSERT_TRUE(LoadScriptFile(dir / "SpinTest.Rc", d, error)) << error;
    EXPECT_EQ(d.codePage, 932);
    EXPECT_EQ(d.encoding, "CP932 (LANGUAGE)");
    EXPECT_NE(d.text.find("CAPTION \"SpinTest \u306E\u30D0\u30FC\u30B8\u30E7\u30F3\u60C5\u5831\""),
              std::string::npos);
}

}  // namespace
}  // namespace qln
