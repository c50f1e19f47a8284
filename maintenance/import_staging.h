// The hidden folders of the program folder in which imports make new
// dictionaries (".FOLDER.import-...", NewDictionaryStagingPrefix): those an
// import left when it was killed or cut short, which the next import of the
// same dictionary removes and check names and tidies.
#pragma once

#include <string>
#include <vector>

struct AbandonedImport {
    std::string folder;   // the hidden folder, code page 1251
    std::string target;   // the dictionary it was made for
    bool complete;        // it holds a header: every file was written
    bool empty;           // made, and nothing written into it
};

// The import folders of the program folder whose import is gone: for
// `target` alone, or for every dictionary when it is empty. An import at
// work holds its folder's write lock from its first file on.
std::vector<AbandonedImport> FindAbandonedImports(const std::string& target = "");
// Removes one; false when something stays. An empty folder is only ever
// removed whole, in one step: an import that made it a moment ago and has
// not yet locked it then finds it gone and makes another, or has locked it
// already and it stays.
bool RemoveAbandonedImport(const AbandonedImport& import);
