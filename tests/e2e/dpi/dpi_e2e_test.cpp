// The program at 96, 120, 144 and 192 DPI, and moved from one DPI to
// another. Each program reads the screen's DPI (LogPixels) when it starts;
// these tests change it, and run in a Wine prefix of their own
// (tests/e2e/dpi/dpi.cmake) so that no failure can leave the shared prefix
// at another DPI.
#include "tests/e2e/e2e_support.h"

#include <commctrl.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

namespace {

enum : int {
    kNewCommand = 40013,
    kSimilarCommand = 40016,
    kSettingsCommand = 40019,
    kInfoCommand = 40025,
    kAboutCommand = 40026,
    kAllDictionariesCommand = 40037,
    kSetWordFont = 1007,
    kWordSample = 1011,
    kDescriptionSample = 1012,
    kChooserSizes = 1138,  // the font chooser's list of sizes
};
const int kDpis[] = {96, 120, 144, 192};
// The header's fonts in the test dictionary: Times New Roman, 16 pixels at
// 96 DPI (e2e_support's WriteDictionary).
constexpr int kHeaderFontHeight = 16;
// Where the header keeps the word font's height.
constexpr size_t kWordFontHeightOffset = 64 + 8;

int Scaled(int value, int dpi) { return MulDiv(value, dpi, 96); }

void SetScreenDpi(DWORD dpi) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi);
    RegCloseKey(key);
}

