// Window handles and the Win32 side of the main window, shared by the
// program's _win32 files.
#pragma once

#include <windows.h>

extern HINSTANCE ProgramInstance;
extern HWND MainWindow;
extern HWND Toolbar;
extern HWND OtherInstanceWindow;
extern HWND NextClipboardViewer;
extern HICON WindowIcon;
extern HICON TrayIconHandle;

// Start-up and shutdown.
int InitializeMainWindow();
bool FindRunningInstance();
void Quit();

// The main window.
INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void CaptureLayout();

// The two edits' key handling.
extern int KeyboardLayoutPending;
void SubclassEdit(HWND edit, WNDPROC procedure);
LRESULT CALLBACK EditKeyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Tray icon, show command, clipboard.
void ShowTrayIcon(DWORD operation);
void ShowMainWindow();
void PasteFromClipboard();
INT_PTR OnTrayNotify(LPARAM mouseMessage);
INT_PTR OnDrawClipboard(WPARAM wParam, LPARAM lParam);
INT_PTR OnChangeClipboardChain(WPARAM wParam, LPARAM lParam);
INT_PTR OnClipboardTimer();
void ShowCommand();

// Dictionary fonts on the two edits.
void ApplyDictionaryFonts();

// Secondary windows.
void ShowOptionsSheet(int startPage);
void ShowNewDictionaryDialog();
void ShowDictionaryInfo();
