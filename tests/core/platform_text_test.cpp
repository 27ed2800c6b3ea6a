// Text conversion of malformed UTF-8, the length caps that count its bytes as characters, and
// the data files' conversions between the terminal's code page and UTF-8.
#include <gtest/gtest.h>

#include "common/file_charset.h"
#include "platform/text.h"

namespace {

TEST(PlatformText, MalformedUtf8IsReplacedByteByByteNeverReadAsAnotherCharacter) {
    const struct {
        const char* name;
        std::string utf8;
        std::u16string utf16;
        std::string cp1250;
    } cases[] = {
        {"well-formed mix", "a\xC4\x8D\xE2\x82\xAC\xF0\x9F\x98\x80", u"a\u010D\u20AC\U0001F600",
         "a\xE8\x80?"},
        {"edges of the ranges", "\xC2\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF",
         u"\u0080\uD7FF\uE000\U0010FFFF", "????"},
        {"overlong NUL", std::string("\xC0\x80", 2), u"\uFFFD\uFFFD", "??"},
        {"overlong slash", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", "???"},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD", "????"},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", "???"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", "????"},
        {"no such lead", "\xF5\x80\xFF", u"\uFFFD\uFFFD\uFFFD", "???"},
        {"cut short", "\xE2\x82", u"\uFFFD\uFFFD", "??"},
        {"cut by ASCII", "\xE2\x82x", u"\uFFFD\uFFFDx", "??x"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(platform::utf8_to_utf16(c.utf8), c.utf16);
        EXPECT_EQ(platform::utf8_to_cp1250(c.utf8), c.cp1250);
    }
}

// Received records go to UTF-8 keeping every byte; lookup lines come back only when the code
// page holds every character of them.
TEST(PlatformText, DataFilesBetweenCodePage1250AndUtf8) {
    constexpr std::size_t both_ways = std::string::npos;
    const struct {
        const char* name;
        std::string cp1250;  // empty: the UTF-8 side has no code page 1250 form
        std::string utf8;
        std::size_t refused_at;
    } cases[] = {
        {"ASCII and controls", std::string("a\t\x01\x7F\0", 5), std::string("a\t\x01\x7F\0", 5),
         both_ways},
        {"Czech", "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2", "Příliš žluťoučký kůň",
         both_ways},
        {"euro, quotes, no-break space, dot above", "\x80\x84\x93\xA0\xFF",
         "€„“\u00A0"
         "˙",
         both_ways},
        {"the five undefined bytes stay as they are",
         "\x81\x83\x88\x90\x98"
         "A",
         "\x81\x83\x88\x90\x98"
         "A",
         0},
        {"a character code page 1250 lacks", "", "Año", 1},
        {"outside the BMP", "", "ok \U0001F600", 3},
        {"U+FFFD itself", "", "x\uFFFD", 1},
        {"malformed", "", "ab\xC3(", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.cp1250.empty()) {
            EXPECT_EQ(common::record_for_file(common::FileCharset::utf8, c.cp1250), c.utf8);
            EXPECT_EQ(common::record_for_file(common::FileCharset::cp1250, c.cp1250), c.cp1250);
        }
        std::size_t failed_at = both_ways;
        const std::optional<std::string> back =
            platform::utf8_to_cp1250_exactly(c.utf8, &failed_at);
        EXPECT_EQ(failed_at, c.refused_at);
        const std::optional<std::string> expected_back =
            c.refused_at == both_ways ? std::optional<std::string>(c.cp1250) : std::nullopt;
        EXPECT_EQ(back, expected_back);
    }
}

TEST(PlatformText, CapsCountMalformedBytesAsCharactersAndNeverSplitACharacter) {
    const std::string continuation(1000, '\x80');
    EXPECT_EQ(platform::first_characters(continuation, 255).size(), 255u);
    EXPECT_EQ(platform::first_characters("\xC0\x80\xC4\x8D"
                                         "abc",
                                         3),
              "\xC0\x80\xC4\x8D");
    EXPECT_EQ(platform::first_characters("\xC4\x8D\xC4\x8D", 5), "\xC4\x8D\xC4\x8D");

    EXPECT_EQ(platform::first_bytes(continuation, 299).size(), 299u);
    EXPECT_EQ(platform::first_bytes("ab\xE2\x82\xAC", 4), "ab");
    EXPECT_EQ(platform::first_bytes("ab\xE2\x82\xAC", 5), "ab\xE2\x82\xAC");
    EXPECT_EQ(platform::first_bytes("ab\xE0\x80\xAF", 4), "ab\xE0\x80");
}

}  // namespace
