// The bitmap view's file choice per language and the reading of bitmap files.

#include "build_support.h"

#include "BitmapFiles.h"

#include "project/BitmapView.h"
#include "project/TranslationStore.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/Translations.h"

#include <gtest/gtest.h>

namespace qln::test {
namespace {

namespace fs = std::filesystem;

TEST(BitmapView, ReadsHeadersAndRefusesWhatIsNoBitmap)
{
    TempDir dir;
    WriteBytes(dir / "info.bmp", BitmapFileBytes(3, 2));
    BitmapLoad info = LoadBitmapFile(dir / "info.bmp");
    ASSERT_EQ(info.status, BitmapStatus::Loaded);
    EXPECT_EQ(info.image->width, 3);
    EXPECT_EQ(info.image->height, 2);
    EXPECT_EQ(info.image->headerSize, 40u);
    EXPECT_EQ(info.image->file.size(), fs::file_size(dir / "info.bmp"));

    // The core header's fields are 16 bits wide; read as 32 bits, the width
    // would take the height into its upper half.
    WriteBytes(dir / "core.bmp", BitmapFileBytes(5, 4, true));
    BitmapLoad core = LoadBitmapFile(dir / "core.bmp");
    ASSERT_EQ(core.status, BitmapStatus::Loaded);
    EXPECT_EQ(core.image->width, 5);
    EXPECT_EQ(core.image->height, 4);
    EXPECT_EQ(core.image->headerSize, 12u);

    // A larger header (version 5, 124 bytes) has the 32-bit fields of the 40-byte one.
    std::vector<std::uint8_t> v5 = BitmapFileBytes(7, 6);
    v5[14] = 124;
    WriteBytes(dir / "v5.bmp", v5);
    BitmapLoad large = LoadBitmapFile(dir / "v5.bmp");
    ASSERT_EQ(large.status, BitmapStatus::Loaded);
    EXPECT_EQ(large.image->width, 7);
    EXPECT_EQ(large.image->height, 6);

    // Top-down (negative height) and a negative width: too large, no image.
    WriteBytes(dir / "topdown.bmp", BitmapFileBytes(3, -2));
    EXPECT_EQ(LoadBitmapFile(dir / "topdown.bmp").status, BitmapStatus::TooLarge);
    EXPECT_FALSE(LoadBitmapFile(dir / "topdown.bmp").image);
    WriteBytes(dir / "wide.bmp", BitmapFileBytes(-3, 2));
    EXPECT_EQ(LoadBitmapFile(dir / "wide.bmp").status, BitmapStatus::TooLarge);

    // No signature, a file shorter than its headers, a missing file, an unknown header.
    std::vector<std::uint8_t> unsigned_ = BitmapFileBytes(3, 2);
    unsigned_[0] = 'X';
    WriteBytes(dir / "nosig.bmp", unsigned_);
    EXPECT_EQ(LoadBitmapFile(dir / "nosig.bmp").status, BitmapStatus::NotFound);
    std::vector<std::uint8_t> shortFile = BitmapFileBytes(3, 2);
    shortFile.resize(20);
    WriteBytes(dir / "short.bmp", shortFile);
    EXPECT_EQ(LoadBitmapFile(dir / "short.bmp").status, BitmapStatus::NotFound);
    shortFile.resize(10);
    WriteBytes(dir / "tiny.bmp", shortFile);
    EXPECT_EQ(LoadBitmapFile(dir / "tiny.bmp").status, BitmapStatus::NotFound);
    EXPECT_EQ(LoadBitmapFile(dir / "missing.bmp").status, BitmapStatus::NotFound);
    std::vector<std::uint8_t> odd = BitmapFileBytes(3, 2);
    odd[14] = 20;
    WriteBytes(dir / "odd.bmp", odd);
    EXPECT_EQ(LoadBitmapFile(dir / "odd.bmp").status, BitmapStatus::NotFound);
}

TEST(BitmapView, FileNamePerLanguageAndFolder)
{
    TempDir dir;
    WriteBytes(dir / "res" / "logo.bmp", BitmapFileBytes(4, 4));
    WriteBytes(dir / "de" / "res" / "logo.bmp", BitmapFileBytes(8, 8));
    WriteBytes(dir / "de" / "res" / "Logo_DE.bmp", BitmapFileBytes(9, 9));
    BuildResult built = BuildText(dir,
                                  "IDB_LOGO BITMAP \"res\\\\logo.bmp\"\n"
                                  "IDB_OTHER BITMAP \"res/other.bmp\"\n");
    ASSERT_TRUE(built.ok()) << built.message;
    CProjectDatabase& project = *built.database;
    const fs::path script = dir / "app.rc";
    ASSERT_TRUE(AddLanguage(project, 7, 1, 1252));
    ASSERT_TRUE(AddLanguage(project, 12, 1, 1252));
    // German is written into de/, French beside the source.
    ASSERT_TRUE(SetTranslationFile(project, 7, 1, {"de/app_de.rc", {}}));

    std::vector<std::int32_t> lines;
    {
        sql::Statement st = project.db().prepare(
            "SELECT Bitmap.LineIndex FROM Bitmap JOIN ResFileLine ON ResFileLine.LineIndex = Bitmap.LineIndex "
            "ORDER BY ResFileLine.Line");
        while (st.step())
            lines.push_back(static_cast<std::int32_t>(st.columnInt64(0)));
    }
    ASSERT_EQ(lines.size(), 2u);

    auto source = ChooseBitmapFile(project, lines[0], -1, -1, script);
    ASSERT_TRUE(source);
    EXPECT_EQ(source->fileName, "res\\\\logo.bmp");
    EXPECT_EQ(source->fullPath, dir / "res" / "logo.bmp");
    EXPECT_EQ(LoadBitmapFile(source->fullPath).image->width, 4);

    // Untranslated: the source name, but in the translated script's folder.
    auto german = ChooseBitmapFile(project, lines[0], 7, 1, script);
    ASSERT_TRUE(german);
    EXPECT_FALSE(german->translated);
    EXPECT_EQ(german->fullPath, dir / "de" / "res" / "logo.bmp");
    EXPECT_EQ(LoadBitmapFile(german->fullPath).image->width, 8);
    // An empty translation shows the source bitmap; French has no file name yet.
    ASSERT_TRUE(StoreTranslation(project, lines[0], 12, 1, ""));
    auto french = ChooseBitmapFile(project, lines[0], 12, 1, script);
    ASSERT_TRUE(french);
    EXPECT_EQ(french->fullPath, dir / "res" / "logo.bmp");

    // A translated name, quoted and in other letter case than the file.
    ASSERT_TRUE(StoreTranslation(project, lines[0], 7, 1, "\"res\\\\logo_de.BMP\""));
    german = ChooseBitmapFile(project, lines[0], 7, 1, script);
    ASSERT_TRUE(german);
    EXPECT_TRUE(german->translated);
    EXPECT_EQ(german->fileName, "res\\\\logo_de.BMP");
    EXPECT_EQ(german->fullPath, dir / "de" / "res" / "Logo_DE.bmp");
    EXPECT_EQ(LoadBitmapFile(german->fullPath).image->width, 9);

    // A name that matches no file still gives the path it would have.
    auto other = ChooseBitmapFile(project, lines[1], -1, -1, script);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->fullPath, dir / "res" / "other.bmp");
    EXPECT_EQ(LoadBitmapFile(other->fullPath).status, BitmapStatus::NotFound);
    EXPECT_FALSE(ChooseBitmapFile(project, 999999, -1, -1, script));
}

}  // namespace
}  // namespace qln::test