RECT InClient(HWND parent, HWND child) {
    RECT rect = WindowRect(child);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string Describe(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
           std::to_string(r.bottom) + ")";
}

// A toolbar button as wide and high as the one at 96 DPI scaled, within two
// pixels, in the same row: the buttons' places add up the rounding.
void ExpectButtonScaled(const RECT& at96, const RECT& actual, int dpi, const std::string& what) {
    EXPECT_NEAR(actual.right - actual.left, Scaled(at96.right - at96.left, dpi), 2) << what << " at " << dpi << " DPI";
    EXPECT_NEAR(actual.bottom - actual.top, Scaled(at96.bottom - at96.top, dpi), 2) << what << " at " << dpi << " DPI";
    EXPECT_EQ(actual.top, Scaled(at96.top, dpi)) << what << " at " << dpi << " DPI";
}

// Every edge of `actual` within two pixels of `at96` scaled to `dpi`.
void ExpectScaled(const RECT& at96, const RECT& actual, int dpi, const std::string& what) {
    RECT wanted = {Scaled(at96.left, dpi), Scaled(at96.top, dpi), Scaled(at96.right, dpi), Scaled(at96.bottom, dpi)};
    bool close = std::abs(actual.left - wanted.left) <= 2 && std::abs(actual.top - wanted.top) <= 2 &&
                 std::abs(actual.right - wanted.right) <= 2 && std::abs(actual.bottom - wanted.bottom) <= 2;
    EXPECT_TRUE(close) << what << " at " << dpi << " DPI is " << Describe(actual) << ", not about " << Describe(wanted);
}

// A font of the driver's own, as the program should have made it.
class Font {
public:
    Font(int height, const char* face, BYTE charSet = DEFAULT_CHARSET) {
        LOGFONTA font = {};
        font.lfHeight = height;
        font.lfCharSet = charSet;
        std::strcpy(font.lfFaceName, face);
        handle_ = CreateFontIndirectA(&font);
        dc_ = CreateCompatibleDC(nullptr);
        previous_ = SelectObject(dc_, handle_);
    }
    ~Font() {
        SelectObject(dc_, previous_);
        DeleteDC(dc_);
        DeleteObject(handle_);
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    int LineHeight() const {
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc_, &metrics);
        return metrics.tmHeight;
    }
    SIZE Extent(const std::string& text) const {
        SIZE size = {};
        GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
        return size;
    }
    // The height the text takes wrapped at `width`.
    int WrappedHeight(const std::string& text, int width) const {
        RECT needed = {0, 0, width, 0};
        DrawTextA(dc_, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
        return needed.bottom;
    }

private:
    HFONT handle_;
    HDC dc_;
    HGDIOBJ previous_;
};

// The dictionary fonts at `dpi`, measured in the edits that show them:
// the description's distance from line to line and the word edit's width
// of ten letters.
struct ShownFonts {
    int descriptionLine;
    int wordLetters;
};

ShownFonts MeasureFonts(const RunningProgram& program) {
    HWND word = Control(program, kWordEdit), description = Control(program, kDescriptionEdit);
    Send(description, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("a\r\nb\r\nc"));
    Send(word, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("mmmmmmmmmm"));
    LRESULT first = Send(description, EM_POSFROMCHAR, 0), third = Send(description, EM_POSFROMCHAR, 6);
    LRESULT start = Send(word, EM_POSFROMCHAR, 0), end = Send(word, EM_POSFROMCHAR, 9);
    return {(static_cast<short>(HIWORD(third)) - static_cast<short>(HIWORD(first))) / 2,
            static_cast<short>(LOWORD(end)) - static_cast<short>(LOWORD(start))};
}

// The fonts the header asks for, made at `dpi` by the driver.
ShownFonts ExpectedFonts(int dpi) {
    Font header(Scaled(kHeaderFontHeight, dpi), "Times New Roman", RUSSIAN_CHARSET);
    return {header.LineHeight(), header.Extent("mmmmmmmmm").cx};
}

struct MainGeometry {
    RECT client;
    std::map<int, RECT> controls;  // client coordinates
    std::vector<RECT> buttons;     // toolbar coordinates
};

MainGeometry MeasureMainWindow(const RunningProgram& program) {
    MainGeometry geometry;
    GetClientRect(program.window, &geometry.client);
    for (int id : {kSeparator, kWordEdit, kFindButton, kDescriptionEdit, kToolbar})
        geometry.controls[id] = InClient(program.window, Control(program, id));
    for (int i = 0; i < 24; ++i) geometry.buttons.push_back(ToolbarButtonRect(program, i));
    return geometry;
}

void ExpectInsideWithoutOverlap(HWND parent, const std::vector<HWND>& children, const std::string& where) {
    RECT client;
    GetClientRect(parent, &client);
    for (size_t i = 0; i < children.size(); ++i) {
        RECT r = InClient(parent, children[i]);
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << where << ": control " << GetDlgCtrlID(children[i]) << " " << Describe(r) << " leaves its parent "
            << Describe(client);
        for (size_t j = i + 1; j < children.size(); ++j) {
            RECT other = InClient(parent, children[j]), both;
            EXPECT_FALSE(IntersectRect(&both, &r, &other))
                << where << ": controls " << GetDlgCtrlID(children[i]) << " and " << GetDlgCtrlID(children[j])
                << " overlap";
        }
    }
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

// A dialog, a property sheet or a page as the program shows it at `dpi`:
// every visible control inside its parent, none over another (a group box
// holds controls, a tab control its page), and every caption drawn in the
// dialog font of the templates fits its control.
void ExpectDialogFits(HWND dialog, int dpi, const std::string& where) {
    Font dialogFont(-MulDiv(8, dpi, 72), "MS Shell Dlg");
    int checkBox = GetSystemMetricsForDpi(SM_CXMENUCHECK, static_cast<UINT>(dpi));
    std::vector<HWND> apart;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        std::string kind = ClassOf(child);
        LONG style = GetWindowLongA(child, GWL_STYLE);
        int id = GetDlgCtrlID(child);
        std::string what = where + ", control " + std::to_string(id) + " \"" + TextOf(child) + "\"";
        if (kind == "#32770") {
            ExpectDialogFits(child, dpi, where + ", page \"" + TextOf(child) + "\"");
            continue;
        }
        bool groupBox = lstrcmpiA(kind.c_str(), "Button") == 0 && (style & BS_TYPEMASK) == BS_GROUPBOX;
        bool frame = lstrcmpiA(kind.c_str(), "Static") == 0 && (style & SS_TYPEMASK) >= SS_BLACKFRAME &&
                     (style & SS_TYPEMASK) <= SS_WHITEFRAME;
        frame = frame || (lstrcmpiA(kind.c_str(), "Static") == 0 && (style & SS_TYPEMASK) == SS_ETCHEDFRAME);
        if (!groupBox && !frame && kind != WC_TABCONTROLA) apart.push_back(child);

        std::string text = TextOf(child);
        RECT area;
        GetClientRect(child, &area);
        if (text.empty() || id == kWordSample || id == kDescriptionSample) continue;  // samples show other fonts
        if (lstrcmpiA(kind.c_str(), "Static") == 0) {
            LONG type = style & SS_TYPEMASK;
            if (style & SS_ELLIPSISMASK) continue;  // shortened to fit
            if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
                EXPECT_LE(dialogFont.WrappedHeight(text, area.right), area.bottom) << what << " at " << dpi << " DPI";
            } else if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) {
                EXPECT_LE(dialogFont.Extent(text).cx, area.right) << what << " at " << dpi << " DPI";
            }
        } else if (lstrcmpiA(kind.c_str(), "Button") == 0) {
            LONG type = style & BS_TYPEMASK;
            SIZE extent = dialogFont.Extent(text);
            bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                       type == BS_AUTORADIOBUTTON || type == BS_3STATE || type == BS_AUTO3STATE;
            EXPECT_LE((box ? checkBox : 0) + extent.cx, area.right) << what << " at " << dpi << " DPI";
            if (!groupBox) {
                EXPECT_LE(extent.cy, area.bottom) << what << " at " << dpi << " DPI";
            }
        }
    }
    ExpectInsideWithoutOverlap(dialog, apart, where);
}

class DpiTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian",
                        {{"cat", "kotka"}, {"catalogue", "katalog"}, {"cattle", "dobitak"}, {"cow", "krava"}});
    }
    void TearDown() override {
        ProgramTest::TearDown();
        SetScreenDpi(96);
    }
    // Starts as on a first run, in the template's size, at `dpi`.
    RunningProgram& StartAt(int dpi) {
        SetScreenDpi(static_cast<DWORD>(dpi));
        WriteSettings(StoredSettings());
        return Start();
    }
    // Runs a command that opens a dialog, checks the dialog and closes it.
    void CheckDialog(const RunningProgram& program, int command, const char* caption, int dpi) {
        PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(command, 0), 0);
        HWND dialog = WaitForProgramDialog(program, caption);
        ASSERT_NE(dialog, nullptr) << "no \"" << caption << "\" at " << dpi << " DPI";
        ExpectDialogFits(dialog, dpi, caption);
        PressButton(dialog, IDCANCEL);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << caption << " stays open";
        Settle(program);
    }
};

TEST_F(DpiTest, ControlsToolbarAndFontsScaleWithTheDpi) {
    MainGeometry at96;
    for (int dpi : kDpis) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        RunningProgram& program = StartAt(dpi);
        ASSERT_FALSE(HasFatalFailure());
        MainGeometry now = MeasureMainWindow(program);
        if (dpi == 96) at96 = now;
        ExpectScaled(at96.client, now.client, dpi, "the client area");
        for (const auto& control : at96.controls)
            if (control.first != kToolbar)
                ExpectScaled(control.second, now.controls[control.first], dpi, "control " + std::to_string(control.first));
        for (size_t i = 0; i < at96.buttons.size(); ++i)
            ExpectButtonScaled(at96.buttons[i], now.buttons[i], dpi, "toolbar button " + std::to_string(i));

        ExpectDialogFits(program.window, dpi, "the main window");

        ShownFonts shown = MeasureFonts(program), wanted = ExpectedFonts(dpi);
        EXPECT_EQ(shown.descriptionLine, wanted.descriptionLine) << "the description font";
        EXPECT_EQ(shown.wordLetters, wanted.wordLetters) << "the word font";
        EndProgram(&program);
    }
}

TEST_F(DpiTest, EveryDialogShowsEveryCaptionWholeAtEveryDpi) {
    for (int dpi : kDpis) {
        SCOPED_TRACE(std::to_string(dpi) + " DPI");
        RunningProgram& program = StartAt(dpi);
        ASSERT_FALSE(HasFatalFailure());
        Send(Control(program, kWordEdit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("cat"));
        Settle(program);
        CheckDialog(program, kSettingsCommand, "Dictionary Options", dpi);
        CheckDialog(program, kAboutCommand, "Dictionary Options", dpi);
        CheckDialog(program, kInfoCommand, "Dictionary Info", dpi);
        CheckDialog(program, kNewCommand, "Create new dictionary", dpi);
        CheckDialog(program, kSimilarCommand, "Similar Words", dpi);
        CheckDialog(program, kAllDictionariesCommand, "Search in all dictionaries", dpi);
        EndProgram(&program);
    }
}

// As when the window is dragged to a monitor of another scale: the system
// sends the new DPI and the rectangle it suggests.
TEST_F(DpiTest, MovedToAnotherDpiTheWindowTakesTheSuggestedRectangleAndLaysItselfOutAgain) {
    RunningProgram& program = StartAt(96);
    ASSERT_FALSE(HasFatalFailure());
    const MainGeometry at96 = MeasureMainWindow(program);
    RECT before = WindowRect(program.window);

    auto moveTo = [&](int dpi, const RECT& suggested) {
        RemoteBlock block(program, sizeof suggested);
        ASSERT_TRUE(block.Write(&suggested, sizeof suggested));
        Send(program.window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), block.Address());
        Settle(program);
        RECT now = WindowRect(program.window);
        EXPECT_TRUE(EqualRect(&now, &suggested)) << "at " << Describe(now) << ", not " << Describe(suggested);
    };
    RECT suggested = {before.left + 40, before.top + 30, before.left + 40 + 2 * (before.right - before.left),
                      before.top + 30 + 2 * (before.bottom - before.top)};
    moveTo(192, suggested);
    ASSERT_FALSE(HasFatalFailure());
    MainGeometry now = MeasureMainWindow(program);
    // The frame keeps its size under Wine, so the client area grows by a
    // little more than twice; the controls stretch with it by the resize rule.
    int dx = now.client.right - Scaled(at96.client.right, 192), dy = now.client.bottom - Scaled(at96.client.bottom, 192);
    for (int id : {kSeparator, kWordEdit, kFindButton, kDescriptionEdit}) {
        RECT stretched = now.controls[id];
        if (id == kFindButton) OffsetRect(&stretched, -dx, 0);
        else if (id != kSeparator) stretched.right -= dx;
        if (id == kDescriptionEdit) stretched.bottom -= dy;
        if (id == kSeparator) stretched.right = Scaled(at96.controls.at(id).right, 192);
        ExpectScaled(at96.controls.at(id), stretched, 192, "control " + std::to_string(id));
    }
    for (size_t i = 0; i < at96.buttons.size(); ++i)
        ExpectButtonScaled(at96.buttons[i], now.buttons[i], 192, "toolbar button " + std::to_string(i));
    ShownFonts shown = MeasureFonts(program), wanted = ExpectedFonts(192);
    EXPECT_EQ(shown.descriptionLine, wanted.descriptionLine) << "the description font";
    EXPECT_EQ(shown.wordLetters, wanted.wordLetters) << "the word font";
    EXPECT_EQ(ProgramDialogs(program).size(), 0u);

    // Back at 96 DPI and the first rectangle, the window is as it began.
    moveTo(96, before);
    MainGeometry back = MeasureMainWindow(program);
    EXPECT_TRUE(EqualRect(&back.client, &at96.client));
    // (The toolbar goes to the top edge whenever the window is resized.)
    for (int id : {kSeparator, kWordEdit, kFindButton, kDescriptionEdit})
        EXPECT_TRUE(EqualRect(&back.controls[id], &at96.controls.at(id))) << "control " << id;
    for (size_t i = 0; i < at96.buttons.size(); ++i)
        EXPECT_TRUE(EqualRect(&back.buttons[i], &at96.buttons[i])) << "toolbar button " << i;
    shown = MeasureFonts(program);
    wanted = ExpectedFonts(96);
    EXPECT_EQ(shown.descriptionLine, wanted.descriptionLine) << "the description font";
}

