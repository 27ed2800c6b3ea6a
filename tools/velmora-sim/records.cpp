// Records from files or generated, and lines written back to files.
#include "tools/velmora-sim/records.h"

#include <cstdio>
#include <fstream>
#include <iterator>

namespace sim {

Records split_lines(const Bytes& content) {
    Records lines;
    Bytes line;
    bool open_line = false;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const std::uint8_t b = content[i];
        if (b == kCr || b == 0x0A) {
            lines.push_back(std::move(line));
            line.clear();
            open_line = false;
            if (b == kCr && i + 1 < content.size() && content[i + 1] == 0x0A) ++i;
        } else {
            line.push_back(b);
            open_line = true;
        }
    }
    if (open_line) lines.push_back(std::move(line));
    return lines;
}

bool load_records(const std::string& path, Records* records) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    Bytes content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    *records = split_lines(content);
    return true;
}

Records generate_records(std::size_t count, std::size_t size, std::size_t first_number) {
    static const char kFill[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-+";
    constexpr std::size_t kFillSize = sizeof kFill - 1;
    Records records;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t number = first_number + i;
        char number_text[24];
        std::snprintf(number_text, sizeof number_text, "R%05zu ", number % 100000);
        const std::string head = number_text;
        Bytes data;
        for (std::size_t k = 0; k < size; ++k) {
            const char c = k < head.size() ? head[k] : kFill[(number * 7 + k) % kFillSize];
            data.push_back(static_cast<std::uint8_t>(c));
        }
        records.push_back(std::move(data));
    }
    return records;
}

bool write_lines(const std::string& path, const std::vector<Bytes>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const Bytes& line : lines) {
        out.write(reinterpret_cast<const char*>(line.data()),
                  static_cast<std::streamsize>(line.size()));
        out.write("\r\n", 2);
    }
    out.close();
    return !out.fail();
}

}  // namespace sim
