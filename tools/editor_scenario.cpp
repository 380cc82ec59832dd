#include "editor_scenario.h"

#include <cstdio>
#include <map>
#include <sstream>

#include "quoted_words.h"

namespace brellin::scenario {
namespace {

// Verbs and how many arguments each takes (-1: one or more).
const std::map<std::string, int>& Verbs() {
    static const std::map<std::string, int> verbs = {
        {"deny-writes", 1},   {"start", 0},         {"select-header", 1}, {"select-sub", 1},
        {"add-header", -1},   {"add-sub", -1},      {"delete-header", 1}, {"delete-sub", 1},
        {"click-check", 1},   {"memo", 1},          {"save-disclaimer", 0}, {"done", 0},
        {"layout", 0},        {"resize", 2},
    };
    return verbs;
}

}  // namespace

bool Parse(const std::string& text, std::vector<Step>& steps, std::string& error) {
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> words;
        std::string problem;
        if (!testing::SplitQuotedWords(line, words, problem)) {
            error = "line " + std::to_string(number) + ": " + problem;
            return false;
        }
        if (words.empty() || words[0][0] == '#') continue;
        const auto verb = Verbs().find(words[0]);
        const int count = static_cast<int>(words.size()) - 1;
        if (verb == Verbs().end() || (verb->second < 0 ? count < 1 : count != verb->second)) {
            error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
        steps.push_back(Step{number, words[0], {words.begin() + 1, words.end()}});
    }
    return true;
}

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else out += ch;
    }
    return out + "\"";
}

std::string StateLine(const std::vector<std::string>& list1, int sel1,
                      const std::vector<std::string>& list2, int sel2, const bool (&checks)[4]) {
    const auto join = [](const std::vector<std::string>& items) {
        std::string joined;
        for (std::size_t i = 0; i < items.size(); ++i) joined += (i ? "|" : "") + items[i];
        return Quote(joined);
    };
    std::string line = "state list1=" + join(list1) + " sel1=" + std::to_string(sel1) +
                       " list2=" + join(list2) + " sel2=" + std::to_string(sel2) + " checks=";
    for (const bool checked : checks) line += checked ? '1' : '0';
    return line;
}

std::string FileLine(const std::string& name, const std::optional<std::string>& bytes,
                     bool isFolder) {
    if (isFolder) return "file " + name + " folder";
    if (!bytes) return "file " + name + " missing";
    return "file " + name + " " + Quote(*bytes);
}

std::string WithFolderPlaceholder(std::string text, const std::string& folder) {
    // The folder stands in the lines as it is and, inside quoted texts, with
    // its backslashes doubled.
    const std::string quoted = Quote(folder);
    for (const std::string& form : {folder, quoted.substr(1, quoted.size() - 2)})
        for (std::size_t at = text.find(form); !form.empty() && at != std::string::npos;
             at = text.find(form, at))
            text.replace(at, form.size(), "<folder>");
    return text;
}

bool IsCaseInput(const std::string& fileName) {
    return fileName != "scenario.txt" && fileName != "expected.txt" &&
           fileName != "native-only" && fileName != "wine-only";
}

}  // namespace brellin::scenario
