#include "maintenance/check_messages.h"

#include "maintenance/codepage.h"
#include "storage/dictionary_format.h"

std::string CheckFile(const std::string& folder, const std::string& file) {
    return Cp1251ToUtf8(LastName(folder)) + "/" + file;
}

std::string CheckPlace(const std::string& folder, const std::string& file, uint64_t offset) {
    return CheckFile(folder, file) + " offset " + std::to_string(offset) + ": ";
}

std::string CheckQuote(const std::string& bytes) {
    const size_t kShown = 40;
    std::string shown = bytes.size() > kShown ? bytes.substr(0, kShown) : bytes;
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return "'" + Cp1251ToUtf8(shown) + (bytes.size() > kShown ? "...'" : "'");
}

std::string EntryCount(uint64_t count) { return std::to_string(count) + (count == 1 ? " entry" : " entries"); }
