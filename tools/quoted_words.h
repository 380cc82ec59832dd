// Splits a line of a test table or scenario into words and double-quoted
// texts, with the escapes \r \n \t \" \\ and \xHH. A "\{...}" escape is
// handed to the caller, who knows what its tables mean by it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace brellin::testing {

// Appends what "\{INSIDE}" stands for to `word`; false with `error` set when
// it means nothing.
using BraceEscape = std::function<bool(std::string_view inside, std::string& word, std::string& error)>;

// "\{N:C}": the character C, N times.
inline bool RepeatedCharacter(std::string_view inside, std::string& word, std::string& error) {
    const std::size_t colon = inside.find(':');
    if (colon == std::string_view::npos || colon == 0) {
        error = "\\{N:C} expected";
        return false;
    }
    const auto count = static_cast<std::size_t>(std::stoi(std::string(inside.substr(0, colon))));
    word.append(count, colon + 1 < inside.size() ? inside[colon + 1] : ' ');
    return true;
}

inline bool SplitQuotedWords(const std::string& line, std::vector<std::string>& words,
                             std::string& error, const BraceEscape& brace = RepeatedCharacter) {
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        std::string word;
        if (line[i] != '"') {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
            words.push_back(word);
            continue;
        }
        ++i;
        bool closed = false;
        while (i < line.size()) {
            char c = line[i++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c != '\\') {
                word += c;
                continue;
            }
            if (i >= line.size()) {
                error = "escape at end of line";
                return false;
            }
            c = line[i++];
            switch (c) {
            case 'r': word += '\r'; break;
            case 'n': word += '\n'; break;
            case 't': word += '\t'; break;
            case '"': word += '"'; break;
            case '\\': word += '\\'; break;
            case 'x':
                if (i + 2 > line.size()) {
                    error = "short \\x escape";
                    return false;
                }
                word += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
                i += 2;
                break;
            case '{': {
                const std::size_t close = line.find('}', i);
                if (close == std::string::npos) {
                    error = "unclosed \\{";
                    return false;
                }
                if (!brace(std::string_view(line).substr(i, close - i), word, error)) return false;
                i = close + 1;
                break;
            }
            default:
                error = std::string("unknown escape \\") + c;
                return false;
            }
        }
        if (!closed) {
            error = "unclosed quote";
            return false;
        }
        words.push_back(word);
    }
    return true;
}

}  // namespace brellin::testing
