// The fuzz targets' shared helpers.
#include "tests/fuzz/fuzz_support.h"

#include <cstdio>
#include <cstdlib>

#include "platform/file.h"
#include "platform/text.h"
#include "tests/support/temp_dir.h"

namespace fuzz {

void require(bool holds, const std::string& what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

const std::string& scratch_folder() {
    // Removed with everything in it when the process exits.
    static const testing_support::TempDir folder;
    static const std::string path = folder.path().string();
    return path;
}

std::string as_string(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

void write_file(const std::string& path, const std::string& bytes) {
    platform::File file = platform::File::open(path, platform::Creation::create_always, nullptr);
    require(file.is_open() && file.write(bytes) == bytes.size(), "scratch file written: " + path);
}

bool writes_back_unchanged(const std::string& text) {
    return text.find('\r') == std::string::npos && text.find("\xEF\xBF\xBD") == std::string::npos;
}

std::size_t characters(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += platform::utf8_sequence_length(text, i)) ++count;
    return count;
}

}  // namespace fuzz
