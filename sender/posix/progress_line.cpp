// The progress line's text: a bar of fixed width, so the percentage keeps its column.
#include "sender/posix/progress_line.h"

#include <algorithm>

namespace lumbra {

std::string progress_text(int percent) {
    percent = std::clamp(percent, 0, 100);
    const int filled = percent * kProgressBarCells / 100;
    const std::string number = std::to_string(percent);
    return "Přenáším... [" + std::string(static_cast<std::size_t>(filled), '#') +
           std::string(static_cast<std::size_t>(kProgressBarCells - filled), ' ') + "] " +
           std::string(3 - number.size(), ' ') + number + " %";
}

}  // namespace lumbra
