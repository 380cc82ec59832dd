#include "disclaimer.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "failure.h"
#include "host_path.h"

namespace brellin {
namespace {

bool ReadWhole(const std::string& path, std::string& text) {
    const auto hostPath = ToHostPath(path);
    std::error_code error;
    if (!std::filesystem::is_regular_file(hostPath, error)) return false;
    std::ifstream in(hostPath, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

std::string ReadDisclaimerForMail(const std::string& path) {
    std::string file;
    // A fresh installation has no disclaimer file until the administrator
    // saves one: that is no disclaimer. A file that is there but cannot be
    // read is a fault the send must not hide.
    std::error_code error;
    if (std::filesystem::status(ToHostPath(path), error).type() == std::filesystem::file_type::not_found)
        return {};
    if (!ReadWhole(path, file)) throw Failure("Cannot read the disclaimer file");

    std::string text;
    std::size_t pos = 0;
    while (pos < file.size()) {
        const std::size_t end = file.find_first_of("\r\n", pos);
        const std::size_t stop = end == std::string::npos ? file.size() : end;
        const std::string line = file.substr(pos, stop - pos);
        pos = stop;
        if (pos < file.size()) pos += (file[pos] == '\r' && pos + 1 < file.size() && file[pos + 1] == '\n') ? 2 : 1;
        if (text.empty()) text = line;
        else text += '\r' + line;
    }
    return text;
}

std::string ReadDisclaimerText(const std::string& path) {
    std::string file;
    if (!ReadWhole(path, file)) throw Failure("Cannot open file " + path);
    std::string text;
    text.reserve(file.size() + file.size() / 16);
    for (std::size_t i = 0; i < file.size(); ++i) {
        const char c = file[i];
        if (c == '\r') {
            text += "\r\n";
            if (i + 1 < file.size() && file[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            text += "\r\n";
        } else {
            text += c;
        }
    }
    return text;
}

void WriteDisclaimerText(const std::string& path, const std::string& text) {
    const auto hostPath = ToHostPath(path);
    std::error_code error;
    const bool exists = std::filesystem::exists(hostPath, error);
    const auto folder = hostPath.has_parent_path() ? hostPath.parent_path() : std::filesystem::path(".");
    if ((exists && IsWriteProtected(hostPath)) || (!exists && IsWriteProtected(folder)))
        throw Failure("Cannot create file " + path);
    std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
    if (!out) throw Failure("Cannot create file " + path);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) throw Failure("Cannot create file " + path);
}

}  // namespace brellin
