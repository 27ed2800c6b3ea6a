// A reader with a scripted user, a virtual clock, no ports and a fresh temporary directory.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>

#include "platform/paths.h"
#include "platform/serial.h"
#include "reader/reader.h"
#include "tests/support/recording_ui.h"
#include "tools/simulated-line/virtual_clock.h"

namespace reader_test {

class NoPorts : public platform::SerialPorts {
  public:
    std::unique_ptr<platform::SerialLine> open(const std::string&,
                                               platform::OpenError* error) override {
        if (error) *error = platform::OpenError::cannot_open;
        return nullptr;
    }
};

// Removed with everything in it when the test ends.
class TempDir {
  public:
    TempDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("ravelo-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    // With its trailing separator, as the executable's directory comes.
    std::string directory() const { return path_.string() + platform::path_separator(); }
    std::string file(const std::string& name) const {
        return platform::join_path(directory(), name);
    }

  private:
    std::filesystem::path path_;
};

inline void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ReaderFixture {
    NoPorts ports;
    simline::VirtualClock clock;
    testing_support::RecordingUi ui;
    ravelo::Reader reader{ports, clock, ui, ui};
    TempDir temp;
};

}  // namespace reader_test
