// The progress window's text on a terminal line: "Přenáším...", a bar and the percentage.
#pragma once

#include <string>

namespace lumbra {

constexpr int kProgressBarCells = 20;

// "Přenáším... [##########          ]  50 %"; a percentage outside 0..100 is held to it.
std::string progress_text(int percent);

}  // namespace lumbra
