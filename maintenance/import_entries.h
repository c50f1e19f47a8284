// The entries an import adds: read from its sources, laid out for the main
// window, and with a dual import the reverse entries of single translations.
#pragma once

#include <string>
#include <vector>

#include "maintenance/import_build.h"
#include "maintenance/import_sources.h"
#include "maintenance/import_text.h"

struct ImportCounts {
    unsigned long long read = 0, stored = 0, reverseStored = 0;
    unsigned long long emptyWord = 0, emptyDescription = 0, duplicate = 0, tooLong = 0;
    TextCounts text;
};

struct ImportSources {
    SourceFormat format;
    std::vector<std::string> paths;   // as the tool opens them
    bool dual;
};

// Reads every source and adds its entries to `build`, after the entries it
// holds already. False, with a message naming the file and the place, when
// a source cannot be used or yields no entry; `build` is then of no use.
bool AddImportedEntries(const ImportSources& sources, DictionaryBuild& build, ImportCounts& counts,
                        std::string& error);
