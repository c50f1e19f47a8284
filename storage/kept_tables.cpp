#include "storage/kept_tables.h"

#include <utility>

#include "storage/letter_index_store.h"

std::shared_ptr<LetterBytes> KeptTables::At(const std::string& path, bool searched) {
    FileStamp now;
    const bool there = PlatformFileStamp(path.c_str(), now);
    for (size_t i = 0; i < kept_.size(); ++i) {
        if (kept_[i]->path != path) continue;
        if (there && now == kept_[i]->stamp) return kept_[i];
        kept_.erase(kept_.begin() + static_cast<std::ptrdiff_t>(i));
        break;
    }
    if (!there) return nullptr;
    auto table = std::make_shared<LetterBytes>();
    if (table->file.Load(path.c_str(), table->stamp) != FileReadOutcome::Read) return nullptr;
    table->path = path;
    table->stamped = true;
    if (searched)
        PrepareLetterIndex(path.c_str(), table->stamp, table->file.Data(), table->file.Length(), table->file.Mapped(),
                           table->index);
    if (kept_.size() >= most_ && !kept_.empty()) kept_.erase(kept_.begin());
    if (most_ > 0) kept_.push_back(table);
    return table;
}

void KeptTables::KeepWalkedIndexes() {
    for (const auto& table : kept_) KeepWalkedIndex(table->file.Data(), table->file.Length(), table->index);
}
