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

// Files are read whole into memory; one of 2 GiB or more cannot be held.
constexpr unsigned long long kMaxReadableFileSize = 0x7FFFFFFEull;

enum class FileReadOutcome {
    Read,        // the whole file is in `out`
    Absent,      // there is no file of that name
    Unreadable,  // it is there but could not be opened or read whole (held
                 // open elsewhere, no permission, not a plain file, a read
                 // error, too large, no memory); `out` is empty
};
// Opens without sharing and reads the whole file.
FileReadOutcome PlatformReadWholeFile(const char* path, std::vector<unsigned char>& out);
// The same for callers to whom either failure means "no data": true only
// when the whole file was read.
bool PlatformReadFile(const char* path, std::vector<unsigned char>& out);
// Writes the file whole through a temporary file in the same folder, named
// "<path>.tmp<process>.<count>", and an atomic replace; on any failure the
// old file is left as it was and the temporary file removed. A file marked
// read-only is never replaced.
bool PlatformWriteFileAtomic(const char* path, const void* data, size_t size);
bool PlatformDeleteFile(const char* path);
// The items of the current directory in the order the system lists them.
std::vector<FolderItem> PlatformListCurrentDirectory();
// The items of a folder (relative to the current directory), in the order
// the system lists them; empty when it cannot be listed.
std::vector<FolderItem> PlatformListFolder(const char* path);
bool PlatformCreateFolder(const char* name);
bool PlatformNameExists(const char* name);

// An exclusive lock held through an open file: POSIX flock, on Windows the
// file opened without sharing. The system drops it when the process ends,
// however it ends. The file is created when missing and left in place.
enum class FileLockOutcome { Held, Busy, Failed };
using PlatformLockHandle = long long;
// Tries for up to `waitMilliseconds`: Busy when another holder kept it that
// long, Failed when the file cannot be opened or created at all.
FileLockOutcome PlatformLockFile(const char* path, int waitMilliseconds, PlatformLockHandle* lock);
void PlatformUnlockFile(PlatformLockHandle lock);

// ---- The main window's word edit (control 1000) and description edit (1001).

// The program writes the word edit. The change handler (OnEditChange with
// the word edit) runs before this returns, as the edit control's EN_CHANGE
// does, and while it runs IsProgramWordEditChange() is true: what the
// program writes refreshes the handler's state but is never auto-completed.
// This is the one way the program writes the word edit.
void SetWordEditText(const char* text);
// True while the change handler runs for a write of SetWordEditText, false
// for a change the user made.
bool IsProgramWordEditChange();
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
