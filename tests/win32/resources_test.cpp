// The compiled resources as the window code loads them: every template
// builds, holds the controls its procedure addresses, and the tables and
// pictures are there in the shapes the code relies on.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

INT_PTR CALLBACK IgnoreAll(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_MAIN), RT_DIALOG), nullptr)
            << "res/Dictionary.rc is not linked into this test program";
        InitCommonControls();
        host_ = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(IDD_MAIN), nullptr, IgnoreAll, 0);
        if (!host_) GTEST_SKIP() << "no windows can be created here (no display?)";
    }
    void TearDown() override {
        if (host_) DestroyWindow(host_);
    }

    // Builds a template (property pages as children of the host) and checks
    // that each control id is present.
    HWND Build(int id, std::initializer_list<int> controls) {
        HWND dialog = CreateDialogParamA(Instance(), MAKEINTRESOURCEA(id), host_, IgnoreAll, 0);
        EXPECT_NE(dialog, nullptr) << "template " << id;
        if (!dialog) return nullptr;
        for (int control : controls) EXPECT_NE(GetDlgItem(dialog, control), nullptr) << "template " << id << " control " << control;
        return dialog;
    }

    static LONG Style(HWND dialog, int control) {
        return GetWindowLongA(control ? GetDlgItem(dialog, control) : dialog, GWL_STYLE);
    }

    HWND host_ = nullptr;
};

TEST_F(ResourcesTest, MainWindowStartsHiddenAndSizable) {
    EXPECT_FALSE(Style(host_, 0) & WS_VISIBLE);
    EXPECT_TRUE(Style(host_, 0) & WS_THICKFRAME);
    for (int control : {IDC_WORD, IDC_DESCRIPTION, IDM_FIND, IDC_SEPARATOR}) EXPECT_NE(GetDlgItem(host_, control), nullptr);
    // Enter in the description is a new line; in the word edit it reaches Find.
    EXPECT_EQ(Style(host_, IDC_DESCRIPTION) & (ES_MULTILINE | ES_WANTRETURN), ES_MULTILINE | ES_WANTRETURN);
    EXPECT_FALSE(Style(host_, IDC_WORD) & ES_MULTILINE);
    EXPECT_EQ(SendDlgItemMessageA(host_, IDM_FIND, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON, DLGC_DEFPUSHBUTTON);
}

TEST_F(ResourcesTest, DialogsHoldTheControlsTheirProceduresUse) {
    Build(IDD_GENERAL, {IDC_STARTINBUL, IDC_AUTOCOMPLETE, IDC_SIMONNOTFOUND, IDC_CLIPCOPY, IDC_MULTINST,
                        IDC_ONTOP, IDC_TOOLTIPS, IDC_FLAT, IDC_TRAYMIN, IDC_STARTMIN, IDC_MINONCLOSE,
                        IDC_MINONFOCUS, IDC_MONITOR, IDC_DBLPOPUP, IDC_STARTWITHWINDOWS, IDC_STARTDICT, IDC_HOTKEY,
                        IDC_BASEFORMS});
    HWND about = Build(IDD_ABOUT, {IDC_VERSION, IDC_CHECKVERSION, IDC_ABOUTTEXT});
    // The picture static found its bitmap.
    HWND picture = about ? FindWindowExA(about, nullptr, "Static", nullptr) : nullptr;
    bool shown = false;
    for (; picture; picture = FindWindowExA(about, picture, "Static", nullptr))
        shown = shown || SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
    EXPECT_TRUE(shown);

    HWND created = Build(IDD_NEWDICT, {IDC_DICTNAME, IDC_DUAL, IDC_CASESENSITIVE, IDOK, IDCANCEL});
    if (created) EXPECT_FALSE(IsWindowEnabled(GetDlgItem(created, IDOK))) << "OK waits for a name";
    HWND info = Build(IDD_DICTINFO, {IDC_DICTNAME, IDC_FOLDER, IDC_WORDCOUNT, IDC_DICTSIZE, IDC_DUAL, IDC_CASESENSITIVE,
                                     IDC_WORDFONT_SET, IDC_DESCFONT_SET, IDC_WORDFONT_SAMPLE, IDC_DESCFONT_SAMPLE, IDOK});
    if (info) {
        EXPECT_FALSE(Style(info, IDC_DUAL) & WS_VISIBLE);
        EXPECT_FALSE(Style(info, IDC_CASESENSITIVE) & WS_VISIBLE);
    }
    // Enter in the word lists presses the invisible default Translate button.
    for (int id : {IDD_SIMILAR, IDD_ALLDICT}) {
        HWND list = Build(id, {IDC_LIST, IDOK, IDCANCEL});
        if (!list) continue;
        EXPECT_FALSE(Style(list, IDOK) & WS_VISIBLE) << id;
        EXPECT_EQ(Style(list, IDOK) & BS_TYPEMASK, BS_DEFPUSHBUTTON) << id;
        // The program orders the similar words itself, under its headings.
        const LONG sorted = id == IDD_ALLDICT ? LBS_SORT : 0;
        EXPECT_EQ(Style(list, IDC_LIST) & (LBS_NOTIFY | LBS_SORT), LBS_NOTIFY | sorted) << id;
    }
}

// Lines the text takes when the label wraps it at `width` pixels.
int WrappedLines(HWND label, const char* text, int width) {
    HDC dc = GetDC(label);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    RECT needed = {0, 0, width, 0};
    DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    return (needed.bottom + metrics.tmHeight - 1) / metrics.tmHeight;
}

// The General page's check boxes each show their whole caption beside the
// box, and the one added below both columns overlaps none of the others.
TEST_F(ResourcesTest, TheGeneralCheckBoxesShowTheirWholeCaptions) {
    HWND page = Build(IDD_GENERAL, {IDC_BASEFORMS});
    ASSERT_NE(page, nullptr);
    RECT added;
    GetWindowRect(GetDlgItem(page, IDC_BASEFORMS), &added);
    int boxes = 0;
    for (HWND child = GetWindow(page, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Button") != 0 || (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) != BS_AUTOCHECKBOX)
            continue;
        ++boxes;
        char caption[128] = "";
        GetWindowTextA(child, caption, sizeof caption);
        RECT area;
        GetClientRect(child, &area);
        HDC dc = GetDC(child);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)));
        SIZE text{};
        GetTextExtentPoint32A(dc, caption, static_cast<int>(std::strlen(caption)), &text);
        SelectObject(dc, previous);
        ReleaseDC(child, dc);
        EXPECT_LE(GetSystemMetrics(SM_CXMENUCHECK) + text.cx, area.right) << caption;
        if (GetDlgCtrlID(child) == IDC_BASEFORMS) continue;
        RECT place, both;
        GetWindowRect(child, &place);
        EXPECT_FALSE(IntersectRect(&both, &place, &added)) << caption;
    }
    EXPECT_EQ(boxes, 16);
}

