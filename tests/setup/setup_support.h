#pragma once
// Test support for the setup program: a temporary home folder with its XDG
// folders, the installation medium the build made (build/medium), answers to
// the setup program's questions, and file listings to compare.

#include "projectdb/db_fixture.h"
#include "setup/Installer.h"
#include "setup/SetupUi.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace qln::test {

// The medium built by the `medium` target.
std::filesystem::path BuiltMedium();

// A home folder with ~/.config and ~/.local/share, as on a desktop.
class TempHome {
public:
    TempHome();
    const std::filesystem::path& root() const { return dir_.path(); }
    const setup::XdgDirs& dirs() const { return dirs_; }
    std::filesystem::path home() const { return dirs_.home; }
    // The environment of a setup program that lies in `medium`.
    setup::SetupEnvironment Environment(const std::filesystem::path& medium = BuiltMedium()) const;
    // A copy of the built medium below root(), to change.
    std::filesystem::path CopyMedium(const std::string& name = "medium") const;

private:
    TempDir dir_;
    setup::XdgDirs dirs_;
};

// What the setup program said and asked, and the answers it gets.
struct SetupTranscript {
    std::vector<std::string> statuses;
    std::vector<std::string> informed;
    std::vector<std::string> asked;
    std::vector<int> mediumRequests;
    std::deque<bool> answers;  // then `defaultAnswer`
    bool defaultAnswer = false;
    std::deque<std::optional<std::filesystem::path>> mediumAnswers;  // then cancel
    int done = 0;
    int total = 0;

    bool Answer(const std::string& question);
    std::optional<std::filesystem::path> AnswerMedium(int medium);
    bool WasInformed(const std::string& text) const;
    bool WasAsked(const std::string& start) const;
};

class ScriptedUi : public setup::SetupUi {
public:
    SetupTranscript transcript;

    void ShowStatus(const std::string& text) override { transcript.statuses.push_back(text); }
    void ShowProgress(int done, int total) override
    {
        transcript.done = done;
        transcript.total = total;
    }
    void Inform(const std::string& text) override { transcript.informed.push_back(text); }
    bool Ask(const std::string& question) override { return transcript.Answer(question); }
    std::optional<std::filesystem::path> AskForMedium(int medium, const std::string&, int, int,
                                                      const std::filesystem::path&) override
    {
        return transcript.AnswerMedium(medium);
    }
    void Beep() override {}
    void KeepAlive() override {}
};

// Every file and folder below `root`, relative, sorted; folders end with '/'.
std::vector<std::string> ListTree(const std::filesystem::path& root);
std::string ReadBytes(const std::filesystem::path& file);
// Whether two files hold the same bytes (without printing megabytes when they differ).
bool SameBytes(const std::filesystem::path& a, const std::filesystem::path& b);
// Runs a program and returns its exit status (-1 when it could not run); output goes to `output`.
int RunProgram(const std::vector<std::string>& argv, std::string* output = nullptr);
// Whether desktop-file-validate is installed.
bool HaveDesktopFileValidate();

}  // namespace qln::test
