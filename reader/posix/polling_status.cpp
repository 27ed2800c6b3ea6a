// The status between polls: the last batch's file, its record count and time, the next poll.
#include "reader/posix/polling_status.h"

#include <cstdio>

namespace ravelo {

namespace {

std::string clock_time(const platform::LocalTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour % 100, t.minute % 100,
                  t.second % 100);
    return text;
}

}  // namespace

std::string records_text(int count) {
    const char* word = count == 1 ? "záznam" : (count >= 2 && count <= 4 ? "záznamy" : "záznamů");
    return std::to_string(count) + " " + word;
}

std::string polling_status_text(const LastBatch& last, std::uint32_t remaining_ms) {
    const std::uint32_t seconds = (remaining_ms + 999) / 1000;
    const std::string next = "další dotaz za " + std::to_string(seconds) + " s";
    if (!last.any) return "Zatím nic nepřijato, " + next;
    return "Naposledy " + clock_time(last.at) + ": " + last.file_name + ", " +
           records_text(last.records) + "; " + next;
}

}  // namespace ravelo
