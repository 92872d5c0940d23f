#pragma once
// What the installation and deinstallation steps need from the user: the
// dialog shows and asks, the tests answer from a script.

#include <filesystem>
#include <optional>
#include <string>

namespace qln::setup {

class SetupUi {
public:
    virtual ~SetupUi() = default;

    virtual void ShowStatus(const std::string& text) = 0;
    virtual void ShowProgress(int done, int total) = 0;
    // A message box with OK.
    virtual void Inform(const std::string& text) = 0;
    // A Yes/No question; true for Yes.
    virtual bool Ask(const std::string& question) = 0;
    // Asks for the folder of installation medium `medium`, offering `folder`;
    // nothing when the user cancels. `file` is the missing file's name,
    // `index` its number (from 1) of `total`.
    virtual std::optional<std::filesystem::path> AskForMedium(int medium, const std::string& file, int index,
                                                              int total, const std::filesystem::path& folder) = 0;
    virtual void Beep() = 0;
    // Lets the window repaint between two files.
    virtual void KeepAlive() = 0;
};

}  // namespace qln::setup
