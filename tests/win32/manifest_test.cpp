// The programs as built carry their manifests: the system reads them when
// it starts a program, before any of its code runs.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// The manifest resource (type 24, id 1) of a program beside this test.
std::string ManifestOf(const char* program) {
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string file = path;
    file = file.substr(0, file.find_last_of('\\') + 1) + program;
    HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        ADD_FAILURE() << "cannot read " << file;
        return std::string();
    }
    std::string text;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
        if (data) text.assign(data, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

const char* const kSupportedSystems[] = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // Windows 7
    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // Windows 8
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // Windows 8.1
    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // Windows 10 and 11
};

TEST(Manifest, TheWindowedProgramAsksForStylesPerMonitorDpiAndNoElevation) {
    std::string manifest = ManifestOf("Dictionary.exe");
    ASSERT_FALSE(manifest.empty()) << "Dictionary.exe has no manifest";
    EXPECT_TRUE(Has(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    EXPECT_TRUE(Has(manifest, "publicKeyToken=\"6595b64144ccf1df\""));
    EXPECT_TRUE(Has(manifest, ">PerMonitorV2, PerMonitor</dpiAwareness>"));
    EXPECT_TRUE(Has(manifest, "http://schemas.microsoft.com/SMI/2016/WindowsSettings"));
    EXPECT_TRUE(Has(manifest, ">true/pm</dpiAware>"));
    EXPECT_TRUE(Has(manifest, "http://schemas.microsoft.com/SMI/2005/WindowsSettings"));
    EXPECT_TRUE(Has(manifest, "<requestedExecutionLevel level=\"asInvoker\""));
    for (const char* system : kSupportedSystems) EXPECT_TRUE(Has(manifest, system)) << system;
}

TEST(Manifest, TheToolNamesItsSystemsAndAsksForNoElevation) {
    std::string manifest = ManifestOf("dictionary-tool.exe");
    ASSERT_FALSE(manifest.empty()) << "dictionary-tool.exe has no manifest";
    EXPECT_TRUE(Has(manifest, "<requestedExecutionLevel level=\"asInvoker\""));
    for (const char* system : kSupportedSystems) EXPECT_TRUE(Has(manifest, system)) << system;
}

}  // namespace
