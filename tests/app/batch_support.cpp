#include "app/batch_support.h"

#include "projectdb/Sql.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace qln::test {

namespace fs = std::filesystem;

RunResult RunQln(const fs::path& dir, const std::vector<std::string>& args)
{
    RunResult result;
    const fs::path outFile = fs::temp_directory_path() / ("qln-out-" + std::to_string(::getpid()));
    const fs::path errFile = fs::temp_directory_path() / ("qln-err-" + std::to_string(::getpid()));
    std::vector<std::string> argv0{QLN40_PATH};
    argv0.insert(argv0.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : argv0)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid == 0) {
        const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out < 0 || err < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 || ::chdir(dir.c_str()) != 0)
            ::_exit(127);
        // Batch runs are headless: without batch switches no window may open.
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            ::unsetenv(name);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    result.out = ReadText(outFile);
    result.err = ReadText(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return result;
}

DemoCopy::DemoCopy()
{
    fs::copy(fs::path(QLN_SOURCE_DIR) / "examples" / "demo", path(), fs::copy_options::recursive);
}

RunResult DemoCopy::Run(const std::vector<std::string>& args, int exitCode)
{
    RunResult result = RunQln(path(), args);
    std::string line;
    for (const std::string& a : args)
        line += " " + a;
    EXPECT_EQ(result.exitCode, exitCode) << "qln40" << line << "\nstdout:\n" << result.out << "stderr:\n"
                                         << result.err;
    return result;
}

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteText(const fs::path& file, const std::string& text)
{
    std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
}

std::map<std::string, std::string> Snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), dir).string()] = ReadText(entry.path());
    return files;
}

std::string QueryValue(const fs::path& database, const std::string& query)
{
    sql::Database db(database, sql::Database::Mode::ReadOnly);
    sql::Statement st = db.prepare(query);
    return st.step() ? st.columnText(0) : std::string();
}

void Execute(const fs::path& database, const std::string& sqlText)
{
    sql::Database db(database);
    db.exec(sqlText);
}

}  // namespace qln::test
