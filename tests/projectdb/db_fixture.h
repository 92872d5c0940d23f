#pragma once
// Test support: temporary directories, fresh copies of the real template,
// and a small project stored through the record layer.

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Schema.h"
#include "projectdb/Sql.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace qln::test {

class TempDir {
public:
    TempDir()
    {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("qln-db-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

inline std::filesystem::path TemplatePath()
{
    return std::filesystem::path(QLN_BINARY_DIR) / "qlndb8.mdb";
}

// A new project database from the template, as creation does it.
inline std::filesystem::path CopyTemplate(const TempDir& dir, const std::string& name = "demo_rc.mdb")
{
    auto target = dir / name;
    std::filesystem::copy_file(TemplatePath(), target, std::filesystem::copy_options::overwrite_existing);
    return target;
}

// The same in the layout of format version 7.
inline std::filesystem::path CopyTemplateVersion7(const TempDir& dir, const std::string& name = "demo_rc.mdb")
{
    auto target = CopyTemplate(dir, name);
    sql::Database db(target);
    ApplyVersion7Layout(db);
    return target;
}

// A translation language: its Translations row and its two ResourceText
// columns, as adding a translation leaves them.
inline void AddTranslationColumns(sql::Database& db, const std::string& name, std::int32_t langId, bool langIdLayout = true)
{
    if (langIdLayout)
        db.cached("INSERT INTO Translations (Lang_Id, LanguageStr, CodePage) VALUES (?1, ?2, 1252)")
            .bind(1, langId).bind(2, name).run();
    else
        db.cached("INSERT INTO Translations (Language, SubLanguage, LanguageStr, CodePage) VALUES (?1, ?2, ?3, 1252)")
            .bind(1, PrimaryOf(langId)).bind(2, SubOf(langId)).bind(3, name).run();
    db.exec("ALTER TABLE ResourceText ADD COLUMN " + sql::QuoteIdentifier(name) + " MEMO TEXT");
    db.exec("ALTER TABLE ResourceText ADD COLUMN " + sql::QuoteIdentifier(name + "_Modified") +
            " BYTE INTEGER DEFAULT 0");
}

// Line indexes of the sample project. They fall as the script goes on, so
// that an order by line index and the script order differ.
namespace li {
inline constexpr std::int32_t Include = 60, Language = 59, Dialog = 58, Caption = 57, Hello = 56, Icon = 55,
                              Menu = 54, PopupFile = 53, Open = 52, PopupEdit = 51, Copy = 50, StrOne = 49,
                              StrTwo = 48, Logo = 47, Version = 46, Block = 45, Value = 44, AfxInclude = 43;
}
inline constexpr std::int32_t German = LangIdOf(7, 1);

// Stores a small script with one resource of each kind and a German translation.
inline void FillSample(CProjectDatabase& pdb)
{
    sql::Transaction t(pdb.db());
    int line = 0;
    auto addLine = [&](std::int32_t index, std::int32_t kind, const char* before, const char* text,
                       const char* behind) {
        pdb.AppendLine(index, ++line, 0, kind, before, behind);
        if (text)
            pdb.AppendText(index, text, kind == 9 || kind == 10);
    };
    addLine(li::Include, 9, "#include \"", "resource.h", "\"");
    addLine(li::Language, 94, "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN", nullptr, "");
    pdb.AppendSourceLanguage(li::Language, 7, 1, 1252, 0, "Arial");
    addLine(li::Dialog, 13, "IDD_ABOUT DIALOG 0, 0, 200, 100", nullptr, "");
    pdb.AppendDialog({.lineIndex = li::Dialog, .nameId = "IDD_ABOUT", .cx = 200, .cy = 100});
    if (pdb.UsesLangId())
        pdb.AppendDialog({.lineIndex = li::Dialog, .langId = German, .nameId = "IDD_ABOUT", .cx = 240, .cy = 100,
                          .cxPrev = 200, .cyPrev = 100, .flags = 1});
    addLine(li::Caption, 20, "CAPTION \"", "About", "\"");
    pdb.AppendDialogCaption(li::Caption, li::Dialog);
    addLine(li::Hello, 30, "LTEXT \"", "Hello", "\", IDC_HELLO, 5, 5, 50, 8");
    DialogControlRecord hello{.lineIndex = li::Hello, .dlgLine = li::Dialog, .nameId = "IDC_HELLO",
                              .className = "Static", .type = 1, .x = 5, .y = 5, .cx = 50, .cy = 8};
    pdb.AppendDialogControl(hello);
    if (pdb.UsesLangId()) {
        hello.langId = German;
        hello.cx = 70;
        pdb.AppendDialogControl(hello);
    }
    addLine(li::Icon, 31, "ICON IDI_APP, IDC_ICON, 5, 20, 20, 20", nullptr, "");
    pdb.AppendDialogControl({.lineIndex = li::Icon, .dlgLine = li::Dialog, .nameId = "IDC_ICON",
                             .className = "Static", .type = 2, .x = 5, .y = 20, .cx = 20, .cy = 20});
    addLine(li::Menu, 2, "IDR_MAIN MENU", nullptr, "");
    pdb.AppendMenuResource(li::Menu, "IDR_MAIN");
    addLine(li::PopupFile, 3, "POPUP \"", "&File", "\"");
    pdb.AppendMenuItem(li::PopupFile, li::Menu, 1, "");
    addLine(li::Open, 4, "MENUITEM \"", "&Open", "\", ID_FILE_OPEN");
    pdb.AppendMenuItem(li::Open, li::Menu, 2, "ID_FILE_OPEN");
    addLine(li::PopupEdit, 3, "POPUP \"", "&Edit", "\"");
    pdb.AppendMenuItem(li::PopupEdit, li::Menu, 1, "");
    addLine(li::Copy, 4, "MENUITEM \"", "&Copy", "\", ID_EDIT_COPY");
    pdb.AppendMenuItem(li::Copy, li::Menu, 2, "ID_EDIT_COPY");
    addLine(li::StrOne, 70, "IDS_ONE \"", "One", "\"");
    pdb.AppendStringtableString(li::StrOne, "IDS_ONE");
    addLine(li::StrTwo, 70, "IDS_TWO \"", "Two", "\"");
    pdb.AppendStringtableString(li::StrTwo, "IDS_TWO");
    addLine(li::Logo, 16, "IDB_LOGO BITMAP \"", "logo.bmp", "\"");
    pdb.AppendBitmap(li::Logo, "IDB_LOGO");
    addLine(li::Version, 80, "VS_VERSION_INFO VERSIONINFO", nullptr, "");
    pdb.AppendVersion(li::Version, "VS_VERSION_INFO");
    addLine(li::Block, 81, "BLOCK \"", "040704E4", "\"");
    pdb.AppendBlockHeader(li::Block, li::Version);
    addLine(li::Value, 82, "VALUE \"FileDescription\", \"", "Demo", "\"");
    pdb.AppendBlockValue(li::Value, li::Version, li::Block, "FileDescription");
    addLine(li::AfxInclude, 10, "#include \"", "afxres.rc", "\"");
    pdb.AppendIncludeFile(li::Include, "resource.h", FileStamp{10, 0, 0});
    AddTranslationColumns(pdb.db(), "German", German, pdb.UsesLangId());
    t.commit();
    pdb.InvalidateLayout();
}

}  // namespace qln::test
