#include "setup/setup_support.h"

#include "rcscript/Messages.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>

extern char** environ;

namespace qln::test {

namespace fs = std::filesystem;

fs::path BuiltMedium() { return fs::path(QLN_BINARY_DIR) / "medium"; }

TempHome::TempHome()
{
    dirs_.home = dir_.path() / "home";
    dirs_.configHome = dirs_.home / ".config";
    dirs_.dataHome = dirs_.home / ".local" / "share";
    fs::create_directories(dirs_.configHome);
    fs::create_directories(dirs_.dataHome);
}

setup::SetupEnvironment TempHome::Environment(const fs::path& medium) const { return {medium, dirs_}; }

fs::path TempHome::CopyMedium(const std::string& name) const
{
    const fs::path copy = dir_.path() / name;
    fs::copy(BuiltMedium(), copy, fs::copy_options::recursive);
    // keep the modification times, which the installed files take over
    for (const auto& entry : fs::recursive_directory_iterator(BuiltMedium()))
        if (entry.is_regular_file())
            fs::last_write_time(copy / fs::relative(entry.path(), BuiltMedium()), entry.last_write_time());
    return copy;
}

bool SetupTranscript::Answer(const std::string& question)
{
    asked.push_back(question);
    if (answers.empty())
        return defaultAnswer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

std::optional<fs::path> SetupTranscript::AnswerMedium(int medium)
{
    mediumRequests.push_back(medium);
    if (mediumAnswers.empty())
        return std::nullopt;
    auto answer = mediumAnswers.front();
    mediumAnswers.pop_front();
    return answer;
}

bool SetupTranscript::WasInformed(const std::string& text) const
{
    return std::find(informed.begin(), informed.end(), text) != informed.end();
}

bool SetupTranscript::WasAsked(const std::string& start) const
{
    return std::any_of(asked.begin(), asked.end(), [&](const std::string& q) { return q.starts_with(start); });
}

std::vector<std::string> ListTree(const fs::path& root)
{
    std::vector<std::string> files;
    if (!fs::exists(root))
        return files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        std::string name = fs::relative(entry.path(), root).string();
        if (entry.is_directory())
            name += '/';
        files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string ReadBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

bool SameBytes(const fs::path& a, const fs::path& b) { return ReadBytes(a) == ReadBytes(b); }

int RunProgram(const std::vector<std::string>& argv, std::string* output)
{
    std::array<int, 2> pipeEnds{};
    if (pipe(pipeEnds.data()) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string text;
    std::array<char, 4096> buffer{};
    for (ssize_t n; (n = read(pipeEnds[0], buffer.data(), buffer.size())) > 0;)
        text.append(buffer.data(), static_cast<std::size_t>(n));
    close(pipeEnds[0]);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    if (output)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool HaveDesktopFileValidate() { return RunProgram({"desktop-file-validate", "--help"}) == 0; }

}  // namespace qln::test
