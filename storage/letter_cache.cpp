#include "storage/letter_cache.h"

#include <new>
#include <utility>

#include "platform/files.h"
#include "storage/letter_index_store.h"

void KeptLetters::Drop(size_t at) {
    used_ -= kept_[at].size;
    kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(at));
}

bool KeptLetters::MakeRoom(size_t needed) {
    if (needed > budget_) return false;
    while (used_ + needed > budget_) {
        size_t oldest = 0;
        for (size_t i = 1; i < kept_.size(); ++i)
            if (kept_[i].lastUse < kept_[oldest].lastUse) oldest = i;
        Drop(oldest);
    }
    return true;
}

void KeptLetters::SetBudget(size_t bytes) {
    budget_ = bytes;
    if (bytes == 0) Forget();
    else MakeRoom(0);
}

void KeptLetters::Forget() {
    kept_.clear();
    used_ = 0;
}

void KeptLetters::SetAside(std::shared_ptr<LetterBytes> bytes) {
    if (budget_ == 0 || !bytes || !bytes->file.Data() || !bytes->stamped || bytes->Faulted()) return;
    const size_t size = bytes->Bytes();
    if (!MakeRoom(size)) return;
    try {
        kept_.push_back({std::move(bytes), size, ++uses_});
        used_ += size;
    } catch (const std::bad_alloc&) {
        // Not kept: read again when needed.
    }
}

std::shared_ptr<LetterBytes> KeptLetters::Take(const std::string& path) {
    for (size_t i = 0; i < kept_.size(); ++i) {
        if (kept_[i].bytes->path != path) continue;
        std::shared_ptr<LetterBytes> bytes = kept_[i].bytes;
        Drop(i);
        FileStamp now;
        if (!PlatformFileStamp(path.c_str(), now) || !(now == bytes->stamp) || bytes->Faulted()) return nullptr;
        return bytes;
    }
    return nullptr;
}

void KeptLetters::KeepWalkedIndexes() {
    for (Kept& kept : kept_) {
        // An index of bytes a fault turned to zeros would hide entries for good.
        if (kept.bytes->Faulted()) continue;
        LetterBytes& letter = *kept.bytes;
        KeepWalkedIndex(letter.file.Data(), letter.file.Length(), letter.index);
        const size_t size = letter.Bytes();
        used_ += size - kept.size;
        kept.size = size;
    }
}
