// Runs tables of profile operations through kernel32 and through our portable
// store side by side, and compares after every step the return value, every
// byte of the caller's buffer (with guard bytes after it) and the file's bytes.
//
// usage: profile_diff TABLE_OR_FOLDER...
//
// A table is a text file of lines, "#" starting a comment:
//   case "NAME"                  starts a case; both files are removed
//   file "BYTES"                 both files get these bytes (a new time stamp each)
//   nofile                       both files are removed
//   readonly 0|1                 clears or sets the read-only attribute of both
//   missing-folder 0|1           1: both files lie in a folder that does not exist
//   get "SECTION" "KEY" "DEFAULT" SIZE
//   keys "SECTION" SIZE          the section's key names
//   int "SECTION" "KEY" DEFAULT
//   write "SECTION" "KEY" "VALUE"
//   delete "SECTION" "KEY"
//   erase "SECTION"
//   refused-by-windows           the next write, delete or erase is one that
//                                Windows refuses but Wine, running as root,
//                                carries out: it runs through the portable
//                                store alone, which must refuse it, and the
//                                kernel32 copy stays as Windows leaves it
//   section "SECTION" "ENTRIES"  the section's keys replaced ("k=v\x00k=v\x00")
// Texts take the escapes \r \n \t \" \\ \xHH and \{N:C} (C repeated N times),
// and "\{keys:N}" in a file, which stands for the lines "1=v1" to "N=vN".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "portable_profile.h"
#include "quoted_words.h"
#include "win32/kernel32_profile.h"

namespace {

struct Step {
    int line = 0;
    std::string op;
    std::vector<std::string> args;
};

struct Case {
    std::string name;
    std::vector<Step> steps;
};

// Shows bytes readable on one line; a run of untouched guard bytes (0xAA)
// is shown as "<N untouched>".
std::string Visible(const std::string& bytes, std::size_t limit = 200) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        if (static_cast<unsigned char>(bytes[i]) == 0xAA) {
            std::size_t run = i;
            while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) == 0xAA) ++run;
            if (run - i > 3) {
                out += "<" + std::to_string(run - i) + " untouched>";
                i = run - 1;
                continue;
            }
        }
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r') out += "\\r";
        else if (c == '\n') out += "\\n";
        else if (c == '\\') out += "\\\\";
        else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else out += static_cast<char>(c);
    }
    if (bytes.size() > limit) out += "...(" + std::to_string(bytes.size()) + " bytes)";
    return out;
}

// What "\{...}" stands for in a table: "\{keys:N}" the lines "1=v1" to
// "N=vN", anything else "\{N:C}".
bool TableBrace(std::string_view inside, std::string& word, std::string& error) {
    if (inside.substr(0, 5) != "keys:") return brellin::testing::RepeatedCharacter(inside, word, error);
    const int count = std::stoi(std::string(inside.substr(5)));
    for (int n = 1; n <= count; ++n) word += std::to_string(n) + "=v" + std::to_string(n) + "\r\n";
    return true;
}

bool ParseTable(const std::string& path, std::vector<Case>& cases) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::printf("cannot read %s\n", path.c_str());
        return false;
    }
    static const struct { const char* op; std::size_t args; } kOps[] = {
        {"case", 1}, {"file", 1}, {"nofile", 0}, {"readonly", 1}, {"get", 4}, {"keys", 2},
        {"int", 3},  {"write", 3}, {"delete", 2}, {"erase", 1}, {"refused-by-windows", 0}, {"missing-folder", 1},
        {"section", 2},
    };
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> words;
        std::string error;
        if (!brellin::testing::SplitQuotedWords(line, words, error, TableBrace)) {
            std::printf("%s:%d: %s\n", path.c_str(), number, error.c_str());
            return false;
        }
        if (words.empty() || words[0][0] == '#') continue;
        bool known = false;
        for (const auto& op : kOps)
            if (words[0] == op.op) {
                known = true;
                if (words.size() - 1 != op.args) {
                    std::printf("%s:%d: %s takes %zu arguments\n", path.c_str(), number, op.op, op.args);
                    return false;
                }
            }
        if (!known) {
            std::printf("%s:%d: unknown step %s\n", path.c_str(), number, words[0].c_str());
            return false;
        }
        if (words[0] == "case") {
            cases.push_back(Case{words[1], {}});
            continue;
        }
        if (cases.empty()) cases.push_back(Case{"(unnamed)", {}});
        cases.back().steps.push_back(Step{number, words[0], {words.begin() + 1, words.end()}});
    }
    return true;
}

