// Reads the first worksheet of an .xlsx workbook: the zip archive is opened
// with minizip and each part is streamed through expat. Handles shared
// strings, inline strings, formula results, cells with or without their
// reference, and gaps between rows and cells.

#include "project/SheetFile.h"
#include "rcscript/CodePages.h"

#include <expat.h>
#include <minizip/unzip.h>

#include <charconv>
#include <memory>

namespace qln {

namespace fs = std::filesystem;

namespace {

// Sheets larger than this are refused (the limits of the format itself).
constexpr std::size_t kMaxRows = 1048576;
constexpr std::size_t kMaxColumns = 16384;

struct UnzipCloser {
    void operator()(void* zip) const { unzClose(zip); }
};
struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

// Receives the events of one XML part. Names come without namespace prefix.
class XmlHandler {
public:
    virtual ~XmlHandler() = default;
    virtual void start(std::string_view name, const XML_Char** attributes) = 0;
    virtual void end(std::string_view name) = 0;
    virtual void text(std::string_view) {}
};

std::string_view LocalName(const XML_Char* name)
{
    std::string_view n(name);
    const auto colon = n.rfind(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

// The value of an attribute by local name ("id" finds "r:id"); null if absent.
const XML_Char* Attribute(const XML_Char** attributes, std::string_view name)
{
    for (int i = 0; attributes[i]; i += 2)
        if (LocalName(attributes[i]) == name)
            return attributes[i + 1];
    return nullptr;
}

// What expat's callbacks reach: a handler's exception must not unwind
// through expat, so it is kept and the parser stopped.
struct ParseContext {
    XmlHandler* handler;
    XML_Parser parser;
    std::string error;

    template <typename Call>
    void guard(Call&& call)
    {
        try {
            call();
        } catch (const std::exception& e) {
            if (error.empty())
                error = e.what();
            XML_StopParser(parser, XML_FALSE);
        }
    }
};

class ZipArchive {
public:
    explicit ZipArchive(const fs::path& file) : zip_(unzOpen64(file.c_str()))
    {
        if (!zip_)
            throw SheetReadError("not an .xlsx workbook (no zip archive)");
    }

    bool has(const std::string& part) { return unzLocateFile(zip_.get(), part.c_str(), 1) == UNZ_OK; }

    // Streams one part through expat into the handler.
    void parse(const std::string& part, XmlHandler& handler)
    {
        if (!has(part) || unzOpenCurrentFile(zip_.get()) != UNZ_OK)
            throw SheetReadError("the workbook has no part " + part);
        std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree> parser(XML_ParserCreate(nullptr));
        if (!parser) {
            unzCloseCurrentFile(zip_.get());
            throw SheetReadError("out of memory");
        }
        ParseContext context{&handler, parser.get(), {}};
        XML_SetUserData(parser.get(), &context);
        XML_SetElementHandler(
            parser.get(),
            [](void* user, const XML_Char* name, const XML_Char** attributes) {
                auto* c = static_cast<ParseContext*>(user);
                c->guard([&] { c->handler->start(LocalName(name), attributes); });
            },
            [](void* user, const XML_Char* name) {
                auto* c = static_cast<ParseContext*>(user);
                c->guard([&] { c->handler->end(LocalName(name)); });
            });
        XML_SetCharacterDataHandler(parser.get(), [](void* user, const XML_Char* s, int len) {
            auto* c = static_cast<ParseContext*>(user);
            c->guard([&] { c->handler->text(std::string_view(s, static_cast<std::size_t>(len))); });
        });
        std::string failure;
        char buffer[1 << 16];
        for (;;) {
            const int n = unzReadCurrentFile(zip_.get(), buffer, sizeof buffer);
            if (n < 0) {
                failure = "the part " + part + " is damaged";
                break;
            }
            if (XML_Parse(parser.get(), buffer, n, n == 0) == XML_STATUS_ERROR) {
                failure = !context.error.empty() ? context.error : "the part " + part + " is not well-formed XML (line " +
                          std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                          "): " + XML_ErrorString(XML_GetErrorCode(parser.get()));
                break;
            }
            if (n == 0)
                break;
        }
        if (unzCloseCurrentFile(zip_.get()) == UNZ_CRCERROR && failure.empty())
            failure = "the part " + part + " fails its checksum";
        if (!failure.empty())
            throw SheetReadError(failure);
    }

private:
    std::unique_ptr<void, UnzipCloser> zip_;
};

// Text with the format's escapes of characters XML cannot carry (_xHHHH_) decoded.
std::string DecodeEscapes(std::string s)
{
    if (s.find("_x") == std::string::npos)
        return s;
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        unsigned code = 0;
        if (s.compare(i, 2, "_x") == 0 && i + 7 <= s.size() && s[i + 6] == '_' &&
            std::from_chars(s.data() + i + 2, s.data() + i + 6, code, 16).ptr == s.data() + i + 6) {
            AppendUtf8(static_cast<char32_t>(code), out);
            i += 6;
            continue;
        }
        out += s[i];
    }
    return out;
}

// The first sheet's relationship id in workbook.xml.
class WorkbookHandler final : public XmlHandler {
public:
    std::string sheetRelation;
    void start(std::string_view name, const XML_Char** attributes) override
    {
        if (name == "sheet" && sheetRelation.empty())
            if (const XML_Char* id = Attribute(attributes, "id"))
                sheetRelation = id;
    }
    void end(std::string_view) override {}
};

// The target of one relationship in workbook.xml.rels.
class RelationsHandler final : public XmlHandler {
public:
    explicit RelationsHandler(std::string id) : id_(std::move(id)) {}
    std::string target;
    void start(std::string_view name, const XML_Char** attributes) override
    {
        const XML_Char* id = Attribute(attributes, "Id");
        const XML_Char* t = Attribute(attributes, "Target");
        if (name == "Relationship" && id && t && id_ == id)
            target = t;
    }
    void end(std::string_view) override {}

private:
    std::string id_;
};

// Collects the text of <t> elements, leaving out phonetic runs (<rPh>).
class StringText {
public:
    void start(std::string_view name)
    {
        if (name == "rPh")
            ++phonetic_;
        else if (name == "t")
            inText_ = true;
    }
    void end(std::string_view name)
    {
        if (name == "rPh")
            --phonetic_;
        else if (name == "t")
            inText_ = false;
    }
    void text(std::string_view s)
    {
        if (inText_ && phonetic_ == 0)
            value += s;
    }
    std::string value;

private:
    bool inText_ = false;
    int phonetic_ = 0;
};

class SharedStringsHandler final : public XmlHandler {
public:
    std::vector<std::string> strings;
    void start(std::string_view name, const XML_Char**) override
    {
        if (name == "si")
            text_.value.clear();
        text_.start(name);
    }
    void end(std::string_view name) override
    {
        text_.end(name);
        if (name == "si")
            strings.push_back(DecodeEscapes(std::move(text_.value)));
    }
    void text(std::string_view s) override { text_.text(s); }

private:
    StringText text_;
};

// Parses a cell reference ("AB12") into 0-based column and row.
bool ParseReference(std::string_view ref, std::size_t& column, std::size_t& row)
{
    std::size_t i = 0, col = 0;
    while (i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z' && i < 3)
        col = col * 26 + static_cast<std::size_t>(ref[i++] - 'A' + 1);
    std::size_t r = 0;
    const auto result = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
    if (col == 0 || r == 0 || result.ptr != ref.data() + ref.size())
        return false;
    column = col - 1;
    row = r - 1;
    return true;
}

class SheetHandler final : public XmlHandler {
public:
    SheetHandler(const std::vector<std::string>& shared, SheetGrid& grid) : shared_(shared), grid_(grid) {}

    void start(std::string_view name, const XML_Char** attributes) override
    {
        if (name == "row") {
            const XML_Char* r = Attribute(attributes, "r");
            std::size_t n = 0;
            if (r && std::from_chars(r, r + std::char_traits<char>::length(r), n).ec == std::errc{} && n > 0)
                row_ = n - 1;
            else
                row_ = nextRow_;
            nextRow_ = row_ + 1;
            column_ = 0;
        } else if (name == "c") {
            inCell_ = true;
            type_ = Attribute(attributes, "t") ? Attribute(attributes, "t") : "";
            value_.clear();
            inline_.value.clear();
            const XML_Char* ref = Attribute(attributes, "r");
            std::size_t refRow = row_;
            if (ref && ParseReference(ref, column_, refRow))
                row_ = refRow;
        } else if (inCell_ && name == "v") {
            inValue_ = true;
        } else if (inCell_) {
            inline_.start(name);
        }
    }

    void end(std::string_view name) override
    {
        if (name == "c") {
            store();
            inCell_ = false;
            ++column_;
        } else if (name == "v") {
            inValue_ = false;
        } else if (inCell_) {
            inline_.end(name);
        }
    }

    void text(std::string_view s) override
    {
        if (inValue_)
            value_ += s;
        else if (inCell_)
            inline_.text(s);
    }

private:
    void store()
    {
        std::string cell;
        if (type_ == "s") {
            std::size_t index = 0;
            if (std::from_chars(value_.data(), value_.data() + value_.size(), index).ec != std::errc{} ||
                index >= shared_.size())
                throw SheetReadError("a cell refers to a shared string that does not exist");
            cell = shared_[index];
        } else if (type_ == "inlineStr") {
            cell = DecodeEscapes(std::move(inline_.value));
        } else if (type_ == "b") {
            cell = value_ == "1" ? "TRUE" : "FALSE";
        } else {
            cell = DecodeEscapes(std::move(value_));
        }
        if (cell.empty())
            return;
        if (row_ >= kMaxRows || column_ >= kMaxColumns)
            throw SheetReadError("a cell lies outside the sheet's limits");
        if (grid_.rows.size() <= row_)
            grid_.rows.resize(row_ + 1);
        auto& cells = grid_.rows[row_];
        if (cells.size() <= column_)
            cells.resize(column_ + 1);
        cells[column_] = std::move(cell);
    }

    const std::vector<std::string>& shared_;
    SheetGrid& grid_;
    std::size_t row_ = 0, nextRow_ = 0, column_ = 0;
    bool inCell_ = false, inValue_ = false;
    std::string type_, value_;
    StringText inline_;
};

// Path of the first worksheet's part inside the archive.
std::string FirstSheetPart(ZipArchive& zip)
{
    const std::string fallback = "xl/worksheets/sheet1.xml";
    WorkbookHandler workbook;
    zip.parse("xl/workbook.xml", workbook);
    if (workbook.sheetRelation.empty() || !zip.has("xl/_rels/workbook.xml.rels"))
        return fallback;
    RelationsHandler relations(workbook.sheetRelation);
    zip.parse("xl/_rels/workbook.xml.rels", relations);
    if (relations.target.empty())
        return fallback;
    if (relations.target.front() == '/')
        return relations.target.substr(1);
    return "xl/" + relations.target;
}

}  // namespace

SheetGrid ReadXlsx(const fs::path& file)
{
    ZipArchive zip(file);
    const std::string sheet = FirstSheetPart(zip);
    SharedStringsHandler shared;
    if (zip.has("xl/sharedStrings.xml"))
        zip.parse("xl/sharedStrings.xml", shared);
    SheetGrid grid;
    SheetHandler handler(shared.strings, grid);
    zip.parse(sheet, handler);
    return grid;
}

}  // namespace qln
