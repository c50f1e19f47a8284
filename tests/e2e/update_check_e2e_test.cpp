// The new-version check of the About page against a local https server
// (update_server.py) that the test starts, with a certificate trusted for
// the test's duration.
#include "tests/e2e/e2e_support.h"

#include <wincrypt.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

enum : int {
    kAboutCommand = 40026,
    kCheckButton = 1045,
};

const char kNewVersion[] = "New version is available. Do you want do visit Dictionary's web site?";
const char kLatestVersion[] = "You have the latest version";
const char kCannotConnect[] = "Cannot connect to Internet! Do you want to open Dictionary's web site in your browser?";
const char kAddressVariable[] = "DICTIONARY_TEST_UPDATE_ADDRESS";
const char kRootStoreKey[] = "Software\\Microsoft\\SystemCertificates\\Root";

// The Unix path of a file or folder of the driver, for the server.
std::string UnixPath(const std::string& windowsPath) {
    using Convert = char*(CDECL*)(const WCHAR*);
    auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!convert) return std::string();
    std::wstring wide(windowsPath.begin(), windowsPath.end());
    char* unix = convert(wide.c_str());
    if (!unix) return std::string();
    std::string path = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return path;
}

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// The machine's root store in the registry, where Wine's certificate
// checks look for trusted roots besides the system's own.
HCERTSTORE OpenRootStore() {
    HKEY key;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kRootStoreKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_REG, 0, 0, 0, key);
    RegCloseKey(key);
    return store;
}

class UpdateCheckTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        if (HasFatalFailure()) return;
        WriteDictionary(folder_, "English_Bulgarian", "English-Bulgarian", {{"cat", "kotka"}});
        WriteSettings(StoredSettings());
        StartServer();
        if (HasFatalFailure()) return;
        TrustCertificate();
    }
    void TearDown() override {
        ProgramTest::TearDown();  // removes the folder, which ends the server
        SetEnvironmentVariableA(kAddressVariable, nullptr);
        if (HCERTSTORE store = OpenRootStore()) {
            if (trusted_) {
                PCCERT_CONTEXT stored = CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                                   trusted_, nullptr);
                if (stored) CertDeleteCertificateFromStore(stored);
                CertFreeCertificateContext(trusted_);
            }
            CertCloseStore(store, 0);
        }
    }

    void StartServer() {
        serverFolder_ = folder_ + "\\server";
        ASSERT_TRUE(CreateDirectoryA(serverFolder_.c_str(), nullptr));
        std::string unixFolder = UnixPath(serverFolder_);
        ASSERT_FALSE(unixFolder.empty()) << "not running under Wine";
        // A Unix program: Wine starts it, but its process cannot be waited for.
        std::string commandLine = std::string(DICTIONARY_UPDATE_SERVER) + " " + unixFolder;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &process))
            << commandLine;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        std::string ready = serverFolder_ + "\\ready";
        ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesA(ready.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000))
            << "the server did not start";
        std::istringstream(FileText(ready)) >> trustedPort_ >> untrustedPort_ >> closedPort_;
        ASSERT_NE(trustedPort_, 0);
    }

    void TrustCertificate() {
        std::string der = FileText(serverFolder_ + "\\trusted.der");
        HCERTSTORE store = OpenRootStore();
        ASSERT_NE(store, nullptr);
        bool added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                                      static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                      &trusted_);
        CertCloseStore(store, 0);
        ASSERT_TRUE(added) << "cannot trust the test certificate";
    }

    std::string Address(int port, const char* path) {
        return "https://localhost:" + std::to_string(port) + path;
    }

    // Starts the program checking at `address` and opens the sheet on its
    // About page.
    RunningProgram& StartCheckingAt(const std::string& address) {
        SetEnvironmentVariableA(kAddressVariable, address.c_str());
        RunningProgram& program = Start();
        if (!HasFatalFailure()) OpenAboutPage(program);
        return program;
    }

    void OpenAboutPage(const RunningProgram& program) {
        PostMessageA(program.window, WM_COMMAND, kAboutCommand, 0);
        sheet_ = WaitForProgramDialog(program, "Dictionary Options");
        ASSERT_NE(sheet_, nullptr) << "no options sheet";
        button_ = nullptr;
        for (HWND page = FindWindowExA(sheet_, nullptr, "#32770", nullptr); page && !button_;
             page = FindWindowExA(sheet_, page, "#32770", nullptr))
            button_ = GetDlgItem(page, kCheckButton);
        ASSERT_NE(button_, nullptr) << "the About page is not shown";
    }

    // Clicks "Check for new version" and waits for the answer's box; checks
    // that it belongs to the sheet, which waits for it.
    HWND Check(const RunningProgram& program) {
        PostMessageA(button_, BM_CLICK, 0, 0);
        HWND box = WaitForProgramDialog(program, "Dictionary", 20000);
        EXPECT_NE(box, nullptr) << "no answer";
        if (!box) return nullptr;
        EXPECT_EQ(GetWindow(box, GW_OWNER), sheet_) << "the answer's box is not the sheet's";
        EXPECT_FALSE(IsWindowEnabled(sheet_)) << "the sheet stays usable under the box";
        return box;
    }

    // A whole check against `address`: its box says `text` and is answered
    // with `button`.
    void ExpectAnswer(const std::string& address, const char* text, int button) {
        RunningProgram& program = StartCheckingAt(address);
        ASSERT_FALSE(HasFatalFailure());
        HWND box = Check(program);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(MessageBoxText(box), text);
        Answer(box, button);
        EndProgram(&program);
    }

    void Answer(HWND box, int button) {
        PressButton(box, button);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(button_) != FALSE; })) << "the button stays disabled";
        EXPECT_EQ(TextOf(button_), "Check for new version");
    }

    std::string serverFolder_;
    int trustedPort_ = 0, untrustedPort_ = 0, closedPort_ = 0;
    PCCERT_CONTEXT trusted_ = nullptr;
    HWND sheet_ = nullptr;
    HWND button_ = nullptr;
};

