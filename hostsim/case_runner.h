// Plays one mail case folder on the real add-in: the case's lines become the
// client's windows and sends on the test host's objects, the add-in is loaded
// through its registration, and the user's dialog actions go to the real
// dialog. Prints the same lines as the native runner.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace hostsim {

// Returns the exit status: 0 when the case ran, 1 when the add-in's life went
// wrong (a failed load, an unload refused), 2 for a case that cannot be read
// or played.
int RunCase(const std::filesystem::path& caseFolder);

// Prints the case's install folder and drives, one a line.
int PrintSetup(const std::filesystem::path& caseFolder);

// Prints the figures of speed over `rounds` fresh sessions: connecting the
// add-in (from creating it to the return of OnConnection), and a send to its
// dialog showing, with the configuration in the add-in's folder.
int RunSpeed(int rounds);

}  // namespace hostsim
