#pragma once
// The files a project reads: its database, its source script and every file
// the script includes. No command may write over one of them (a translated
// script, a log, an export); the writer and the batch commands ask here, and
// so can the workbench before it stores a translation file name.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qln {

class CProjectDatabase;

struct ProjectFile {
    std::filesystem::path path;
    // The script names the file in other letter case (or it does not exist
    // yet): the case-insensitive look-up of include names finds it under any
    // case of its name, so every such name means this file.
    bool anyCase = false;
};

class ProjectFileSet {
public:
    void Add(const std::filesystem::path& path, bool anyCase = false);
    // The file an include line names, resolved as the build resolves it
    // against the folder of the including file; the file it found, if any.
    const ProjectFile* AddInclude(const std::filesystem::path& baseDir, std::string_view writtenName);

    // Whether `candidate` is one of the files (see SameFile in FileChecks.h).
    bool Contains(const std::filesystem::path& candidate) const;
    const std::vector<ProjectFile>& files() const noexcept { return files_; }

private:
    std::vector<ProjectFile> files_;
};

// The database, the script and the files of its include lines as the
// database keeps them, the files the build followed among them too; nested
// include names are looked up beside each followed file as well.
ProjectFileSet FilesProjectReads(CProjectDatabase& project, const std::filesystem::path& script);

// Why `candidate` cannot be a translation's script: it is the source script
// or another file the project reads (the translation-file messages). Empty
// when it can be.
std::string TranslationFileRefusal(CProjectDatabase& project, const std::filesystem::path& script,
                                   const std::filesystem::path& candidate);

// A script that has no database yet: the script and the files its include
// lines name. A script that cannot be read names only itself.
ProjectFileSet FilesScriptReads(const std::filesystem::path& script);

}  // namespace qln
