#pragma once
// A project database of format version 7, built in the old layout (languages
// as Language/SubLanguage, no per-language layouts) with something in every
// table the conversion carries over.

#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"
#include "temp_project.h"

#include <filesystem>

namespace qln::test {

// A column that no translation owns, with a name that needs quoting.
inline constexpr const char* kStrayColumn = "Old \"Notes\" [x]; DROP TABLE Project";

inline void MakeVersion7Database(const std::filesystem::path& path, int extraLines = 0)
{
    CopyTemplateTo(path);
    {
        sql::Database raw(path);
        ApplyVersion7Layout(raw);
    }
    CProjectDatabase p(path);
    sql::Transaction t(p.db());
    p.AppendLine(10, 1, 0, 70, "IDS_HELLO \"", "\"");
    p.AppendText(10, "Hello", false);
    p.AppendStringtableString(10, "IDS_HELLO");
    p.AppendLine(11, 2, 0, 70, "IDS_BYE \"", "\"");
    p.AppendText(11, "Bye", false);
    p.AppendStringtableString(11, "IDS_BYE");
    p.AppendLine(30, 3, 0, 13, "IDD_ABOUT DIALOG 0, 0, 100, 50", "");
    p.AppendDialog({30, 0, "IDD_ABOUT", 100, 50, std::nullopt, std::nullopt, 0, false});
    p.AppendLine(31, 4, 0, 21, "PUSHBUTTON \"", "\", IDOK, 5, 5, 40, 14");
    p.AppendText(31, "OK", false);
    DialogControlRecord button;
    button.lineIndex = 31;
    button.dlgLine = 30;
    button.nameId = "IDOK";
    button.className = "Button";
    button.x = 5;
    button.y = 5;
    button.cx = 40;
    button.cy = 14;
    p.AppendDialogControl(button);
    p.AppendLine(40, 5, 0, 9, "#include \"", "\"");
    p.AppendText(40, "resource.h", true);
    p.AppendIncludeFile(40, "resource.h", FileStamp{120, 0x1234, 0x4321});
    p.AppendLine(50, 6, 0, 94, "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US", "");
    p.AppendSourceLanguage(50, 9, 1, 1252, 0, "Arial");
    for (int i = 0; i < extraLines; ++i) {
        p.AppendLine(100 + i, 100 + i, 0, 70, "IDS_X \"", "\"");
        p.AppendText(100 + i, "Text " + std::to_string(i), false);
    }
    t.commit();

    // Display names with blanks and hyphens.
    AddLanguage(p, 9, 1, 1252);
    AddLanguage(p, 7, 3, 1250);
    p.SetTranslation(10, 9, 1, "Hello!", false);
    p.SetTranslation(10, 7, 3, "Servus", true);
    p.SetTranslation(31, 7, 3, "Jo", false);
    p.AppendBookmark(10, "first", "Text", 7, 3);
    p.AppendBookmark(31, "second", "Dialog", 9, 1);
    p.SetSetting("WIDTH_ID_COLUMN", 0, 0, std::nullopt, 120);
    p.SetOption("BitmapEdit", false);
    p.db().resetCached();
    p.db().exec(std::string("ALTER TABLE ResourceText ADD COLUMN ") + sql::QuoteIdentifier(kStrayColumn) + " MEMO TEXT");
    p.db().exec(std::string("UPDATE ResourceText SET ") + sql::QuoteIdentifier(kStrayColumn) + " = 'kept' WHERE LineIndex = 11");
    p.SetProjectFile("C:\\Work\\App.rc", FileStamp{999, 0x2000, 0x3000}, 7);
    p.SetStatus(2);
}

}  // namespace qln::test
