// Both programs' Czech texts drawn under Wine with a Western European and with a Czech system
// locale: the dialogs from the executables' own templates and the counter box must look the same,
// as bitmap fonts bound to the code page would not.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>

#include "tests/support/posix/wine_rig.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;
using CzechTextWineE2e = testing_support::WineE2e;

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Wine takes its code page from the Unix locale. The locale is built once into the build's folder
// (from the sources of Debian's "locales" package), so none has to be installed system-wide.
std::map<std::string, std::string> locale_env(const std::string& name) {
    const std::string folder = std::string(VELMORA_BIN_DIR) + "/../test-locales";
    std::filesystem::create_directories(folder);
    const std::string language = name.substr(0, name.find('.'));
    if (!std::filesystem::exists(folder + "/" + name + "/LC_CTYPE")) {
        run_process({"localedef", "-i", language, "-f", "UTF-8", folder + "/" + name}, {}, 120s);
    }
    if (!std::filesystem::exists(folder + "/" + name + "/LC_CTYPE")) return {};
    return {{"LOCPATH", folder}, {"LC_ALL", name}, {"LANG", name}};
}

TEST_F(CzechTextWineE2e, DrawnAlikeUnderWesternAndCzechLocales) {
    // Wine's own copies of the fonts Windows has (Debian's "fonts-wine").
    const std::string fonts = "/usr/share/wine/fonts";
    ASSERT_TRUE(std::filesystem::exists(fonts + "/tahoma.ttf")) << "scripts/install-deps";
    const std::vector<std::string> args{"Z:" + fonts, rig.wine_file("Ravelo.exe"),
                                        rig.wine_file("Lumbra.exe")};
    std::map<std::string, std::vector<std::string>> drawn;
    for (const char* locale : {"en_US.UTF-8", "cs_CZ.UTF-8"}) {
        const auto env = locale_env(locale);
        ASSERT_FALSE(env.empty()) << "localedef could not build " << locale
                                  << " (scripts/install-deps installs the locales package)";
        const auto run = run_process(rig.windows_tool("text-render.exe", args), env, 60s);
        ASSERT_EQ(run.exit_status, 0) << run.out << run.err;
        drawn[locale] = lines_of(run.out);
    }
    // The locales did take effect: the Western code page, then the Central European one.
    const auto& western = drawn["en_US.UTF-8"];
    const auto& czech = drawn["cs_CZ.UTF-8"];
    ASSERT_FALSE(western.empty());
    ASSERT_FALSE(czech.empty());
    EXPECT_EQ(western.front(), "acp 1252");
    EXPECT_EQ(czech.front(), "acp 1250");
    // Every text of both programs' four windows, and the counter box.
    EXPECT_GE(czech.size(), 25u);
    EXPECT_EQ(std::vector<std::string>(czech.begin() + 1, czech.end()),
              std::vector<std::string>(western.begin() + 1, western.end()));
    for (const std::string& line : czech) {
        EXPECT_NE(line.substr(line.size() - 2), " 0") << "nothing drawn: " << line;
    }
}

}  // namespace
