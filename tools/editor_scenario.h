// The editor's scenario language, read and written the same way by both
// runners: the native runner (form logic over fakes) and the Windows driver
// (the real Brellin.exe under Wine). Both print the same lines for a case, so
// one expected.txt serves both.
//
// Scenario lines ("#" starts a comment; arguments are words or quoted texts
// with the escapes \r \n \t \" \\ \xHH and \{N:C}, C repeated N times):
//   deny-writes NAME                  the file NAME of the folder ("." the folder
//                                     itself) refuses writes from now on
//   start                             the editor starts and loads
//   select-header "TEXT" | select-sub "TEXT"
//   add-header ANSWER... | add-sub ANSWER...
//                                     each ANSWER answers the prompt once: "TEXT"
//                                     is OK with TEXT; cancel, escape and close
//                                     give it up by button, key or close box
//   delete-header yes|no | delete-sub yes|no
//   click-check K                     clicks CheckBoxK (1 to 4)
//   memo "TEXT"                       replaces the disclaimer box's text
//   save-disclaimer | done
//   layout                            (real window only) prints the window and each
//                                     control in tab order with its place and size
//   resize W H                        (real window only) gives the window a new outer size
//
// Output lines, as things happen:
//   prompt "CAPTION" "PROMPT"         the input prompt is shown
//   message "CAPTION" "TEXT"          a message box without icon
//   error "TEXT"                      the error display, a box with an icon (its
//                                     caption added when it is not the application's
//                                     title, "Brellin")
//   window "CAPTION" L T W H STYLES   from layout: the outer rectangle on the screen
//   control NAME L T W H [tab] "TEXT" from layout: within the client area, in z-order,
//                                     which is the tab order of the focusable ones
//   unanswered                        a prompt or question the scenario gave no answer for
//   state list1="A|B" sel1=N list2="..." sel2=N checks=0101
//                                     after each line from "start" on, "done" apart
//   file NAME "BYTES" | file NAME missing | file NAME folder
//                                     at the end, for Brellin.ini and BrellinD.txt
// Paths inside texts show the case's folder as <folder>.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace brellin::scenario {

struct Step {
    int line = 0;
    std::string verb;
    std::vector<std::string> args;
};

// Reads a whole scenario; on a malformed line returns false with `error`
// naming the line.
bool Parse(const std::string& text, std::vector<Step>& steps, std::string& error);

// A text in double quotes, with \r \n \" \\ and \xHH for other control and
// non-ASCII bytes.
std::string Quote(const std::string& text);

std::string StateLine(const std::vector<std::string>& list1, int sel1,
                      const std::vector<std::string>& list2, int sel2, const bool (&checks)[4]);

// The line for one of the case's files at the end: its bytes, or that it is
// missing or a folder.
std::string FileLine(const std::string& name, const std::optional<std::string>& bytes,
                     bool isFolder);

// The folder-relative form of a text that names paths in the case's folder.
std::string WithFolderPlaceholder(std::string text, const std::string& folder);

// The starting files of a case: everything but the scenario's own files.
bool IsCaseInput(const std::string& fileName);

inline constexpr const char* kCaseFiles[] = {"Brellin.ini", "BrellinD.txt"};

}  // namespace brellin::scenario
