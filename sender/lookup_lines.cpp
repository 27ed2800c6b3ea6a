// Line ends of the lookup file. The terminal's table needs one record per line whatever the
// editor wrote: CR LF (Windows), LF (Linux) or CR alone.
#include "sender/lookup_lines.h"

#include "common/checksum.h"

namespace lumbra {

ByteRole classify_byte(std::uint8_t byte, bool& after_cr) {
    const bool follows_cr = after_cr;
    after_cr = byte == common::kCarriageReturn;
    if (byte == common::kCarriageReturn) return ByteRole::line_end;
    if (byte == common::kLineFeed) return follows_cr ? ByteRole::ignored : ByteRole::line_end;
    return ByteRole::payload;
}

int first_overlong_line(LookupSource& source) {
    source.seek_to_start();
    std::uint8_t block[kFileBlockBytes];
    bool after_cr = false;
    int line = 1;
    std::size_t length = 0;
    int overlong = 0;
    for (std::size_t n = 0; overlong == 0 && (n = source.read(block, sizeof block)) > 0;) {
        for (std::size_t i = 0; i < n; ++i) {
            const ByteRole role = classify_byte(block[i], after_cr);
            if (role == ByteRole::line_end) {
                ++line;
                length = 0;
            } else if (role == ByteRole::payload && ++length > kMaxPayloadBytes) {
                overlong = line;
                break;
            }
        }
    }
    source.seek_to_start();
    return overlong;
}

}  // namespace lumbra
