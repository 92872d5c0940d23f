#pragma once
// Printing the findings of qln-check as text, JSON or JUnit XML. Every
// format lists the findings in the order the checks return them (script
// order), so two runs over the same project print the same bytes.

#include "project/TranslationChecks.h"

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace qln::checks {

enum class ReportFormat { Text, Json, Junit };

struct LanguageReport {
    std::string language;
    CheckRun run;
};

struct Report {
    std::string database;
    std::vector<std::string> checks;  // the checks that ran, in CheckNames() order
    Severity maxSeverity = Severity::Warning;
    std::vector<LanguageReport> languages;

    // Findings of a language more severe than maxSeverity.
    std::size_t failures(const LanguageReport& language) const;
};

std::string FormatReport(const Report& report, ReportFormat format);

}  // namespace qln::checks
