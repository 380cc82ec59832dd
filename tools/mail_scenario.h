// The language of the mail case folders (scenario.txt), read the same way by
// the native runner and by the test host under Wine, and the quoting of the
// output lines both print.
#pragma once

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "fake_dialog.h"

namespace brellin::scenario {

class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Line {
    int number = 0;
    bool indented = false;
    std::vector<std::string> words;
};

// One line of the scenario with the dialog actions indented below it.
struct Step {
    Line line;
    std::vector<fake::DialogAction> actions;
};

struct Scenario {
    // The install folder as the platform reports it; "location" changes it.
    std::string location = "C:\\Program Files\\Brellin";
    // "drive" lines: drive path ("N:") and scripting drive type.
    std::map<std::string, int> drives;
    // Every line but "location" and "drive", in order.
    std::vector<Step> steps;
};

// Throws ScenarioError, naming the line, on anything it cannot read.
Scenario ReadScenario(const std::filesystem::path& file);

const std::string& Argument(const Line& line, std::size_t index);
int Number(const Line& line, std::size_t index, int low, int high);
[[noreturn]] void Fail(const Line& line, const std::string& what);

// A text as the output lines show it: in double quotes, with \r \n \" \\.
std::string Quoted(const std::string& text);
// List entries joined by "|".
std::string Joined(const std::vector<std::string>& items);

}  // namespace brellin::scenario
