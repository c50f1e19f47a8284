#include "storage/file_bytes.h"

#include <cstdlib>

FileReadOutcome FileBytes::Load(const char* path, FileStamp& stamp, bool mayMap) {
    Release();
    if (mayMap && PlatformMapFileForReading(path, data_, size_, stamp)) {
        mapped_ = true;
        return FileReadOutcome::Read;
    }
    unsigned char* data = nullptr;
    size_t size = 0;
    FileReadOutcome outcome = PlatformReadWholeFileInto(
        path,
        [&](size_t fileSize) {
            size = fileSize;
            data = static_cast<unsigned char*>(std::malloc(fileSize + 1));   // one more for the NUL
            return data;
        },
        &stamp);
    if (outcome != FileReadOutcome::Read || size == 0) {
        std::free(data);
        return outcome;
    }
    data[size] = 0;
    data_ = data;
    size_ = size;
    return outcome;
}

void FileBytes::Release() {
    if (mapped_) PlatformUnmapFile(data_, size_);
    else std::free(data_);
    data_ = nullptr;
    size_ = 0;
    mapped_ = false;
}
