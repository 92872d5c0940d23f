// Every folder under data/golden holds input.rc and expected.txt, the rcdump
// output for it. Adding a case is adding a folder. Set QLN_UPDATE_GOLDEN=1 to
// rewrite the expected files from the current parser (then check them by eye).

#include "rcscript/parse_support.h"

#include "rcscript/RcDump.h"
#include "rcscript/ScriptDecoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qln {
namespace {

namespace fs = std::filesystem;

TEST(Golden, DumpsMatchExpectedOutput)
{
    const fs::path root = fs::path(QLN_TEST_DATA_DIR) / "golden";
    const char* update = std::getenv("QLN_UPDATE_GOLDEN");
    const bool rewrite = update && std::string(update) == "1";
    int cases = 0;
    for (const auto& dir : fs::directory_iterator(root)) {
        if (!dir.is_directory())
            continue;
        ++cases;
        const std::string name = dir.path().filename().string();
        SCOPED_TRACE(name);
        DecodedScript script;
        std::string error;
        ASSERT_TRUE(LoadScriptFile(dir.path() / "input.rc", script, error)) << error;

        for (const CRcStatement& st : test::ParseAll(script.text))
            if (st.error == 0)
                test::ExpectSoundStatement(st, script.text, name);

        std::string dump;
        DumpScript(script.text, script.encoding, dump);
        const fs::path expectedPath = dir.path() / "expected.txt";
        if (rewrite) {
            std::ofstream(expectedPath, std::ios::binary) << dump;
            continue;
        }
        ASSERT_TRUE(fs::exists(expectedPath)) << "run with QLN_UPDATE_GOLDEN=1 to create it";
        EXPECT_EQ(dump, test::ReadFileBytes(expectedPath));
    }
    EXPECT_GT(cases, 0) << "no golden cases under " << root;
}

}  // namespace
}  // namespace qln
