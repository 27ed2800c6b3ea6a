// A pipe reports no size and gives its bytes once; held in memory, it is checked, sent and
// repeated as a file would be.
#include "sender/lookup_source.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace lumbra {

namespace {

constexpr std::size_t kLoadChunkBytes = 64 * 1024;

// Reads to the end, or until more than limit bytes have come or a read fails.
LookupLoad read_whole(platform::File& file, std::uint64_t limit, std::string* bytes) {
    for (;;) {
        const std::size_t had = bytes->size();
        bytes->resize(had + kLoadChunkBytes);
        const std::size_t got =
            file.read(reinterpret_cast<std::uint8_t*>(&(*bytes)[had]), kLoadChunkBytes);
        bytes->resize(had + got);
        if (file.read_failed()) return LookupLoad::unreadable;
        if (bytes->size() > limit) return LookupLoad::too_large;
        if (got < kLoadChunkBytes) return LookupLoad::loaded;
    }
}

}  // namespace

LookupLoad LookupSource::load(platform::File file, std::uint64_t memory_limit) {
    close();
    if (file.is_regular() && file.size() > 0) {
        file_ = std::move(file);
        return LookupLoad::loaded;
    }
    std::string bytes;
    const LookupLoad result = read_whole(file, memory_limit, &bytes);
    if (result == LookupLoad::loaded) hold(std::move(bytes));
    return result;
}

void LookupSource::hold(std::string bytes) {
    close();
    memory_ = std::move(bytes);
    in_memory_ = true;
}

void LookupSource::hold_converted(std::string bytes) {
    hold(std::move(bytes));
    converted_ = true;
}

void LookupSource::close() {
    file_.close();
    std::string().swap(memory_);  // gives the memory back, not just the contents
    position_ = 0;
    in_memory_ = false;
    converted_ = false;
}

std::size_t LookupSource::read(std::uint8_t* buffer, std::size_t n) {
    if (!in_memory_) return file_.read(buffer, n);
    const std::size_t k = std::min(n, memory_.size() - position_);
    std::memcpy(buffer, memory_.data() + position_, k);
    position_ += k;
    return k;
}

void LookupSource::seek_to_start() {
    if (in_memory_) {
        position_ = 0;
    } else {
        file_.seek_to_start();
    }
}

std::uint64_t LookupSource::size() {
    return in_memory_ ? memory_.size() : file_.size();
}

}  // namespace lumbra
