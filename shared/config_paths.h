// Where the configuration file and the disclaimer file lie. The add-in finds
// them beside its library; the editor beside its program file, under its own
// base name, so that "Brellin.exe" in the add-in's folder meets the same two.
#pragma once

#include <string>
#include <string_view>

namespace brellin {

inline constexpr std::string_view kConfigFileName = "Brellin.ini";
inline constexpr std::string_view kDisclaimerFileName = "BrellinD.txt";

// Section and key names of the configuration file.
inline constexpr std::string_view kHeadersSection = "Headers";
inline constexpr std::string_view kOptionsSection = "MAROV BRL Options";

// The add-in's paths: the install folder (no trailing separator) + "\" + name.
std::string AddinConfigPath(std::string_view installFolder);
std::string AddinDisclaimerPath(std::string_view installFolder);

// The editor's paths: its program path with the extension replaced.
std::string EditorConfigPath(std::string_view programPath);
std::string EditorDisclaimerPath(std::string_view programPath);

// Replaces the text from the last "." after the last "\" or ":" with
// `extension`, or appends `extension` when the file name has no such dot.
std::string ChangeFileExt(std::string_view path, std::string_view extension);

}  // namespace brellin
