// The disclaimer file: plain ANSI text, lines separated by CR LF. The editor
// writes it whole and reads it whole; the add-in reads it a line at a time and
// joins the lines with the lone CR that it uses inside a mail.
#pragma once

#include <string>

namespace brellin {

// The add-in's reading: the lines (ended by CR LF, CR or LF) joined by CR.
// Empty lines before the first non-empty one vanish; later ones stay, also at
// the end. A missing file is no disclaimer (empty); a file that is there but
// cannot be read throws Failure("Cannot read the disclaimer file").
std::string ReadDisclaimerForMail(const std::string& path);

// The editor's reading: the whole file, every line break (CR LF, a lone CR or
// a lone LF) given as CR LF. Throws Failure("Cannot open file <path>").
std::string ReadDisclaimerText(const std::string& path);

// The editor's writing: the file created or emptied and given exactly `text`,
// nothing added. Throws Failure("Cannot create file <path>").
void WriteDisclaimerText(const std::string& path, const std::string& text);

}  // namespace brellin
