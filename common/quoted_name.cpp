// Removes the quotes a Windows caller puts around a file name with blanks in it.
#include "common/quoted_name.h"

#include "platform/paths.h"

namespace common {

namespace {

// The text of [begin, end) inside one pair of quotes that stands, blanks aside, at both of its
// ends and holds no other quote; false when there is no such pair.
bool inside_quotes(const std::string& text, std::size_t begin, std::size_t end,
                   std::string* inside) {
    while (begin < end && text[begin] == ' ') ++begin;
    while (end > begin && text[end - 1] == ' ') --end;
    if (end - begin < 2 || text[begin] != '"' || text[end - 1] != '"') return false;
    const std::size_t other = text.find('"', begin + 1);
    if (other != end - 1) return false;
    *inside = text.substr(begin + 1, end - begin - 2);
    return true;
}

}  // namespace

std::string without_name_quotes(const std::string& tail) {
    std::string inside;
    if (inside_quotes(tail, 0, tail.size(), &inside)) return inside;
    const std::size_t comma = tail.find(',');
    if (comma == std::string::npos) return tail;
    if (inside_quotes(tail, 0, comma, &inside)) return inside + tail.substr(comma);
    return tail;
}

std::string command_line_text(const std::string& tail) {
    return platform::double_quote_is_name_character() ? tail : without_name_quotes(tail);
}

}  // namespace common
