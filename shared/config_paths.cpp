#include "config_paths.h"

namespace brellin {

std::string AddinConfigPath(std::string_view installFolder) {
    return std::string(installFolder) + "\\" + std::string(kConfigFileName);
}

std::string AddinDisclaimerPath(std::string_view installFolder) {
    return std::string(installFolder) + "\\" + std::string(kDisclaimerFileName);
}

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
    const std::size_t dot = path.find_last_of(".\\:");
    std::string result(path.substr(0, dot != std::string_view::npos && path[dot] == '.'
                                          ? dot
                                          : path.size()));
    result += extension;
    return result;
}

std::string EditorConfigPath(std::string_view programPath) {
    return ChangeFileExt(programPath, ".ini");
}

std::string EditorDisclaimerPath(std::string_view programPath) {
    return ChangeFileExt(programPath, "D.txt");
}

}  // namespace brellin
