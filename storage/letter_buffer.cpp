#include "storage/letter_buffer.h"

#include <cstdlib>
#include <cstring>

LetterBufferRecord LetterBuffer;

LetterView HeldLetter() { return LetterView{LetterBuffer.Data, LetterBuffer.Length, &LetterBuffer.Index}; }

void FreeLetterBuffer() {
    std::free(LetterBuffer.Data);
    LetterBuffer.Data = nullptr;
    LetterBuffer.Length = 0;
    LetterBuffer.Index = LetterIndex();
}

bool HoldLetter(unsigned char letter, const std::vector<unsigned char>& fileBytes) {
    FreeLetterBuffer();
    LetterBuffer.Letter = letter;
    LetterBuffer.Unread = false;
    if (fileBytes.empty()) return true;
    unsigned char* data = static_cast<unsigned char*>(std::malloc(fileBytes.size() + 1));
    if (!data) {
        LetterBuffer.Unread = true;
        return false;
    }
    std::memcpy(data, fileBytes.data(), fileBytes.size());
    data[fileBytes.size()] = 0;
    LetterBuffer.Data = data;
    LetterBuffer.Length = static_cast<int32_t>(fileBytes.size() + 1);
    return true;
}

void ForgetLetter(unsigned char letter) {
    FreeLetterBuffer();
    LetterBuffer.Letter = letter;
    LetterBuffer.Unread = letter != 0;
}
