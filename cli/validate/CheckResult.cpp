#include "cli/validate/CheckResult.h"

#include <cstdlib>
#include <sstream>

namespace {

std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

const char* verdictWord(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass:
        return "PASS";
    case Verdict::Fail:
        return "FAIL";
    case Verdict::Skip:
        return "SKIP";
    }
    return "FAIL";
}

std::string serializeResult(const CheckResult& result) {
    std::ostringstream out;
    out << "verdict " << static_cast<int>(result.verdict) << '\n';
    out << "found " << oneLine(result.found) << '\n';
    for (const auto& [label, number] : result.figures)
        out << "figure " << oneLine(label) << '\t' << number << '\n';
    for (const std::string& line : result.reproduction)
        out << "call " << oneLine(line) << '\n';
    out << "end\n";
    return out.str();
}

CheckResult parseResult(const std::string& name, const std::string& text) {
    CheckResult result = CheckResult::fail(name, "the check ended without a result");
    std::istringstream in(text);
    std::string line;
    bool ended = false;
    while (std::getline(in, line)) {
        std::string word = line.substr(0, line.find(' '));
        std::string rest = line.size() > word.size() ? line.substr(word.size() + 1) : "";
        if (word == "verdict") {
            int verdict = std::atoi(rest.c_str());
            result.verdict = verdict == 0   ? Verdict::Pass
                             : verdict == 2 ? Verdict::Skip
                                            : Verdict::Fail;
        } else if (word == "found") {
            result.found = rest;
        } else if (word == "figure") {
            std::size_t tab = rest.find('\t');
            if (tab != std::string::npos)
                result.figure(rest.substr(0, tab), std::strtod(rest.c_str() + tab + 1, nullptr));
        } else if (word == "call") {
            result.reproduction.push_back(rest);
        } else if (word == "end") {
            ended = true;
        }
    }
    if (!ended)
        return CheckResult::fail(name, "the check ended without a complete result");
    return result;
}
