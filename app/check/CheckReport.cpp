#include "app/check/CheckReport.h"

#include "rcscript/Messages.h"

#include <algorithm>

namespace qln::checks {
namespace {

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string XmlText(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
            // XML 1.0 allows no other control characters than tab and line breaks.
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n' || c == '\r')
                out += c;
        }
    }
    return out;
}

// "IDD_ABOUT / Dialog Item / IDOK" for a finding's place.
std::string Place(const Finding& f)
{
    std::string place = f.resourceIdent.empty() ? std::string("-") : f.resourceIdent;
    place += " / " + f.itemType;
    if (!f.idText.empty())
        place += " / " + f.idText;
    return place;
}

std::string FindingLine(const std::string& language, const Finding& f)
{
    return language + ":" + std::to_string(f.lineIndex) + ": " + std::string(SeverityName(f.severity)) + " [" +
           f.check + "] " + Place(f) + ": " + f.message;
}

std::string TextReport(const Report& report)
{
    std::string out;
    for (const LanguageReport& lang : report.languages) {
        for (const Finding& f : lang.run.findings) {
            out += FindingLine(lang.language, f) + "\n";
            out += "    source:      \"" + f.sourceText + "\"\n";
            if (!f.translation.empty())
                out += "    translation: \"" + f.translation + "\"\n";
        }
        out += lang.language + ": " +
               msg::Format(msg::CheckSummary, {std::to_string(lang.run.findings.size()),
                                               std::to_string(lang.run.textsChecked)}) +
               "\n";
    }
    return out;
}

std::string JsonReport(const Report& report)
{
    std::string out = "{\n  \"database\": " + JsonString(report.database) + ",\n  \"maxSeverity\": " +
                      JsonString(SeverityName(report.maxSeverity)) + ",\n  \"languages\": [";
    for (std::size_t l = 0; l < report.languages.size(); ++l) {
        const LanguageReport& lang = report.languages[l];
        out += l ? ",\n" : "\n";
        out += "    {\"language\": " + JsonString(lang.language) +
               ", \"textsChecked\": " + std::to_string(lang.run.textsChecked) +
               ", \"failures\": " + std::to_string(report.failures(lang)) + ", \"findings\": [";
        for (std::size_t i = 0; i < lang.run.findings.size(); ++i) {
            const Finding& f = lang.run.findings[i];
            out += i ? ",\n" : "\n";
            out += "      {\"check\": " + JsonString(f.check) + ", \"severity\": " +
                   JsonString(SeverityName(f.severity)) + ", \"lineIndex\": " + std::to_string(f.lineIndex) +
                   ", \"resource\": " + JsonString(f.resourceIdent) + ", \"itemType\": " + JsonString(f.itemType) +
                   ", \"id\": " + JsonString(f.idText) + ", \"source\": " + JsonString(f.sourceText) +
                   ", \"translation\": " + JsonString(f.translation) + ", \"message\": " + JsonString(f.message) +
                   "}";
        }
        out += lang.run.findings.empty() ? "]}" : "\n    ]}";
    }
    out += report.languages.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

// One test suite per language and one test case per check; a case fails
// when it has findings above the threshold, and lists every finding.
std::string JunitReport(const Report& report)
{
    std::size_t tests = 0, failures = 0;
    for (const LanguageReport& lang : report.languages) {
        tests += report.checks.size();
        for (const std::string& check : report.checks)
            failures += std::any_of(lang.run.findings.begin(), lang.run.findings.end(), [&](const Finding& f) {
                return f.check == check && f.severity > report.maxSeverity;
            });
    }
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<testsuites name=\"qln-check\" tests=\"" +
                      std::to_string(tests) + "\" failures=\"" + std::to_string(failures) + "\">\n";
    for (const LanguageReport& lang : report.languages) {
        std::size_t suiteFailures = 0;
        std::string cases;
        for (const std::string& check : report.checks) {
            std::string body;
            std::size_t above = 0;
            for (const Finding& f : lang.run.findings) {
                if (f.check != check)
                    continue;
                body += FindingLine(lang.language, f) + "\n";
                above += f.severity > report.maxSeverity;
            }
            cases += "    <testcase classname=\"" + XmlText(report.database) + "." + XmlText(lang.language) +
                     "\" name=\"" + XmlText(check) + "\"";
            if (body.empty()) {
                cases += "/>\n";
                continue;
            }
            cases += ">\n";
            if (above) {
                ++suiteFailures;
                cases += "      <failure type=\"" + XmlText(check) + "\" message=\"" + std::to_string(above) +
                         " finding(s) above " + std::string(SeverityName(report.maxSeverity)) + "\"/>\n";
            }
            cases += "      <system-out>" + XmlText(body) + "</system-out>\n    </testcase>\n";
        }
        out += "  <testsuite name=\"" + XmlText(lang.language) + "\" tests=\"" +
               std::to_string(report.checks.size()) + "\" failures=\"" + std::to_string(suiteFailures) +
               "\" errors=\"0\">\n" + cases + "  </testsuite>\n";
    }
    return out + "</testsuites>\n";
}

}  // namespace

std::size_t Report::failures(const LanguageReport& language) const
{
    return static_cast<std::size_t>(std::count_if(language.run.findings.begin(), language.run.findings.end(),
                                                  [&](const Finding& f) { return f.severity > maxSeverity; }));
}

std::string FormatReport(const Report& report, ReportFormat format)
{
    switch (format) {
    case ReportFormat::Json: return JsonReport(report);
    case ReportFormat::Junit: return JunitReport(report);
    case ReportFormat::Text: break;
    }
    return TextReport(report);
}

}  // namespace qln::checks
