// A whole file held for reading with one NUL after its bytes: mapped where
// the system allows it (platform/files.h), or else read into memory. It
// owns what it holds and gives it back when it goes.
#pragma once

#include <cstdint>

#include "platform/files.h"

class FileBytes {
public:
    FileBytes() = default;
    ~FileBytes() { Release(); }
    FileBytes(FileBytes&& other) noexcept { TakeFrom(other); }
    FileBytes& operator=(FileBytes&& other) noexcept {
        if (this != &other) {
            Release();
            TakeFrom(other);
        }
        return *this;
    }
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    // Holds the file at `path` as it now is; `stamp` gets its stamp. An
    // empty file holds no data and counts as read. Without `mayMap` the
    // file is read into memory, as after a mapping that faulted.
    FileReadOutcome Load(const char* path, FileStamp& stamp, bool mayMap = true);
    // The bytes and the NUL after them; null when nothing is held.
    const unsigned char* Data() const { return data_; }
    // The bytes held, that NUL counted; 0 when nothing is held.
    int32_t Length() const { return data_ ? static_cast<int32_t>(size_ + 1) : 0; }
    bool Mapped() const { return mapped_; }
    // Hands the bytes over: the caller gives them back as
    // ReleaseLetterBytes does (storage/letter_buffer.h). Nothing is held after.
    unsigned char* HandOver() {
        unsigned char* data = data_;
        data_ = nullptr;
        size_ = 0;
        mapped_ = false;
        return data;
    }

private:
    void Release();
    void TakeFrom(FileBytes& other) {
        data_ = other.data_;
        size_ = other.size_;
        mapped_ = other.mapped_;
        other.data_ = nullptr;
        other.size_ = 0;
    }
    unsigned char* data_ = nullptr;
    size_t size_ = 0;
    bool mapped_ = false;
};
