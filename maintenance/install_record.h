// The installer's record of what it put in the program folder: every file,
// by its path from the program folder ('\' between folders), with the
// versions it may hold and still be as installed. An upgrade replaces only
// dictionary files that are, and the uninstaller removes only those.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "storage/staged_commit.h"

// The record's file in the program folder.
extern const char kInstallRecordName[];   // "installed-files.txt"

struct InstallRecord {
    // Usually one version a file; while an upgrade is under way, the old one
    // and the new one, so that an upgrade cut short leaves no file of either
    // looking changed by the user.
    std::map<std::string, std::vector<FileVersion>> files;

    bool Holds(const std::string& path) const { return files.count(path) != 0; }
    // The file at `path` is as the installer left it.
    bool AsInstalled(const std::string& path, const FileVersion& now) const;
    void Add(const std::string& path, const FileVersion& version);
};

// The record of the current folder; empty when there is none (a folder
// unzipped by hand) or it cannot be read, so nothing counts as installed.
InstallRecord ReadInstallRecord();
// Writes it whole, through a temporary file: a reader finds the old record
// or the new one.
bool WriteInstallRecord(const InstallRecord& record);
