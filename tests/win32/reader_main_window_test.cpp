// Ravelo.exe's hidden window: settings loaded at its creation, destroyed and exit code 1 however
// the run ends.
#include <gtest/gtest.h>
#include <windows.h>

#include <stdexcept>

#include "reader/win32/main_window.h"
#include "tests/core/reader_test_fixture.h"

namespace {

TEST(ReaderHiddenWindow, RunEndsWithTheWindowDestroyedAndCodeOneEvenByAnException) {
    const struct {
        const char* name;
        bool throws;
    } cases[] = {{"run returns", false}, {"run throws", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        reader_test::ReaderFixture f;
        reader_test::write_bytes(f.temp.file("Ravelo.ini"), "D:\\Data\r\nlist.txt\r\n");
        HWND during = nullptr;
        std::string loaded;
        const int code = ravelo::run_with_hidden_window(
            GetModuleHandleW(nullptr), f.reader,
            platform::ProgramFolders{f.temp.directory(), f.temp.directory(), {}}, [&] {
                during = FindWindowW(L"Ravelo", L"Čtení dat");
                loaded = f.reader.settings.file_name;
                if (c.throws) throw std::runtime_error("run failed");
            });
        EXPECT_EQ(code, 1);
        EXPECT_EQ(loaded, "list.txt");
        ASSERT_NE(during, nullptr);
        EXPECT_FALSE(IsWindow(during));
    }
}

}  // namespace
