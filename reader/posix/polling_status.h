// The line the terminal polling window shows between polls.
#pragma once

#include <cstdint>
#include <string>

#include "platform/clock.h"

namespace ravelo {

// The last transfer that stored records.
struct LastBatch {
    bool any = false;
    std::string file_name;
    int records = 0;
    platform::LocalTime at;
};

// "2 záznamy": the count with the Czech plural of "záznam".
std::string records_text(int count);

// What came last, and in how many seconds the next poll comes (rounded up).
std::string polling_status_text(const LastBatch& last, std::uint32_t remaining_ms);

}  // namespace ravelo
