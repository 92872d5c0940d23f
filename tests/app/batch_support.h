#pragma once
// Running the real qln40 as a child process in a copy of the demo project,
// and reading what it left behind.

#include "projectdb/db_fixture.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace qln::test {

struct RunResult {
    int exitCode = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// qln40 started with `args` in `dir`; Wait() (or destruction) waits for it.
class QlnProcess {
public:
    QlnProcess(const std::filesystem::path& dir, const std::vector<std::string>& args);
    // Any other program the same way.
    QlnProcess(const std::string& program, const std::filesystem::path& dir, const std::vector<std::string>& args);
    ~QlnProcess();
    QlnProcess(const QlnProcess&) = delete;
    QlnProcess& operator=(const QlnProcess&) = delete;
    RunResult Wait();

private:
    int pid_ = -1;
    std::filesystem::path outFile_;
    std::filesystem::path errFile_;
};

// Runs qln40 with `args` in `dir` and waits for it.
RunResult RunQln(const std::filesystem::path& dir, const std::vector<std::string>& args);
// Runs any program with `args` in `dir` and waits for it.
RunResult RunProgram(const std::string& program, const std::filesystem::path& dir,
                     const std::vector<std::string>& args);

// A temporary folder holding a copy of examples/demo.
class DemoCopy : public TempDir {
public:
    DemoCopy();
    // Runs qln40 here and checks that it ended with `exitCode`.
    RunResult Run(const std::vector<std::string>& args, int exitCode);
};

std::string ReadText(const std::filesystem::path& file);
void WriteText(const std::filesystem::path& file, const std::string& text);

// Every file below `dir` with its content, to show that a command left all alone.
std::map<std::string, std::string> Snapshot(const std::filesystem::path& dir);

// The first field of the first row of a query on a database file.
std::string QueryValue(const std::filesystem::path& database, const std::string& query);
void Execute(const std::filesystem::path& database, const std::string& sqlText);

}  // namespace qln::test
