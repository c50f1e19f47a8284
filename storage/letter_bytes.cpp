#include "storage/letter_bytes.h"

#include <new>

#include "storage/letter_index_store.h"

FileReadOutcome ReadLetterBytes(const std::string& path, bool mayMap, std::shared_ptr<LetterBytes>& bytes) {
    bytes.reset();
    auto read = std::make_shared<LetterBytes>();
    const FileReadOutcome outcome = read->file.Load(path.c_str(), read->stamp, mayMap);
    if (outcome != FileReadOutcome::Read || !read->file.Data()) return outcome;
    read->stamped = true;
    read->path = path;
    if (!PrepareLetterIndex(path.c_str(), read->stamp, read->file.Data(), read->file.Length(), read->file.Mapped(),
                            read->index))
        return ReadLetterBytes(path, false, bytes);
    bytes = std::move(read);
    return outcome;
}

std::shared_ptr<LetterBytes> CopyLetterBytes(const unsigned char* data, size_t size) {
    std::shared_ptr<LetterBytes> bytes(new (std::nothrow) LetterBytes);
    if (!bytes || !bytes->file.Copy(data, size)) return nullptr;
    return bytes;
}
