// The version records, the icon and the manifest that the two executables carry.
#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "support/WinePath.h"

using halcyra::test::WindowsPath;

namespace {

struct VersionRecord {
    std::vector<char> data;
    std::string Text(const char* name) const {
        char* value = nullptr;
        UINT length = 0;
        const std::string key = std::string("\\StringFileInfo\\040904B0\\") + name;
        if (!VerQueryValueA(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) ||
            !value) {
            return "<missing>";
        }
        return std::string(value);
    }
    VS_FIXEDFILEINFO Fixed() const {
        VS_FIXEDFILEINFO* info = nullptr;
        UINT length = 0;
        VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length);
        return info ? *info : VS_FIXEDFILEINFO{};
    }
};

VersionRecord ReadRecord(const std::string& path) {
    VersionRecord record;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size != 0) {
        record.data.resize(size);
        GetFileVersionInfoA(path.c_str(), 0, size, record.data.data());
    }
    return record;
}

std::string OwnPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

struct Expected {
    const char* description;
    const char* version;
    const char* internalName;
    const char* originalName;
    DWORD ms, ls;
};

void ExpectRecord(const std::string& path, const Expected& e) {
    const VersionRecord record = ReadRecord(path);
    ASSERT_FALSE(record.data.empty()) << path;
    EXPECT_EQ(record.Text("FileDescription"), e.description);
    EXPECT_EQ(record.Text("CompanyName"), "Quorvix Software");
    EXPECT_EQ(record.Text("ProductName"), "Halcyra");
    EXPECT_EQ(record.Text("FileVersion"), e.version);
    EXPECT_EQ(record.Text("ProductVersion"), e.version);
    EXPECT_EQ(record.Text("InternalName"), e.internalName);
    EXPECT_EQ(record.Text("OriginalFilename"), e.originalName);
    const VS_FIXEDFILEINFO fixed = record.Fixed();
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, e.ms);
    EXPECT_EQ(fixed.dwFileVersionLS, e.ls);
    EXPECT_EQ(fixed.dwProductVersionMS, e.ms);
    EXPECT_EQ(fixed.dwProductVersionLS, e.ls);
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
}

const Expected kCorvane{"Halcyra Launcher", "1.00", "Corvane", "Corvane.exe", 0x00010000, 0};
const Expected kHalcyra{"Halcyra", "1.3.2", "Halcyra", "Halcyra.exe", 0x00010003, 0x00020000};

TEST(ResourcesTest, CorvaneVersionRecord) {
    ExpectRecord(WindowsPath(CORVANE_EXE), kCorvane);
}

// This test program links Halcyra's version record itself.
TEST(ResourcesTest, HalcyraVersionRecordAsCompiled) {
    ExpectRecord(OwnPath(), kHalcyra);
}

#ifdef HALCYRA_EXE
// Halcyra.exe is built by its own target; this checks it whenever the build has one.
TEST(ResourcesTest, HalcyraExeVersionRecord) {
    const std::string path = WindowsPath(HALCYRA_EXE);
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "Halcyra.exe not built: " << path;
    }
    ExpectRecord(path, kHalcyra);
}
#endif

BOOL CALLBACK FirstName(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    *reinterpret_cast<ULONG_PTR*>(param) = reinterpret_cast<ULONG_PTR>(name);
    return FALSE;
}

std::string Resource(HMODULE module, LPCSTR type, int id) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found) {
        return {};
    }
    HGLOBAL loaded = LoadResource(module, found);
    return std::string(static_cast<const char*>(LockResource(loaded)),
                       SizeofResource(module, found));
}

TEST(ResourcesTest, CorvaneCarriesTheApplicationIconFirstAndTheManifest) {
    const std::string path = WindowsPath(CORVANE_EXE);
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    ULONG_PTR first = 0;
    EnumResourceNamesA(module, MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */, FirstName,
                       reinterpret_cast<LONG_PTR>(&first));
    EXPECT_EQ(first, 1u); // IDI_HALCYRA, so Explorer shows it for the file
    HICON icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon) {
        DestroyIcon(icon);
    }
    const std::string manifest = Resource(module, MAKEINTRESOURCEA(24) /* RT_MANIFEST */, 1);
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    FreeLibrary(module);
}

TEST(ResourcesTest, ManifestAsksForCommonControls6SystemDpiAndTheCallersRights) {
    const std::string manifest =
        Resource(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(24) /* RT_MANIFEST */, 1);
    ASSERT_FALSE(manifest.empty());
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "<requestedExecutionLevel level=\"asInvoker\"",
          ">true</dpiAware>", ">PerMonitorV2</dpiAwareness>",
          "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",    // Windows 7
          "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) { // Windows 10
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    // The loader took it: comctl32 comes from the side-by-side store, not from system32.
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char loaded[MAX_PATH] = {};
    GetModuleFileNameA(comctl, loaded, MAX_PATH);
    std::string lower = loaded;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_NE(lower.find("microsoft.windows.common-controls_6595b64144ccf1df_6."),
              std::string::npos)
        << loaded;
}

} // namespace
