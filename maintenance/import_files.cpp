// Whole files, plain or compressed, for the importer's readers.
#include <algorithm>
#include <cstring>
#include <vector>

#include "maintenance/codepage.h"
#include "maintenance/import_sources.h"
#include "platform/files.h"

#ifdef DICTIONARY_HAVE_ZLIB
#include <zlib.h>
#endif

std::string FileNameOf(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Source files are named as the user typed them, in UTF-8.
static bool ReadSourceFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    std::string name, problem;
    if (!PathOfTypedName(path, name, problem)) {
        error = path + ": cannot be opened: " + problem;
        return false;
    }
    if (!PlatformReadFile(name.c_str(), bytes)) {
        error = path + ": cannot be opened";
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& out, std::string& error) {
    std::vector<unsigned char> bytes;
    if (!ReadSourceFile(path, bytes, error)) return false;
    out.assign(bytes.begin(), bytes.end());
    return true;
}

bool WithinData(const std::string& data, uint64_t offset, uint64_t length, const std::string& dataPath,
                const std::string& entry, std::string& error) {
    if (offset <= data.size() && length <= data.size() - offset) return true;
    bool compressed = dataPath.size() > 3 && dataPath.compare(dataPath.size() - 3, 3, ".dz") == 0;
    error = FileNameOf(dataPath) + ": the entry " + entry + " runs from byte " + std::to_string(offset) + " to " +
            std::to_string(offset + length) + ", past the end of the data (" + std::to_string(data.size()) +
            " bytes" + (compressed ? " uncompressed" : "") + ")";
    return false;
}

std::string SizeText(uint64_t bytes) {
    if (bytes >= (1u << 30) && bytes % (1u << 30) == 0) return std::to_string(bytes >> 30) + " GiB";
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

#ifdef DICTIONARY_HAVE_ZLIB
// Deflate packs at most about 1032 bytes into one; a size claimed beyond that
// is a lie, and the room reserved for it would be wasted or unavailable.
static const uint64_t kLargestRatio = 1032;

bool InflateGzipFile(const std::string& path, const std::string& compressed, std::string& out,
                     std::string& error, uint64_t needed) {
    out.clear();
    if (compressed.size() < 18 || static_cast<unsigned char>(compressed[0]) != 0x1F ||
        static_cast<unsigned char>(compressed[1]) != 0x8B) {
        error = path + ": not gzip or dictzip data (byte 0)";
        return false;
    }
    // The last four bytes give the size of the (last) member: a first guess
    // for the room to reserve, never more than the data could really hold or
    // than is needed.
    uint32_t claimed;
    std::memcpy(&claimed, compressed.data() + compressed.size() - 4, 4);
    uint64_t guess = std::min<uint64_t>({claimed, needed, kLargestInflated,
                                         static_cast<uint64_t>(compressed.size()) * kLargestRatio});
    out.reserve(static_cast<size_t>(guess));

    z_stream stream;
    std::memset(&stream, 0, sizeof stream);
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK) {
        error = path + ": cannot start decompression";
        return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
    stream.avail_in = static_cast<uInt>(compressed.size());
    std::vector<unsigned char> chunk(1 << 16);
    int status = Z_OK;
    bool tooLarge = false;
    for (;;) {
        stream.next_out = chunk.data();
        stream.avail_out = static_cast<uInt>(chunk.size());
        status = inflate(&stream, Z_NO_FLUSH);
        size_t got = chunk.size() - stream.avail_out;
        if (out.size() + got > kLargestInflated) {
            tooLarge = true;
            break;
        }
        out.append(reinterpret_cast<char*>(chunk.data()), got);
        // What lies beyond the last byte the index points at is never read.
        if (out.size() >= needed) {
            status = Z_STREAM_END;
            break;
        }
        if (status == Z_STREAM_END) {
            // Another gzip member may follow (concatenated files are valid gzip).
            if (stream.avail_in >= 2 && stream.next_in[0] == 0x1F && stream.next_in[1] == 0x8B) {
                inflateReset(&stream);
                continue;
            }
            break;
        }
        if (status == Z_OK) continue;
        break;   // input ran out (Z_BUF_ERROR) or the data is broken
    }
    size_t position = compressed.size() - stream.avail_in;
    std::string why = stream.msg ? stream.msg : "";
    inflateEnd(&stream);
    if (tooLarge) {
        out.clear();
        out.shrink_to_fit();
        error = path + ": unpacks to more than " + SizeText(kLargestInflated) +
                ", more than the importer takes from one file";
        return false;
    }
    if (status == Z_STREAM_END) return true;
    out.clear();
    if (status == Z_BUF_ERROR || status == Z_OK) {
        error = path + ": compressed data ends early at byte " + std::to_string(position) +
                " (the file is cut short)";
    } else {
        error = path + ": broken compressed data at byte " + std::to_string(position) +
                (why.empty() ? "" : " (" + why + ")");
    }
    return false;
}
#else
bool InflateGzipFile(const std::string& path, const std::string&, std::string& out, std::string& error,
                     uint64_t) {
    out.clear();
    error = path + ": compressed files need zlib, which this build of the tool lacks";
    return false;
}
#endif

bool ReadDataFile(const std::string& base, uint64_t needed, std::string& out, std::string& used,
                  std::string& error) {
    std::vector<unsigned char> probe;
    std::string probeError;
    if (ReadSourceFile(base, probe, probeError)) {
        used = base;
        out.assign(probe.begin(), probe.end());
        return true;
    }
    std::string compressed;
    used = base + ".dz";
    if (!ReadWholeFile(used, compressed, error)) {
        error = "neither " + base + " nor " + used + " can be opened";
        return false;
    }
    if (needed > kLargestInflated) {
        error = used + ": the index points at data up to byte " + std::to_string(needed) + ", more than the " +
                SizeText(kLargestInflated) + " the importer unpacks from one file";
        return false;
    }
    return InflateGzipFile(used, compressed, out, error, needed);
}
