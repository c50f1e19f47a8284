// The offsets of a letter index's words (storage/letter_index.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "storage/file_bytes.h"

// The offsets of an index's words: built here, or read in place from the
// file of a kept index (storage/letter_index_store.h), which it then holds.
class IndexEntries {
public:
    IndexEntries() = default;
    IndexEntries(IndexEntries&& other) noexcept { *this = std::move(other); }
    IndexEntries& operator=(IndexEntries&& other) noexcept {
        own_ = std::move(other.own_);
        held_ = std::move(other.held_);
        begin_ = other.begin_;
        size_ = other.size_;
        other.own_.clear();
        other.begin_ = nullptr;
        other.size_ = 0;
        return *this;
    }

    size_t Count() const { return size_; }
    bool Empty() const { return size_ == 0; }
    int32_t operator[](size_t position) const { return begin_[position]; }
    int32_t Last() const { return begin_[size_ - 1]; }
    const int32_t* begin() const { return begin_; }
    const int32_t* end() const { return begin_ + size_; }
    // The bytes they take in memory.
    size_t Bytes() const {
        return own_.capacity() * sizeof(int32_t) + static_cast<size_t>(held_.Length());
    }
    void Reserve(size_t count) {
        own_.reserve(count);
        Follow();
    }
    void Add(int32_t offset) {
        own_.push_back(offset);
        Follow();
    }
    // Takes the `count` offsets that start at byte `at` of `file`, 4-byte
    // aligned there; the entries hold the file from now on.
    void Hold(FileBytes&& file, size_t at, size_t count) {
        *this = IndexEntries();
        held_ = std::move(file);
        begin_ = reinterpret_cast<const int32_t*>(held_.Data() + at);
        size_ = count;
    }

private:
    void Follow() {
        begin_ = own_.data();
        size_ = own_.size();
    }
    std::vector<int32_t> own_;
    FileBytes held_;
    const int32_t* begin_ = nullptr;
    size_t size_ = 0;
};
