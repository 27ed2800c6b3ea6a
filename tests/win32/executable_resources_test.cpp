// Both executables' embedded resources: the manifest Windows reads before the program runs, and
// Lumbra.exe's version, icon and languages.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/wide.h"
#include "tests/win32/win32_test_support.h"

namespace {

using win32_test::bin_directory;

// A resource of an executable in the bin folder, in `language` (0: any); empty when there is none.
std::string resource(const wchar_t* exe, const wchar_t* name, const wchar_t* type,
                     LANGID language = 0) {
    const win32_test::Module image(
        LoadLibraryExW((bin_directory() + exe).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    HRSRC found = image ? FindResourceExW(image.get(), type, name, language) : nullptr;
    const auto* bytes =
        found ? static_cast<const char*>(LockResource(LoadResource(image.get(), found))) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(image.get(), found)) : std::string();
}

TEST(ExecutableManifest, RunsAsInvokerOnTheDeclaredWindowsSystemDpiAware) {
    for (const wchar_t* exe : {L"Ravelo.exe", L"Lumbra.exe"}) {
        const std::string manifest = resource(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
        SCOPED_TRACE(manifest);
        // Without an execution level UAC treats the program as a legacy one.
        EXPECT_NE(manifest.find(R"(<requestedExecutionLevel level="asInvoker" uiAccess="false"/>)"),
                  std::string::npos);
        for (const char* windows : {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                                    "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                                    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                                    "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10, 11
            EXPECT_NE(manifest.find(std::string("<supportedOS Id=\"") + windows + "\"/>"),
                      std::string::npos)
                << windows;
        }
        EXPECT_NE(manifest.find(">true</dpiAware>"), std::string::npos);
        // Per-monitor awareness would make the dialogs' scaling the program's own job.
        EXPECT_EQ(manifest.find("dpiAwareness"), std::string::npos);
        EXPECT_EQ(manifest.find("PerMonitor"), std::string::npos);
    }
}

// Lumbra.exe itself: version 4.0.0.0 named "Lumbra", the one 16-colour icon, and the
// templates in Czech.
TEST(LumbraExecutable, VersionIconAndLanguage) {
    const std::wstring exe = bin_directory() + L"Lumbra.exe";
    DWORD ignored = 0;
    std::vector<BYTE> info(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
    ASSERT_GT(info.size(), 0u);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    const auto query = [&](const std::wstring& path) {
        void* found = nullptr;
        UINT length = 0;
        return VerQueryValueW(info.data(), path.c_str(), &found, &length) ? found : nullptr;
    };
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ((std::vector<DWORD>{fixed->dwFileVersionMS, fixed->dwFileVersionLS,
                                  fixed->dwProductVersionMS, fixed->dwProductVersionLS}),
              (std::vector<DWORD>{0x00040000u, 0, 0x00040000u, 0}));
    const auto* translation = static_cast<const WORD*>(query(L"\\VarFileInfo\\Translation"));
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], 0x0405);
    EXPECT_EQ(translation[1], 1250);
    const auto value = [&](const wchar_t* name) {
        const void* text = query(std::wstring(L"\\StringFileInfo\\040504E2\\") + name);
        return text ? platform::from_wide(static_cast<const wchar_t*>(text)) : "(missing)";
    };
    EXPECT_EQ(value(L"FileVersion"), "4.0.0.0");
    EXPECT_EQ(value(L"ProductVersion"), "4.0.0.0");
    EXPECT_EQ(value(L"ProductName"), "Lumbra");
    EXPECT_EQ(value(L"FileDescription"), "Lumbra");
    EXPECT_EQ(value(L"Comments"),
              "Aplikace pro nahrání databáze do terminálu Velmora přes RS-232 a IrDA port");

    const std::string group = resource(L"Lumbra.exe", L"LOOKUP", RT_GROUP_ICON);
    ASSERT_GE(group.size(), 14u);
    // GRPICONDIR: reserved, type 1, count; then 14-byte entries: width, height, colours, ...
    const auto* bytes = reinterpret_cast<const BYTE*>(group.data());
    const auto word = [&](int at) { return static_cast<int>(bytes[at] | bytes[at + 1] << 8); };
    EXPECT_EQ(word(2), 1);
    EXPECT_EQ(word(4), 1) << "one image";
    EXPECT_EQ(bytes[6], 32);
    EXPECT_EQ(bytes[7], 32);
    EXPECT_EQ(bytes[8], 16) << "16 colours";
    EXPECT_EQ(word(12), 4) << "4 bits per pixel";
    const LANGID czech = MAKELANGID(LANG_CZECH, SUBLANG_DEFAULT);
    for (const wchar_t* name : {L"COMPROPERTIESDLG", L"PROGRESSDLG"}) {
        EXPECT_NE(resource(L"Lumbra.exe", name, RT_DIALOG, czech), "") << platform::from_wide(name);
    }
    EXPECT_NE(resource(L"Lumbra.exe", L"LOOKUP", RT_GROUP_ICON, czech), "");
}

}  // namespace