// The About text in its label: the data credit, its last line, shows with
// a line to spare, and still shows where a wider font leaves a fifth less
// room on each line.
TEST_F(ResourcesTest, TheAboutTextFitsItsLabelWithRoomToSpare) {
    HWND about = Build(IDD_ABOUT, {IDC_ABOUTTEXT});
    ASSERT_NE(about, nullptr);
    HWND label = GetDlgItem(about, IDC_ABOUTTEXT);
    char text[2048] = "";
    LoadStringA(Instance(), IDS_ABOUTTEXT, text, sizeof text);
    ASSERT_NE(std::string(text).find("BY-SA"), std::string::npos) << "the data's licence is credited";
    RECT area;
    GetClientRect(label, &area);
    HDC dc = GetDC(label);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(label, dc);
    int room = area.bottom / metrics.tmHeight;

    EXPECT_LE(WrappedLines(label, text, area.right), room - 1);
    EXPECT_LE(WrappedLines(label, text, area.right * 4 / 5), room);
}

TEST(Resources, StringsLoadWithinTheirBuffers) {
    char text[2100];
    for (int id = IDS_NEWDICT; id <= IDS_VERSION; ++id) EXPECT_GT(LoadStringA(Instance(), id, text, sizeof text), 0) << id;
    int length = LoadStringA(Instance(), IDS_ABOUTTEXT, text, sizeof text);
    EXPECT_LT(length, 2048);
    EXPECT_EQ(std::string(text, 13), "About author:");
    // The version label gives it 20 bytes.
    EXPECT_LT(LoadStringA(Instance(), IDS_VERSION, text, sizeof text), 20);
}

TEST(Resources, AcceleratorsAreVirtualKeys) {
    HACCEL table = LoadAcceleratorsA(Instance(), MAKEINTRESOURCEA(IDA_MAIN));
    ASSERT_NE(table, nullptr);
    ACCEL keys[10];
    ASSERT_EQ(CopyAcceleratorTableA(table, keys, 10), 6);
    const struct { WORD key; BYTE modifiers; WORD command; } expected[] = {
        {VK_DOWN, FALT, IDM_OPEN}, {VK_ESCAPE, 0, IDM_ESCAPE}, {VK_F7, 0, IDM_PREVDICT},
        {VK_F8, 0, IDM_NEXTDICT}, {VK_RETURN, FCONTROL, IDM_SIM}, {VK_TAB, 0, IDM_FOCUSTOGGLE}};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(keys[i].key, expected[i].key) << i;
        EXPECT_EQ(keys[i].fVirt & ~0x80, FVIRTKEY | expected[i].modifiers) << i;
        EXPECT_EQ(keys[i].cmd, expected[i].command) << i;
    }
}

