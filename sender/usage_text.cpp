// The text of Lumbra's help, the same on every platform but for the program's name and paths.
#include "sender/usage_text.h"

namespace lumbra {

std::string command_line_help(const std::string& program, const std::string& example_path) {
    return "Použití: " + program + " [soubor[,P,B]]\n" +
           "Nahraje lookup soubor (textový soubor, záznam na řádek) do terminálu Velmora.\n"
           "\n"
           "Bez parametrů nabídne výběr souboru a nastavení portu a volby uloží.\n"
           "S parametry se ptá jen na opakování nezdařeného přenosu a nic neukládá:\n"
           "  soubor    lookup soubor: vše před první čárkou, tak jak je napsáno,\n"
           "            nejvýše 299 znaků\n"
           "  P         COM port 1-6 (COM1-COM6)\n"
           "  B         rychlost: 1 = 115200, 2 = 57600, 3 = 38400, 4 = 19200, 5 = 9600\n"
           "Chybějící nebo neplatná číslice znamená COM1 a 115200.\n"
           "\n"
           "Příklady:\n"
           "  " +
           program + " " + example_path +
           "\n"
           "  " +
           program + " " + example_path + ",2,5\n";
}

}  // namespace lumbra
