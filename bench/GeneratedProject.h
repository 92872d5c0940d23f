#pragma once
// A project database built from a generated script, for the benchmarks that
// measure what comes after the build.

#include "BenchSupport.h"
#include "project/ProjectBuild.h"
#include "projectdb/Lifecycle.h"
#include "projectdb/ProjectDatabase.h"

#include <cstdio>
#include <filesystem>
#include <memory>

namespace qln::bench {

// Writes `big.rc` into `dir` and builds `big_rc.mdb` from it; nothing (with a
// message on standard error) when the build fails.
inline std::unique_ptr<CProjectDatabase> BuildGeneratedProject(const std::filesystem::path& dir,
                                                               const ScriptOptions& options)
{
    const std::filesystem::path script = dir / "big.rc";
    const std::filesystem::path database = dir / "big_rc.mdb";
    WriteFile(script, GenerateScript(options).text);
    std::filesystem::copy_file(DefaultTemplatePath(), database, std::filesystem::copy_options::overwrite_existing);
    auto project = std::make_unique<CProjectDatabase>(database);
    BuildReport report;
    if (BuildFromScript(script, *project, NoProgress(), &report) != 0) {
        std::fprintf(stderr, "build failed: %s\n", report.message.c_str());
        return nullptr;
    }
    return project;
}

}  // namespace qln::bench
