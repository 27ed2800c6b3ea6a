// Text conversion of malformed UTF-8, and the length caps that count its bytes as characters.
#include <gtest/gtest.h>

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
