// The encoding of received and lookup files: the terminal's code page 1250, or UTF-8 for Linux.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace common {

// cp1250 keeps the bytes exactly as the terminal has them (the Windows build always does).
enum class FileCharset { cp1250, utf8 };

// "cp1250" or "utf-8" (any case; "utf8" too); nothing for any other name.
std::optional<FileCharset> parse_file_charset(std::string_view name);

// A received record's bytes as the file stores them.
std::string record_for_file(FileCharset charset, std::string_view record);

}  // namespace common
