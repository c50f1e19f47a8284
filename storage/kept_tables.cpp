#include "storage/kept_tables.h"

#include <utility>

#include "storage/letter_index_store.h"

FileReadOutcome KeptTables::Read(const std::string& path, bool searched, bool mayMap,
                                 std::shared_ptr<LetterBytes>& table) {
    table.reset();
    FileStamp now;
    const bool there = PlatformFileStamp(path.c_str(), now);
    for (size_t i = 0; i < kept_.size(); ++i) {
        if (kept_[i]->path != path) continue;
        if (there && now == kept_[i]->stamp && (mayMap || !kept_[i]->file.Mapped())) {
            table = kept_[i];
            return FileReadOutcome::Read;
        }
        kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    // Read even when its stamp could not be had: the read tells a file that
    // is not there from one that cannot be read.
    auto read = std::make_shared<LetterBytes>();
    const FileReadOutcome outcome = read->file.Load(path.c_str(), read->stamp, mayMap);
    if (outcome != FileReadOutcome::Read) return outcome;
    read->path = path;
    read->stamped = true;
    if (searched)
        PrepareLetterIndex(path.c_str(), read->stamp, read->file.Data(), read->file.Length(), read->file.Mapped(),
                           read->index);
    if (kept_.size() >= most_ && !kept_.empty()) kept_.erase(kept_.begin());
    if (most_ > 0) kept_.push_back(read);
    table = std::move(read);
    return FileReadOutcome::Read;
}

void KeptTables::KeepWalkedIndexes() {
    for (const auto& table : kept_) KeepWalkedIndex(table->file.Data(), table->file.Length(), table->index);
}
