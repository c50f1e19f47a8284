// Runs one dictionary-tool command on string streams, as the shell would,
// and writes the import sources the tests feed it.
#pragma once

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/test_support.h"
#include "tools/edit_commands.h"
#include "tools/list_command.h"
#include "tools/lookup_command.h"
#include "tools/run_tool.h"
#include "tools/stats_command.h"
#include "tools/tool_commands.h"
#include "tools/tool_support.h"

#ifdef DICTIONARY_HAVE_ZLIB
#include <zlib.h>
#endif

struct ToolResult {
    int status;
    std::string out, err;
};

inline ToolResult Tool(int (*command)(const std::vector<std::string>&, ToolContext&),
                       const std::vector<std::string>& args) {
    std::istringstream in;
    std::ostringstream out, err;
    ToolContext io{in, out, err, ""};
    int status = command(args, io);
    return {status, out.str(), err.str()};
}

inline std::string DictdNumber(size_t value) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string digits;
    do {
        digits.insert(digits.begin(), kDigits[value % 64]);
        value /= 64;
    } while (value);
    return digits;
}

// NAME.index and the definitions, in the order given, after one byte of
// padding; `dataOut` receives the definitions instead of NAME.dict.
inline void WriteDictd(const std::string& name, const std::vector<std::pair<std::string, std::string>>& entries,
                       std::string* dataOut = nullptr) {
    std::string index = "00databaseinfo\tA\tB\n", data = "x";
    for (const auto& entry : entries) {
        index += entry.first + "\t" + DictdNumber(data.size()) + "\t" + DictdNumber(entry.second.size()) + "\n";
        data += entry.second;
    }
    WriteDiskFile(name + ".index", index);
    if (dataOut) *dataOut = data;
    else WriteDiskFile(name + ".dict", data);
}

#ifdef DICTIONARY_HAVE_ZLIB
// One gzip member holding `data`.
inline std::string Gzip(const std::string& data) {
    z_stream stream{};
    deflateInit2(&stream, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&stream, data.size()) + 32, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}
#endif
