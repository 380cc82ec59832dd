#include "mail_scenario.h"

#include <fstream>

namespace brellin::scenario {
namespace {

using fake::DialogAction;

std::vector<std::string> Tokenize(const std::string& text, int number) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t' || text[i] == '\r') {
            ++i;
            continue;
        }
        std::string word;
        if (text[i] != '"') {
            while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r')
                word += text[i++];
        } else {
            ++i;
            for (;;) {
                if (i >= text.size())
                    throw ScenarioError("line " + std::to_string(number) + ": unclosed text");
                const char c = text[i++];
                if (c == '"') break;
                if (c != '\\') {
                    word += c;
                    continue;
                }
                if (i >= text.size())
                    throw ScenarioError("line " + std::to_string(number) + ": lone backslash");
                const char e = text[i++];
                if (e == 'r') word += '\r';
                else if (e == 'n') word += '\n';
                else if (e == '"' || e == '\\') word += e;
                else throw ScenarioError("line " + std::to_string(number) + ": unknown escape \\" + e);
            }
        }
        words.push_back(word);
    }
    return words;
}

DialogAction ReadAction(const Line& line) {
    const auto& w = line.words;
    const auto need = [&](std::size_t count) {
        if (w.size() != count) Fail(line, "wrong arguments to " + w[0]);
    };
    using Kind = DialogAction::Kind;
    if (w[0] == "pick") return need(2), DialogAction{Kind::Pick, w[1]};
    if (w[0] == "toggle") return need(2), DialogAction{Kind::Toggle, w[1]};
    if (w[0] == "check") return need(3), DialogAction{Kind::Check, "", Number(line, 1, 1, 5), Number(line, 2, 0, 1)};
    if (w[0] == "ok") return need(1), DialogAction{Kind::Ok, ""};
    if (w[0] == "cancel") return need(1), DialogAction{Kind::Cancel, ""};
    if (w[0] == "noheaders") return need(1), DialogAction{Kind::NoHeaders, ""};
    if (w[0] == "close") return need(1), DialogAction{Kind::Close, ""};
    Fail(line, "unknown dialog action " + w[0]);
}

}  // namespace

void Fail(const Line& line, const std::string& what) {
    throw ScenarioError("line " + std::to_string(line.number) + ": " + what);
}

const std::string& Argument(const Line& line, std::size_t index) {
    if (index >= line.words.size()) Fail(line, "missing argument");
    return line.words[index];
}

int Number(const Line& line, std::size_t index, int low, int high) {
    const std::string& word = Argument(line, index);
    try {
        std::size_t used = 0;
        const int value = std::stoi(word, &used);
        if (used == word.size() && value >= low && value <= high) return value;
    } catch (const std::exception&) {
    }
    Fail(line, "bad number " + word);
}

Scenario ReadScenario(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw ScenarioError("cannot read " + file.string());
    std::vector<Line> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        const auto start = text.find_first_not_of(" \t\r");
        if (start == std::string::npos || text[start] == '#') continue;
        lines.push_back(Line{number, start > 0, Tokenize(text, number)});
    }

    Scenario scenario;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        if (line.indented) Fail(line, "dialog action without send");
        Step step{line, {}};
        while (i + 1 < lines.size() && lines[i + 1].indented) step.actions.push_back(ReadAction(lines[++i]));
        const std::string& verb = line.words[0];
        if (!step.actions.empty() && verb != "send") Fail(line, "dialog actions after " + verb);
        // Where the add-in lies and which drives there are hold from the start.
        if (verb == "location") scenario.location = Argument(line, 1);
        else if (verb == "drive") scenario.drives[Argument(line, 1)] = Number(line, 2, 1, 5);
        else scenario.steps.push_back(std::move(step));
    }
    return scenario;
}

std::string Quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '"') out += "\\\"";
        else if (c == '\\') out += "\\\\";
        else out += c;
    }
    return out + "\"";
}

std::string Joined(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& item : items) out += (out.empty() ? "" : "|") + item;
    return out;
}

}  // namespace brellin::scenario
