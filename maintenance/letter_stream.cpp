#include "maintenance/letter_stream.h"

#include <algorithm>
#include <cstring>

static const size_t kBufferSize = 1 << 20;

LetterStream::LetterStream(const std::string& path) : reader_(path.c_str()) {}

bool LetterStream::Fill() {
    if (position_ >= bufferAt_ && position_ < bufferAt_ + bufferUsed_) return true;
    if (position_ >= reader_.Size() || reader_.Failed()) return false;
    buffer_.resize(kBufferSize);
    bufferAt_ = position_;
    bufferUsed_ = reader_.ReadAt(position_, buffer_.data(), buffer_.size());
    return bufferUsed_ > 0;
}

void LetterStream::ReadString(StreamedString& out) {
    out.kept.clear();
    out.length = 0;
    while (Fill()) {
        const char* start = buffer_.data() + (position_ - bufferAt_);
        size_t available = bufferUsed_ - static_cast<size_t>(position_ - bufferAt_);
        const void* nul = std::memchr(start, 0, available);
        size_t run = nul ? static_cast<size_t>(static_cast<const char*>(nul) - start) : available;
        if (out.kept.size() < kStreamKept) out.kept.append(start, std::min(run, kStreamKept - out.kept.size()));
        out.length += run;
        position_ += run;
        if (nul) {
            ++position_;
            return;
        }
    }
}

bool LetterStream::EndsWithNul() {
    if (reader_.Size() == 0) return true;
    char last = 1;
    return reader_.ReadAt(reader_.Size() - 1, &last, 1) == 1 && last == '\0';
}

bool LetterStream::Next(StreamedEntry& entry) {
    if (position_ >= reader_.Size() || reader_.Failed()) return false;
    entry.offset = position_;
    ReadString(entry.word);
    entry.hasDescription = position_ < reader_.Size();
    entry.descriptionOffset = entry.hasDescription ? position_ : reader_.Size();
    entry.description = StreamedString();
    if (entry.hasDescription) ReadString(entry.description);
    return true;
}
