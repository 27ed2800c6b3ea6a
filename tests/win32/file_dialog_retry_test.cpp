// A proposed name that Windows refuses: the dialog comes again without it instead of not at all.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <cderr.h>

#include <string>

#include "common/win32/file_dialog_buffer.h"

namespace {

struct Showings {
    int count = 0;
    std::wstring names[3];
    const wchar_t* folders[3] = {};
};
Showings showings;
DWORD refusal = 0;

// Refuses the first showing with `refusal`, and takes the second.
BOOL WINAPI refuse_first(LPOPENFILENAMEW dialog) {
    showings.names[showings.count] = dialog->lpstrFile;
    showings.folders[showings.count] = dialog->lpstrInitialDir;
    return showings.count++ > 0;
}

DWORD WINAPI last_refusal() {
    return refusal;
}

TEST(FileDialogRetry, OnlyAnInvalidNameBringsTheDialogAgainWithoutIt) {
    const struct {
        DWORD refusal;
        bool chosen;
        int showings;
    } cases[] = {
        {FNERR_INVALIDFILENAME, true, 2},
        {0, false, 1},  // the user cancelled
        {CDERR_DIALOGFAILURE, false, 1},
    };
    const std::wstring folder = L"C:\\Data";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refusal);
        showings = Showings{};
        refusal = c.refusal;
        std::wstring buffer = common::file_dialog_buffer("C:\\Data\\bad|name.txt");
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.nMaxFile = common::kFileDialogBuffer;
        EXPECT_EQ(common::show_file_dialog(refuse_first, dialog, buffer, folder, last_refusal),
                  c.chosen);
        ASSERT_EQ(showings.count, c.showings);
        EXPECT_EQ(showings.names[0], L"C:\\Data\\bad|name.txt");
        if (c.showings == 2) {
            EXPECT_EQ(showings.names[1], L"");
            EXPECT_EQ(std::wstring(showings.folders[1]), folder);
        }
    }
}

}  // namespace
