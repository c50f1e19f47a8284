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
};

// The import folders of the program folder whose import is gone: for
// `target` alone, or for every dictionary when it is empty. An import at
// work holds its folder's write lock; one that has just made its folder and
// not yet taken the lock has an empty folder, which is left alone for a
// minute.
std::vector<AbandonedImport> FindAbandonedImports(const std::string& target = "");
