// The whole dictionary as tab-separated UTF-8 text, the form the tsv import
// reads back.
#pragma once

#include <string>

// The tsv text of a dictionary folder's letter files, in letter order and
// each in file order, every entry the files hold; `entries` receives their
// number. False, with `error` naming the file and why, when a letter file
// is there but cannot be read: a copy without its entries is no copy.
bool ExportDictionaryText(const char* folder, std::string& text, unsigned long long& entries, std::string& error);