std::string ReadFileBytes(const std::string& path, bool& exists) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) return {};
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class Runner {
public:
    explicit Runner(std::string folder) : folder_(std::move(folder)) {}

    // Returns the number of steps that differed.
    int Run(const std::string& table, const Case& c) {
        failures_ = 0;
        table_ = table;
        case_ = c.name;
        missingFolder_ = false;
        Remove();
        for (const auto& step : c.steps) {
            line_ = step.line;
            Do(step);
            if (failures_ > 0) break;  // later steps would only repeat the difference
        }
        Remove();
        return failures_;
    }

private:
    std::string Folder() const { return missingFolder_ ? folder_ + "\\absent" : folder_; }
    std::string KernelFile() const { return Folder() + "\\k.ini"; }
    std::string PortableFile() const { return Folder() + "\\p.ini"; }

    void Report(const std::string& what, const std::string& kernel, const std::string& portable) {
        std::printf("FAIL %s: case \"%s\" line %d: %s\n    kernel32: %s\n    portable: %s\n",
                    table_.c_str(), case_.c_str(), line_, what.c_str(), kernel.c_str(),
                    portable.c_str());
        ++failures_;
    }

    void Remove() {
        for (const auto& f : {KernelFile(), PortableFile()}) {
            SetFileAttributesA(f.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(f.c_str());
        }
    }

    // Writes the bytes and gives the file a time stamp of its own, so that a
    // store that keeps a parsed file must notice the change.
    void Lay(const std::string& path, const std::string& bytes) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            Report("cannot lay file", path, "");
            return;
        }
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ULARGE_INTEGER stamp;
        stamp.QuadPart = 130000000000000000ull + (++stamps_) * 10000000ull;
        FILETIME time{stamp.LowPart, stamp.HighPart};
        SetFileTime(file, nullptr, nullptr, &time);
        CloseHandle(file);
    }

    void CompareFiles() {
        bool kernelExists = false, portableExists = false;
        const std::string k = ReadFileBytes(KernelFile(), kernelExists);
        const std::string p = ReadFileBytes(PortableFile(), portableExists);
        if (kernelExists != portableExists)
            Report("file existence", kernelExists ? "exists" : "missing", portableExists ? "exists" : "missing");
        else if (k != p)
            Report("file bytes", "\"" + Visible(k, 4000) + "\"", "\"" + Visible(p, 4000) + "\"");
    }

    void CompareBuffers(std::uint32_t kCount, std::uint32_t pCount, const std::vector<char>& k,
                        const std::vector<char>& p) {
        if (kCount != pCount) Report("return value", std::to_string(kCount), std::to_string(pCount));
        if (k != p)
            Report("buffer", "\"" + Visible(std::string(k.begin(), k.end()), 20000) + "\"",
                   "\"" + Visible(std::string(p.begin(), p.end()), 20000) + "\"");
    }

    void Do(const Step& step) {
        const auto& a = step.args;
        if (step.op == "file") {
            Lay(KernelFile(), a[0]);
            Lay(PortableFile(), a[0]);
        } else if (step.op == "nofile") {
            Remove();
        } else if (step.op == "refused-by-windows") {
            refusedByWindows_ = true;
            return;
        } else if (step.op == "missing-folder") {
            missingFolder_ = a[0] == "1";
        } else if (step.op == "readonly") {
            const DWORD attributes = a[0] == "1" ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL;
            SetFileAttributesA(KernelFile().c_str(), attributes);
            SetFileAttributesA(PortableFile().c_str(), attributes);
        } else if (step.op == "get" || step.op == "keys") {
            const std::uint32_t size =
                static_cast<std::uint32_t>(std::stoul(step.op == "get" ? a[3] : a[1]));
            std::vector<char> k(size + 16, '\xAA'), p(size + 16, '\xAA');
            std::uint32_t kCount, pCount;
            if (step.op == "get") {
                kCount = kernel_.GetString(KernelFile(), a[0], a[1], a[2], k.data(), size);
                pCount = portable_.GetString(PortableFile(), a[0], a[1], a[2], p.data(), size);
            } else {
                kCount = kernel_.GetKeyNames(KernelFile(), a[0], k.data(), size);
                pCount = portable_.GetKeyNames(PortableFile(), a[0], p.data(), size);
            }
            CompareBuffers(kCount, pCount, k, p);
        } else if (step.op == "int") {
            const std::int32_t fallback = std::stoi(a[2]);
            const std::uint32_t k = kernel_.GetInt(KernelFile(), a[0], a[1], fallback);
            const std::uint32_t p = portable_.GetInt(PortableFile(), a[0], a[1], fallback);
            if (k != p) Report("integer", std::to_string(k), std::to_string(p));
        } else if (refusedByWindows_) {
            refusedByWindows_ = false;
            bool p = false;
            if (step.op == "write") p = portable_.WriteString(PortableFile(), a[0], a[1], a[2]);
            else if (step.op == "delete") p = portable_.DeleteKey(PortableFile(), a[0], a[1]);
            else p = portable_.EraseSection(PortableFile(), a[0]);
            if (p) Report("result of " + step.op + " refused by Windows", "FALSE", "TRUE");
        } else {
            bool k = false, p = false;
            if (step.op == "write") {
                k = kernel_.WriteString(KernelFile(), a[0], a[1], a[2]);
                p = portable_.WriteString(PortableFile(), a[0], a[1], a[2]);
            } else if (step.op == "delete") {
                k = kernel_.DeleteKey(KernelFile(), a[0], a[1]);
                p = portable_.DeleteKey(PortableFile(), a[0], a[1]);
            } else if (step.op == "section") {
                k = kernel_.WriteSection(KernelFile(), a[0], a[1]);
                p = portable_.WriteSection(PortableFile(), a[0], a[1]);
            } else {
                k = kernel_.EraseSection(KernelFile(), a[0]);
                p = portable_.EraseSection(PortableFile(), a[0]);
            }
            if (k != p) Report("result of " + step.op, k ? "TRUE" : "FALSE", p ? "TRUE" : "FALSE");
        }
        CompareFiles();
    }

    std::string folder_;
    std::string table_;
    std::string case_;
    int line_ = 0;
    int failures_ = 0;
    unsigned stamps_ = 0;
    bool refusedByWindows_ = false;
    bool missingFolder_ = false;
    brellin::Kernel32Profile kernel_;
    brellin::PortableProfile portable_;
};

std::vector<std::string> TablesOf(const std::string& argument) {
    const DWORD attributes = GetFileAttributesA(argument.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {argument};
    std::vector<std::string> tables;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((argument + "\\*.txt").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return tables;
    do tables.push_back(argument + "\\" + found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return tables;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::printf("usage: profile_diff TABLE_OR_FOLDER...\n");
        return 2;
    }
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "brellin-diff-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);

    int cases = 0, differing = 0;
    bool unreadable = false;
    Runner runner(folder);
    for (int i = 1; i < argc; ++i) {
        for (const auto& table : TablesOf(argv[i])) {
            std::vector<Case> parsed;
            if (!ParseTable(table, parsed)) {
                unreadable = true;
                continue;
            }
            for (const auto& c : parsed) {
                ++cases;
                if (runner.Run(table, c) > 0) ++differing;
            }
        }
    }
    RemoveDirectoryA(folder.c_str());
    std::printf("%d cases, %d with differences%s\n", cases, differing,
                unreadable ? ", some tables unreadable" : "");
    return differing == 0 && !unreadable && cases > 0 ? 0 : 1;
}
