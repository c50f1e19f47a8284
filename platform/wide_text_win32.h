// The program's text (code page 1251 bytes) as the UTF-16 of the wide entry
// points, and back, whatever code page the system runs under: every string
// the window code passes to Windows or takes from it goes through here.
#pragma once

#include <windows.h>

#include <string>

std::wstring WideText(const char* text);
std::wstring WideText(const std::string& text);
// One byte for each UTF-16 unit; a character the code page cannot hold
// becomes kUnheldByte (platform/cp1251.h) and, the first of them, `unheld`
// when asked for (0 when there is none).
std::string Cp1251Text(const wchar_t* text, size_t length, char32_t* unheld = nullptr);
std::string Cp1251Text(const std::wstring& text, char32_t* unheld = nullptr);

// A window's whole text (an edit, a dialog item, a caption).
std::wstring WindowTextOf(HWND window);
std::string DialogItemText(HWND dialog, int id, char32_t* unheld = nullptr);
void SetDialogItemText(HWND dialog, int id, const char* text);

// A message box. `named`, when given, holds the characters the code page
// cannot hold that the text names, in order: each stands in `text` as
// kUnheldByte.
int ShowMessage(HWND owner, const char* text, const char* caption, unsigned style, const std::u32string& named = {});
