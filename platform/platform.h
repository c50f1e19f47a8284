// The few effects the portable logic needs from the window system and the disk.
// Two implementations: platform_win32.cpp (the real program) and
// platform_headless.cpp (command-line tool and unit tests).
#pragma once

#include <cstddef>
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

// ---- Files. Paths are relative to the current directory (the program
// folder) and use '\' as separator, as the dictionary layout writes them.

struct FolderItem {
    std::string name;
    bool isDirectory;
};

// Opens without sharing, reads the whole file. False when it cannot be
// opened; a short read leaves only the bytes actually read in `out`.
bool PlatformReadFile(const char* path, std::vector<unsigned char>& out);
// Writes the file whole through a temporary file in the same folder and an
// atomic replace; on any failure the old file is left as it was.
bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size);
// The items of the current directory in the order the system lists them.
std::vector<FolderItem> PlatformListCurrentDirectory();
// The items of a folder (relative to the current directory), in the order
// the system lists them; empty when it cannot be listed.
std::vector<FolderItem> PlatformListFolder(const char* path);
bool PlatformCreateFolder(const char* name);
bool PlatformNameExists(const char* name);

// ---- The main window's word edit (control 1000) and description edit (1001).

// Setting the word edit's text runs the change handler (OnEditChange with
// the word edit) before it returns, as the edit control's EN_CHANGE does.
void SetWordEditText(const char* text);
// Copies at most limit - 1 bytes and a NUL; returns the bytes copied.
int GetWordEditText(char* buffer, int limit);
void GetWordEditSelection(int* start, int* end);
void SetWordEditSelection(int start, int end);
void FocusWordEdit();

// Setting the description raises no change notification.
void SetDescriptionEditText(const char* text);
int GetDescriptionEditText(char* buffer, int limit);
// Lines as displayed (wrapped lines counted).
int GetDescriptionEditLineCount();

// ---- Main window.

int ShowMessageBox(const char* text, const char* caption, unsigned style);
void SetMainWindowTitle(const char* title);
// True while the main window is not visible or is minimized.
bool IsMainWindowHidden();
// The outer rectangle of the main window when it is in its normal state;
// false when it is minimized or maximized (or there is no window).
bool GetMainWindowNormalRect(int* left, int* top, int* right, int* bottom);

// ---- Toolbar.

void SetToolbarButtonEnabled(int command, bool enabled);
void SetFindButtonEnabled(bool enabled);

struct MenuItemSpec {
    int id;            // 1-based; 0 is "dismissed"
    std::string text;
    bool checked;
};
// Pops a string menu up under the toolbar button at `buttonPosition`
// (separators counted) and returns the chosen id, 0 when dismissed.
int TrackToolbarMenu(int buttonPosition, const std::vector<MenuItemSpec>& items);