// Chooses the word font at `size` points in the Info dialog's font chooser.
void ChooseWordFontSize(const RunningProgram& program, const wchar_t* size) {
    PostMessageA(program.window, WM_COMMAND, MAKEWPARAM(kInfoCommand, 0), 0);
    HWND info = WaitForProgramDialog(program, "Dictionary Info");
    ASSERT_NE(info, nullptr);
    PostMessageA(GetDlgItem(info, kSetWordFont), BM_CLICK, 0, 0);
    HWND chooser = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND dialog : ProgramDialogs(program))
            if (GetWindow(dialog, GW_OWNER) == info) chooser = dialog;
        return chooser != nullptr;
    })) << "no font chooser";
    HWND sizes = GetDlgItem(chooser, kChooserSizes);
    LRESULT count = Send(sizes, CB_GETCOUNT), chosen = -1;
    for (LRESULT i = 0; i < count && chosen < 0; ++i) {
        // The system carries a list's text across processes; Wine carries
        // the whole of it to a caller of the wide form only.
        wchar_t entry[64] = L"";
        DWORD_PTR length = 0;
        if (SendMessageTimeoutW(sizes, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG, kStepTimeout,
                                &length) &&
            length < 60)
            SendMessageTimeoutW(sizes, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry),
                                SMTO_ABORTIFHUNG, kStepTimeout, &length);
        if (std::wcscmp(entry, size) == 0) chosen = i;
    }
    ASSERT_GE(chosen, 0) << "the chooser offers no " << size;
    Send(sizes, CB_SETCURSEL, static_cast<WPARAM>(chosen));
    Send(chooser, WM_COMMAND, MAKEWPARAM(kChooserSizes, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sizes));
    PressButton(chooser, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(chooser); }));
    PressButton(info, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(info); }));
}

// The header is read by other programs and on other screens: a size chosen
// at 144 DPI is stored as the height a user at 96 DPI gets for it.
TEST_F(DpiTest, AFontChosenAt144DpiIsStoredAsAt96Dpi) {
    auto chosenHeight = [&](int dpi) {
        RunningProgram& program = StartAt(dpi);
        int32_t height = 0;
        if (HasFatalFailure()) return height;
        ChooseWordFontSize(program, L"12");
        std::string header = ReadBytes(folder_ + "\\English_Bulgarian\\00.dat");
        if (header.size() == 192) std::memcpy(&height, header.data() + kWordFontHeightOffset, sizeof height);
        EndProgram(&program);
        return height;
    };
    int32_t at96 = chosenHeight(96);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(at96, -16) << "12 points at 96 DPI";
    EXPECT_EQ(chosenHeight(144), at96);
}

}  // namespace
