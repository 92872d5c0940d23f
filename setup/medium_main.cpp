// qln40-medium: builds the installation medium's compressed files (the
// setup program itself is copied beside them by scripts/make-media.sh).
#include "setup/MediumBuilder.h"
#include "setup/SetupMessages.h"

#include "rcscript/Messages.h"

#include <iostream>
#include <string_view>

int main(int argc, char** argv)
{
    namespace setup = qln::setup;
    setup::MediumSources sources;
    std::filesystem::path output;
    bool wrongArguments = false;
    for (int i = 1; i < argc && !wrongArguments; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--build" && hasValue)
            sources.build = argv[++i];
        else if (arg == "--source" && hasValue)
            sources.source = argv[++i];
        else if (arg == "--demo" && hasValue)
            sources.demo = argv[++i];
        else if (output.empty() && !arg.starts_with("-"))
            output = arg;
        else
            wrongArguments = true;
    }
    if (wrongArguments || output.empty() || sources.build.empty() || sources.source.empty() || sources.demo.empty()) {
        std::cerr << setup::msg::MediumUsage << '\n';
        return 3;
    }
    const setup::MediumResult result = setup::BuildMedium(sources, output);
    if (result.error) {
        std::cerr << *result.error << '\n';
        return 2;
    }
    std::cout << qln::msg::Format(setup::msg::MediumWritten, {std::to_string(result.files), output.string()}) << '\n';
    return 0;
}
