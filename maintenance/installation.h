// Putting a release in place in the program folder (the current directory)
// and taking it away again, so that the user's dictionaries outlive both.
// The installer runs them through dictionary-tool (tools/install_commands).
#pragma once

#include <string>
#include <vector>

// What was done, kept or could not be done, one line each, for the
// installer's log; `done` when everything was.
struct InstallationOutcome {
    bool done = true;
    std::vector<std::string> lines;
};

// Puts the release unpacked into the folder `staging` of the program folder
// in place. The files of the program folder itself (the programs) and the
// word-form tables are replaced; of a dictionary, a file still as the
// installer left it is replaced, the files of one dictionary as one change,
// while a file changed since, a file or dictionary the user made and a
// dictionary the user removed stay as they are. A change that a killed
// writer left in a dictionary is finished first. Files are moved out of
// `staging`; the caller removes the rest. The record (install_record.h)
// then names what was installed.
InstallationOutcome InstallRelease(const std::string& staging);

// Removes what the installer put here: the files of the program folder
// itself, and each dictionary or word-form table folder that is exactly as
// installed. A folder with any change, or with files of the user's, stays
// whole, as does every folder the user made.
InstallationOutcome RemoveInstalledFiles();
