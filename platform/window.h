// The effects the program's logic has on its main window: the two edits,
// the title and the toolbar, message boxes and the toolbar's menus. Two
// implementations: the real window (window_win32.cpp) and the headless
// stand-in for the command-line tool and the tests (headless.cpp).
#pragma once

#include <string>
#include <vector>

// Message box styles and answers, with the Win32 values.
enum : unsigned {
    kMsgYesNo = 0x04,
    kMsgIconError = 0x10,
    kMsgIconQuestion = 0x20,
    kMsgIconInformation = 0x40,
};
enum : int { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };

// As the end of a selection: the end of the text, however long it is.
constexpr int kEndOfText = -1;

// ---- The word edit (control 1000) and the description edit (1001).

// Replaces the word edit's text. The edit raises its change notification,
// and the main window's change handler runs, before this returns. The
// program writes the word edit through SetWordEditText (ui/edit_state.h),
// which marks the notification as its own; this is the effect beneath it.
void ReplaceWordEditText(const char* text);
// Copies at most limit - 1 bytes and a NUL; returns the bytes copied. A
// character typed or pasted that code page 1251 has no byte for comes as
// kUnheldByte (platform/cp1251.h), one byte for each character position.
int GetWordEditText(char* buffer, int limit);
// The first such character of the word edit's text; 0 when there is none.
char32_t WordEditUnheldCharacter();
void GetWordEditSelection(int* start, int* end);
void SetWordEditSelection(int start, int end);
void FocusWordEdit();

// Setting the description raises no change notification.
void SetDescriptionEditText(const char* text);
int GetDescriptionEditText(char* buffer, int limit);
char32_t DescriptionEditUnheldCharacter();
// Lines as displayed (wrapped lines counted).
int GetDescriptionEditLineCount();

// ---- The main window.

// `named`, when given, holds the characters code page 1251 cannot hold that
// the text names, in order: each stands in the text as kUnheldByte
// (UnheldCharacterReason, platform/cp1251.h).
int ShowMessageBox(const char* text, const char* caption, unsigned style, const std::u32string& named = {});
void SetMainWindowTitle(const char* title);
// True while the main window is not visible or is minimized.
bool IsMainWindowHidden();
// The outer rectangle of the main window when it is in its normal state;
// false when it is minimized or maximized (or there is no window).
bool GetMainWindowNormalRect(int* left, int* top, int* right, int* bottom);
// The DPI the main window is drawn at; 96 without one.
int MainWindowDpi();

// ---- The toolbar, its buttons known by their commands.

void SetToolbarButtonEnabled(int command, bool enabled);
void SetFindButtonEnabled(bool enabled);

struct MenuItemSpec {
    int id;            // 1-based; 0 is "dismissed"
    std::string text;
    bool checked;
};
// Pops a string menu up under the toolbar button of `buttonCommand` and
// returns the chosen id, 0 when dismissed.
int TrackToolbarMenu(int buttonCommand, const std::vector<MenuItemSpec>& items);
