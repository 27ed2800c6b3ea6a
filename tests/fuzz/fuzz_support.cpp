// The fuzz targets' shared helpers.
#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/file.h"
#include "platform/text.h"

namespace fuzz {

void require(bool holds, const std::string& what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what.c_str());
    std::abort();
}

const std::string& scratch_folder() {
    // Never destroyed: the exit handler that removes the folder still needs its name.
    static const std::string* const folder = [] {
        const auto path =
            std::filesystem::temp_directory_path() / ("velmora-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(scratch_folder(), ignored);
        });
        return new std::string(path.string());
    }();
    return *folder;
}

std::string as_string(const std::uint8_t* data, std::size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

void write_file(const std::string& path, const std::string& bytes) {
    platform::File file = platform::File::open(path, platform::Creation::create_always, nullptr);
    require(file.is_open() && file.write(bytes) == bytes.size(), "scratch file written: " + path);
}

std::string read_file(const std::string& path) {
    std::string content;
    platform::read_whole_file(path, &content);
    return content;
}

std::size_t characters(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); i += platform::utf8_sequence_length(text, i)) ++count;
    return count;
}

}  // namespace fuzz
