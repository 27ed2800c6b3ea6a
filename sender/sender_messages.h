// The sender's message texts and captions, in one place so the windows and the tests agree.
#pragma once

#include <cstdint>
#include <string>

namespace lumbra {

inline const char* const kCaption = "Lumbra";
inline const char* const kFullCaption = "Lumbra CHYBA ";  // the trailing blank is the program's

inline const char* const kCannotOpenFile = "Nemohu otevřít soubor!";
inline const char* const kCannotOpenPort = "Nemohu otevřít COM port!";
inline const char* const kCannotSetLine = "Nelze nastavit komunikační parametry!";
inline const char* const kNotReady = "Terminál není připraven!";
inline const char* const kMemoryFull =
    "Paměť terminálu nepostačuje!\r\nSnižte velikost lookup souboru...";
inline const char* const kTransferError = "Chyba při přenosu šablony!";
inline const char* const kTransferDone = "Přenos úspěšně dokončen!";
inline const char* const kRepeatQuestion = "Přenos selhal, přejete si přenos opakovat?";
// A read of the lookup file failed: what was read is not the whole table.
inline const char* const kCannotReadFile = "Chyba při čtení lookup souboru!\r\nPřenos byl ukončen.";
inline const char* const kPathTooLong =
    "Cesta k lookup souboru je delší než 299 znaků!\r\nSoubor nebyl odeslán.";

// A line the record cannot hold: nothing of the file is sent.
inline std::string overlong_line_message(int line) {
    return "Řádek " + std::to_string(line) +
           " lookup souboru je delší než 253 bajtů!\r\nSoubor nebyl odeslán.";
}

// A lookup file read as UTF-8 with a character the terminal's code page lacks (shown with its
// number, "„ñ“ (U+00F1)"), or with bytes that are no UTF-8: nothing of the file is sent.
inline std::string unencodable_line_message(int line, const std::string& character) {
    return "Řádek " + std::to_string(line) + " lookup souboru obsahuje znak " + character +
           ", který kódová stránka 1250 nemá!\r\nSoubor nebyl odeslán.";
}
inline std::string malformed_line_message(int line, unsigned byte) {
    static const char kHex[] = "0123456789ABCDEF";
    return "Řádek " + std::to_string(line) + " lookup souboru není platné UTF-8 (bajt 0x" +
           kHex[(byte >> 4) & 0xF] + kHex[byte & 0xF] + ")!\r\nSoubor nebyl odeslán.";
}

// A lookup file from a pipe is held in memory whole, up to a limit (in whole megabytes).
inline std::string oversized_lookup_message(std::uint64_t limit_bytes) {
    return "Lookup soubor z roury je větší než " + std::to_string(limit_bytes >> 20) +
           " MB!\r\nSoubor nebyl odeslán.";
}

}  // namespace lumbra
