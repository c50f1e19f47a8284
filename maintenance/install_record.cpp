// One line a version: "size:hash" (the journal's form), a tab, the path.
#include "maintenance/install_record.h"

#include <algorithm>

#include "platform/files.h"

const char kInstallRecordName[] = "installed-files.txt";

bool InstallRecord::AsInstalled(const std::string& path, const FileVersion& now) const {
    auto found = files.find(path);
    if (found == files.end() || !now.exists) return false;
    return std::find(found->second.begin(), found->second.end(), now) != found->second.end();
}

void InstallRecord::Add(const std::string& path, const FileVersion& version) {
    std::vector<FileVersion>& versions = files[path];
    if (std::find(versions.begin(), versions.end(), version) == versions.end()) versions.push_back(version);
}

InstallRecord ReadInstallRecord() {
    InstallRecord record;
    std::vector<unsigned char> bytes;
    if (!PlatformReadFile(kInstallRecordName, bytes)) return record;
    std::string text(bytes.begin(), bytes.end());
    for (size_t at = 0; at < text.size();) {
        size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        size_t tab = line.find('\t');
        FileVersion version;
        // A line that does not parse names no file as installed: kept, never removed.
        if (tab == std::string::npos || tab + 1 == line.size() || !ParseFileVersionText(line.substr(0, tab), version) ||
            !version.exists)
            continue;
        record.Add(line.substr(tab + 1), version);
    }
    return record;
}

bool WriteInstallRecord(const InstallRecord& record) {
    std::string text;
    for (const auto& file : record.files)
        for (const FileVersion& version : file.second) text += FileVersionText(version) + "\t" + file.first + "\r\n";
    return PlatformWriteFileAtomic(kInstallRecordName, text.data(), text.size());
}
