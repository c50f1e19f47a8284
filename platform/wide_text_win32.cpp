#include "platform/wide_text_win32.h"

#include <cstring>

#include "platform/cp1251.h"

std::wstring WideText(const char* text) {
    std::u16string wide = Cp1251ToUtf16(text, std::strlen(text));
    return std::wstring(wide.begin(), wide.end());
}

std::wstring WideText(const std::string& text) { return WideText(text.c_str()); }

std::string Cp1251Text(const wchar_t* text, size_t length, char32_t* unheld) {
    std::u16string units(text, text + length);
    std::string bytes;
    char32_t first = Utf16ToCp1251(units.data(), units.size(), bytes);
    if (unheld) *unheld = first;
    return bytes;
}

std::string Cp1251Text(const std::wstring& text, char32_t* unheld) {
    return Cp1251Text(text.data(), text.size(), unheld);
}

std::wstring WindowTextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

std::string DialogItemText(HWND dialog, int id, char32_t* unheld) {
    return Cp1251Text(WindowTextOf(GetDlgItem(dialog, id)), unheld);
}

void SetDialogItemText(HWND dialog, int id, const char* text) { SetDlgItemTextW(dialog, id, WideText(text).c_str()); }

// The character in UTF-16: one unit, or a pair of surrogates.
static std::wstring Units(char32_t c) {
    if (c < 0x10000) return std::wstring(1, static_cast<wchar_t>(c));
    c -= 0x10000;
    return {static_cast<wchar_t>(0xD800 + (c >> 10)), static_cast<wchar_t>(0xDC00 + (c & 0x3FF))};
}

int ShowMessage(HWND owner, const char* text, const char* caption, unsigned style, const std::u32string& named) {
    std::wstring wide = WideText(text);
    size_t at = 0;
    for (char32_t c : named) {
        at = wide.find(static_cast<wchar_t>(UnicodeOfByte(kUnheldByte)), at);
        if (at == std::wstring::npos) break;
        std::wstring units = Units(c);
        wide.replace(at, 1, units);
        at += units.size();
    }
    return MessageBoxW(owner, wide.c_str(), WideText(caption).c_str(), style);
}
