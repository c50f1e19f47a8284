// Every identifier of the program's resources, by kind.
#pragma once

// Dialog templates
#define IDD_MAIN 101
#define IDD_GENERAL 102
#define IDD_SIMILAR 104
#define IDD_ABOUT 105
#define IDD_NEWDICT 114
#define IDD_DICTINFO 116
#define IDD_ALLDICT 117

// Bitmaps, icons, menus, accelerators
#define IDI_MAIN 103
#define IDB_ABOUT 106
#define IDI_TRAY 108
#define IDB_TOOLBAR 109
#define IDA_MAIN 113
#define IDM_TRAYMENU 117

// Controls
#define IDC_WORD 1000
#define IDC_DESCRIPTION 1001
#define IDC_SIMONNOTFOUND 1005
#define IDC_LIST 1006
#define IDC_WORDCOUNT 1006
#define IDC_WORDFONT_SET 1007
#define IDC_STARTINBUL 1008
#define IDC_DESCFONT_SET 1008
#define IDC_CLIPCOPY 1010
#define IDC_WORDFONT_SAMPLE 1011
#define IDC_DESCFONT_SAMPLE 1012
#define IDC_TRAYMIN 1013
#define IDC_STARTMIN 1014
#define IDC_MONITOR 1015
#define IDC_TOOLTIPS 1018
#define IDC_DICTNAME 1019
#define IDC_DUAL 1020
#define IDC_CASESENSITIVE 1021
#define IDC_STARTDICT 1022
#define IDC_FOLDER 1025
#define IDC_DICTSIZE 1026
#define IDC_FLAT 1028
#define IDC_MINONCLOSE 1030
#define IDC_MULTINST 1031
#define IDC_ONTOP 1034
#define IDC_SEPARATOR 1035
#define IDC_HOTKEY 1036
#define IDC_AUTOCOMPLETE 1037
#define IDC_DBLPOPUP 1038
#define IDC_ABOUTTEXT 1040
#define IDC_MINONFOCUS 1041
#define IDC_STARTWITHWINDOWS 1044
#define IDC_CHECKVERSION 1045
#define IDC_VERSION 1046
#define IDC_BASEFORMS 1047
#define IDC_TOOLBAR 5000

// Commands
#define IDM_ESCAPE 8
#define IDM_PREVWORD 101
#define IDM_NEXTWORD 102
#define IDM_NEXT20 103
#define IDM_NEXTDICT 104
#define IDM_PREVDICT 105
#define IDM_HISTBACK 106
#define IDM_HISTFORWARD 107
#define IDM_HISTMENU 108
#define IDM_NEW 40013
#define IDM_OPEN 40014
#define IDM_FIND 40015
#define IDM_SIM 40016
#define IDM_ADD 40017
#define IDM_DEL 40018
#define IDM_SETTINGS 40019
#define IDM_HIDE 40020
#define IDM_QUIT 40021
#define IDM_FOCUSTOGGLE 40023
#define IDM_INFO 40025
#define IDM_ABOUT 40026
#define IDM_SHOW 40028
#define IDM_ALLDICT 40037

// Strings
#define IDS_NEWDICT 1
#define IDS_SELECTDICT 2
#define IDS_FIND 3
#define IDS_SIMILAR 4
#define IDS_ADD 5
#define IDS_DELETE 6
#define IDS_SETTINGS 7
#define IDS_ALLDICT 8
#define IDS_HIDE 9
#define IDS_QUIT 10
#define IDS_INFO 11
#define IDS_ABOUTTEXT 12
#define IDS_PREVWORD 13
#define IDS_NEXTWORD 14
#define IDS_NEXT20 15
#define IDS_HISTBACK 16
#define IDS_HISTFORWARD 17
#define IDS_HISTMENU 18
#define IDS_VERSION 19

// Other fixed values
#define HOTKEY_ID 26214
#define INSTANCE_MARK 0x6660333
#define WM_TRAYNOTIFY 2024
#define TRAY_ICON_ID 2024
#define CLIPBOARD_TIMER_ID 1000
// Another program (the installer, before it replaces the programs) asks the
// copies running from a folder to quit with this registered message.
#define QUIT_REQUEST_MESSAGE "Dictionary.QuitRequest"

// The project's web page: the About page shows it beside the release
// (string IDS_VERSION, from dictionary_version.h of the build).
#define PROJECT_PAGE_ADDRESS "https://dictionary.example.org/"
// The version check reads "dictionary=<newest version>" from this file.
#define UPDATE_INFO_ADDRESS PROJECT_PAGE_ADDRESS "version.txt"
