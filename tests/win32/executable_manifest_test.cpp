// Both executables' embedded manifests: what Windows reads from them before the program runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win32/win32_test_support.h"

namespace {

std::string embedded_manifest(const std::wstring& exe) {
    HMODULE image = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!image) return "(not loaded)";
    std::string text = "(no manifest)";
    if (HRSRC found = FindResourceW(image, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(image, found)));
        if (bytes) text.assign(bytes, SizeofResource(image, found));
    }
    FreeLibrary(image);
    return text;
}

TEST(ExecutableManifest, RunsAsInvokerOnTheDeclaredWindowsSystemDpiAware) {
    for (const wchar_t* exe : {L"Ravelo.exe", L"Lumbra.exe"}) {
        const std::string manifest = embedded_manifest(win32_test::bin_directory() + exe);
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

}  // namespace
