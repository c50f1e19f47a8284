// The whole dictionary as tab-separated UTF-8 text, the form the tsv import
// reads back.
#pragma once

#include <string>

// The tsv text of a dictionary folder's letter files, in letter order and
// each in file order, every entry the files hold; `entries` receives their
// number.
std::string ExportDictionaryText(const char* folder, unsigned long long& entries);
