// qln-check: checks the translations of a project database and prints what
// it finds, so that a build can fail on broken translations; with --pseudo it
// fills the empty translations of a language with a pseudo-translation.

#include "app/BatchLog.h"
#include "app/BatchSupport.h"
#include "app/check/CheckReport.h"
#include "project/PseudoTranslation.h"
#include "projectdb/ProjectDatabase.h"
#include "projectdb/ProjectFileLock.h"
#include "projectdb/Translations.h"
#include "rcscript/Messages.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace qln;
using namespace qln::checks;

constexpr int kExitClean = 0, kExitFindings = 1, kExitError = 2;

struct Arguments {
    bool pseudo = false;
    std::string database;
    std::vector<std::string> languages;
    std::vector<std::string> checks;
    ReportFormat format = ReportFormat::Text;
    Severity maxSeverity = Severity::Warning;
    PseudoOptions pseudoOptions;
};

int Usage(const char* program)
{
    std::string names;
    for (std::string_view name : CheckNames())
        names += (names.empty() ? "" : ",") + std::string(name);
    std::cerr << msg::Format(msg::CheckUsage, {program, names}) << '\n';
    return kExitError;
}

std::vector<std::string> SplitList(std::string_view text)
{
    std::vector<std::string> items;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        if (!item.empty())
            items.emplace_back(item);
        text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    }
    return items;
}

// Reads the arguments; an error message on failure.
std::optional<std::string> Parse(int argc, char** argv, Arguments& args)
{
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--pseudo") {
            args.pseudo = true;
        } else if (a == "--as-translated") {
            args.pseudoOptions.asTranslated = true;
        } else if ((a == "--checks" || a == "--format" || a == "--max-severity" || a == "--expand") && !hasValue) {
            return std::string();
        } else if (a == "--checks") {
            args.checks = SplitList(argv[++i]);
            for (const std::string& name : args.checks)
                if (!IsCheckName(name))
                    return msg::Format(msg::CheckUnknownCheck, {name});
        } else if (a == "--format") {
            const std::string f = argv[++i];
            if (f == "text")
                args.format = ReportFormat::Text;
            else if (f == "json")
                args.format = ReportFormat::Json;
            else if (f == "junit")
                args.format = ReportFormat::Junit;
            else
                return msg::Format(msg::CheckUnknownFormat, {f});
        } else if (a == "--max-severity") {
            const std::string s = argv[++i];
            const auto severity = ParseSeverity(s);
            if (!severity)
                return msg::Format(msg::CheckUnknownSeverity, {s});
            args.maxSeverity = *severity;
        } else if (a == "--expand") {
            const std::string e = argv[++i];
            int value = -1;
            const auto [end, ec] = std::from_chars(e.data(), e.data() + e.size(), value);
            if (ec != std::errc{} || end != e.data() + e.size() || value < 0 || value > 300)
                return msg::Format(msg::CheckBadExpand, {e});
            args.pseudoOptions.expandPercent = value;
        } else if (a.starts_with("--")) {
            return msg::Format(msg::CheckUnknownCheck, {a});
        } else {
            positional.push_back(a);
        }
    }
    if (positional.empty() || (args.pseudo && positional.size() != 2))
        return std::string();
    args.database = positional.front();
    args.languages.assign(positional.begin() + 1, positional.end());
    return std::nullopt;
}

// The display names of the languages asked for, or of every translation.
std::optional<std::vector<std::string>> ResolveLanguages(CProjectDatabase& project, const Arguments& args,
                                                         BatchLog& log)
{
    std::vector<std::string> names;
    if (args.languages.empty()) {
        for (const LanguagePair& pair : ListLanguages(project))
            names.push_back(LanguageName(pair));
        return names;
    }
    for (const std::string& text : args.languages) {
        const auto language = ParseLanguageParameter(text);
        if (!language) {
            LogInvalidLanguage(log, text);
            return std::nullopt;
        }
        if (!HasLanguageColumn(project, language->primary, language->sub)) {
            log.Error(msg::Format(msg::CheckLanguageNotInProject, {args.database, LanguageName(*language)}));
            return std::nullopt;
        }
        names.push_back(LanguageName(*language));
    }
    return names;
}

int RunPseudo(CProjectDatabase& project, const std::string& language, const Arguments& args, BatchLog& log)
{
    const PseudoResult result = PseudoTranslate(project, language, args.pseudoOptions);
    log.Info(msg::Format(msg::PseudoSummary, {std::to_string(result.filled), language, std::to_string(result.kept)}));
    return kExitClean;
}

int RunChecks(CProjectDatabase& project, const std::vector<std::string>& languages, const Arguments& args)
{
    Report report;
    report.database = args.database;
    report.maxSeverity = args.maxSeverity;
    for (std::string_view name : CheckNames())
        if (args.checks.empty() || std::find(args.checks.begin(), args.checks.end(), name) != args.checks.end())
            report.checks.emplace_back(name);
    CheckOptions options;
    options.checks = report.checks;
    std::size_t failures = 0;
    for (const std::string& language : languages) {
        report.languages.push_back({language, CheckTranslation(project, language, options)});
        failures += report.failures(report.languages.back());
    }
    std::fputs(FormatReport(report, args.format).c_str(), stdout);
    return failures ? kExitFindings : kExitClean;
}

}  // namespace

int main(int argc, char** argv)
{
    Arguments args;
    if (const auto error = Parse(argc, argv, args)) {
        if (!error->empty())
            std::cerr << *error << '\n';
        return Usage(argv[0]);
    }
    BatchLog log;
    try {
        // Checking shares the project with other readers; filling translations holds it alone.
        const ProjectFileLock lock =
            ProjectFileLock::Take(args.database, args.pseudo ? LockMode::Exclusive : LockMode::Shared);
        if (lock.status() == LockStatus::InUse) {
            log.Error(DatabaseInUseMessage(args.database));
            return kExitError;
        }
        OpenedProject opened = OpenBatchProject(log, args.database, args.pseudo ? OpenMode::Change : OpenMode::Read);
        if (!opened.database)
            return kExitError;
        const auto languages = ResolveLanguages(*opened.database, args, log);
        if (!languages)
            return kExitError;
        if (args.pseudo)
            return RunPseudo(*opened.database, languages->front(), args, log);
        return RunChecks(*opened.database, *languages, args);
    } catch (const sql::Error& e) {
        log.Error(DatabaseErrorMessage(e));
    } catch (const std::exception& e) {
        log.Error(e.what());
    }
    return kExitError;
}