TEST(Resources, TrayMenuStartsWithShow) {
    HMENU menu = LoadMenuA(Instance(), MAKEINTRESOURCEA(IDM_TRAYMENU));
    ASSERT_NE(menu, nullptr);
    HMENU tray = GetSubMenu(menu, 0);
    ASSERT_NE(tray, nullptr);
    const UINT expected[] = {IDM_SHOW, 0, IDM_SETTINGS, IDM_ABOUT, 0, IDM_QUIT};
    ASSERT_EQ(GetMenuItemCount(tray), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(GetMenuItemID(tray, i), expected[i]) << i;
    DestroyMenu(menu);
}

// The toolbar strips hold 16 pictures each in full colour with alpha, one
// strip for each size the DPI picks; the About picture comes at four scales.
TEST(Resources, PicturesComeAtEverySizeTheWindowTakes) {
    const struct { int id, width, height, bits; } bitmaps[] = {
        {IDB_TOOLBAR, 256, 16, 32},    {IDB_TOOLBAR_20, 320, 20, 32}, {IDB_TOOLBAR_24, 384, 24, 32},
        {IDB_TOOLBAR_32, 512, 32, 32}, {IDB_TOOLBAR_48, 768, 48, 32}, {IDB_ABOUT, 100, 142, 24},
        {IDB_ABOUT_125, 125, 178, 24}, {IDB_ABOUT_150, 150, 213, 24}, {IDB_ABOUT_200, 200, 284, 24}};
    for (auto& expected : bitmaps) {
        HBITMAP bitmap = (HBITMAP)LoadImageA(Instance(), MAKEINTRESOURCEA(expected.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
        ASSERT_NE(bitmap, nullptr) << expected.id;
        DIBSECTION info{};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.dsBm.bmWidth, expected.width) << expected.id;
        EXPECT_EQ(info.dsBm.bmHeight, expected.height) << expected.id;
        EXPECT_EQ(info.dsBm.bmBitsPixel, expected.bits) << expected.id;
        if (expected.bits == 32) {
            // Most pictures transparent in their top left corner (rows go
            // bottom up), drawn in its middle.
            const BYTE* pixels = static_cast<const BYTE*>(info.dsBm.bmBits);
            int side = expected.height, stride = expected.width * 4;
            int clear = 0, drawn = 0;
            for (int picture = 0; picture < 16; ++picture) {
                clear += pixels[(side - 1) * stride + picture * side * 4 + 3] == 0;  // top left
                drawn += pixels[(side / 2) * stride + (picture * side + side / 2) * 4 + 3] != 0;
            }
            EXPECT_GE(clear, 12) << expected.id;
            EXPECT_GE(drawn, 13) << expected.id;
        }
        DeleteObject(bitmap);
    }
}

// Both icons hold every size the system asks for, from the notification
// area at 100 % to the large icons of Explorer.
TEST(Resources, IconsComeAtEverySizeTheSystemAsksFor) {
    for (int id : {IDI_MAIN, IDI_TRAY}) {
        HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
        ASSERT_NE(found, nullptr) << id;
        const BYTE* group = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found)));
        ASSERT_NE(group, nullptr) << id;
        WORD count = *reinterpret_cast<const WORD*>(group + 4);
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) sizes.push_back(group[6 + 14 * i] == 0 ? 256 : group[6 + 14 * i]);
        EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 48, 256})) << id;
        for (int side : {16, 32}) {
            HICON icon = (HICON)LoadImageA(Instance(), MAKEINTRESOURCEA(id), IMAGE_ICON, side, side, 0);
            ASSERT_NE(icon, nullptr) << id << "/" << side;
            ICONINFO parts{};
            ASSERT_TRUE(GetIconInfo(icon, &parts));
            HDC dc = CreateCompatibleDC(nullptr);
            HGDIOBJ old = SelectObject(dc, parts.hbmMask);
            EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255)) << id << "/" << side << ": a corner shows through";
            EXPECT_EQ(GetPixel(dc, side / 2, side / 2), RGB(0, 0, 0)) << id << "/" << side;
            SelectObject(dc, old);
            DeleteDC(dc);
            DeleteObject(parts.hbmMask);
            DeleteObject(parts.hbmColor);
            DestroyIcon(icon);
        }
    }
}

}  // namespace
