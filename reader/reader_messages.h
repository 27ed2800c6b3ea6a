// The reader's message texts, in one place so the dialogs and the tests agree on every word.
#pragma once

namespace ravelo {

inline const char* const kCannotOpenOrCreateFile = "Nepodařilo se otevřít/vytvořit soubor!";
inline const char* const kFileAlreadyExists =
    "Nepodařilo se otevřít soubor!\n\nSoubor už existuje!";
inline const char* const kCannotWriteFile = "Nepodařilo se zapsat do souboru!!";

inline const char* const kCannotOpenPort = "Nepodařilo se otevřít COM port";
inline const char* const kTimedOut = "Čas vypršel!";
inline const char* const kCannotConnect = "Nepodařilo se navázat spojení!";

inline const char* const kCommandLineTooLong =
    "Příkazový řádek je delší než 255 znaků!\n\nPřenos nebyl zahájen.";

}  // namespace ravelo