TEST_F(UpdateCheckTest, ANewerVersionOffersTheProjectPageAndTheSameOneSaysSo) {
    ExpectAnswer(Address(trustedPort_, "/newer"), kNewVersion, IDNO);
    ExpectAnswer(Address(trustedPort_, "/same"), kLatestVersion, IDOK);
}

TEST_F(UpdateCheckTest, NoServerAnUntrustedCertificateOrAnErrorPageCannotConnect) {
    const std::pair<const char*, std::string> failures[] = {
        {"nothing listening", Address(closedPort_, "/newer")},
        {"untrusted certificate", Address(untrustedPort_, "/newer")},
        {"error page", Address(trustedPort_, "/missing")},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.first);
        ExpectAnswer(failure.second, kCannotConnect, IDNO);
    }
}

TEST_F(UpdateCheckTest, TheProgramAnswersWhileTheServerTakesItsTimeAndChecksOnce) {
    RunningProgram& program = StartCheckingAt(Address(trustedPort_, "/held"));
    ASSERT_FALSE(HasFatalFailure());
    PostMessageA(button_, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowEnabled(button_); })) << "the check does not show";
    EXPECT_EQ(TextOf(button_), "Checking...");
    // The button's command again, as a second click would give it.
    PostMessageA(GetParent(button_), WM_COMMAND, MAKEWPARAM(kCheckButton, BN_CLICKED), 0);

    // While the server holds its answer, the sheet closes and the main
    // window looks a word up.
    PressButton(sheet_, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(sheet_); })) << "the sheet waits for the server";
    SetText(Control(program, kWordEdit), "cat");
    PostMessageA(program.window, WM_COMMAND, kFindButton, 0);
    Settle(program);
    EXPECT_EQ(ControlText(program, kDescriptionEdit), "kotka");

    // Opened again, the page shows the check still running and gets its answer.
    OpenAboutPage(program);
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_FALSE(IsWindowEnabled(button_));
    EXPECT_EQ(TextOf(button_), "Checking...");

    std::ofstream(serverFolder_ + "\\release").put('\n');
    HWND box = WaitForProgramDialog(program, "Dictionary", 20000);
    ASSERT_NE(box, nullptr) << "no answer";
    EXPECT_EQ(GetWindow(box, GW_OWNER), sheet_);
    EXPECT_EQ(MessageBoxText(box), kNewVersion);
    Answer(box, IDNO);
    EXPECT_EQ(FileText(serverFolder_ + "\\requests"), "/held\n") << "more than one check ran";
}

}  // namespace
