#pragma once
// What one check of `varnex validate` found. A result crosses from the
// child process that ran the check to the validator as a few lines of
// text, so everything in it is plain text and numbers.

#include <string>
#include <utility>
#include <vector>

enum class Verdict { Pass, Fail, Skip };

struct CheckResult {
    std::string name;
    Verdict verdict = Verdict::Pass;
    std::string found; // one line: what the check saw
    std::vector<std::pair<std::string, double>> figures;
    // The calls that reproduce a failure, one per line, from a fresh instance.
    std::vector<std::string> reproduction;

    static CheckResult pass(std::string name, std::string found) {
        return {std::move(name), Verdict::Pass, std::move(found), {}, {}};
    }
    static CheckResult fail(std::string name, std::string found) {
        return {std::move(name), Verdict::Fail, std::move(found), {}, {}};
    }
    static CheckResult skip(std::string name, std::string found) {
        return {std::move(name), Verdict::Skip, std::move(found), {}, {}};
    }
    CheckResult& figure(std::string label, double number) {
        figures.emplace_back(std::move(label), number);
        return *this;
    }
};

// One line per field; texts have their line breaks replaced.
std::string serializeResult(const CheckResult& result);
// The result serializeResult wrote; a failure saying so when it is damaged.
CheckResult parseResult(const std::string& name, const std::string& text);

const char* verdictWord(Verdict verdict);
