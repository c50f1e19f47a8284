// A letter file's bytes as they are held for reading, with their index, and
// the one owner that frees them. The dictionary that holds the letter, the
// letters it keeps aside and every match found in them share one
// LetterBytes (std::shared_ptr); the last of them to let go unmaps or frees
// the bytes, so nothing that points into them can outlive them.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/files.h"
#include "storage/file_bytes.h"
#include "storage/letter_index.h"
#include "storage/letter_view.h"

struct LetterBytes {
    FileBytes file;      // the bytes and one NUL after them: mapped, or of the heap
    LetterIndex index;   // of these bytes, built on the first searches
    // Read from the file at `path`, which had `stamp` then (not bytes an edit
    // wrote): kept aside, they are taken back while the file keeps that stamp.
    bool stamped = false;
    FileStamp stamp;
    std::string path;

    // For every search, the index built on the way.
    LetterView View() { return LetterView{file.Data(), file.Length(), &index}; }
    // For reading entries found before (a description): no search.
    LetterView ReadView() const { return LetterView{file.Data(), file.Length(), nullptr}; }
    // The bytes were mapped and a page of them could not be read when it was
    // touched (platform/files.h, PlatformMappingFaulted): they may hold zeros
    // where the file has entries, so they are neither kept nor searched
    // again; the file is read instead.
    bool Faulted() const { return file.Mapped() && PlatformMappingFaulted(file.Data()); }
    // The memory they take, the index's with them.
    size_t Bytes() const { return static_cast<size_t>(file.Length()) + index.entries.Bytes(); }
};

// The file at `path` as it now is: mapped where the system allows it and
// `mayMap`, or else read; `bytes` null when there is no data (absent or
// empty). A mapped file a page of which cannot be brought in is read
// instead, so that a read error is told as such.
FileReadOutcome ReadLetterBytes(const std::string& path, bool mayMap, std::shared_ptr<LetterBytes>& bytes);
// A copy of `size` bytes an edit wrote; null when there is no memory for
// them (for 0 bytes: an empty LetterBytes).
std::shared_ptr<LetterBytes> CopyLetterBytes(const unsigned char* data, size_t size);
