// The text of Ravelo's help, the same on every platform but for the program's name and paths.
#include "reader/usage_text.h"

namespace ravelo {

std::string command_line_help(const std::string& program, const std::string& absolute_example) {
    return "Použití: " + program + " [soubor,P,B,M,C,L,E,R,A,O,interval]\n" +
           "Načte záznamy z terminálu Velmora do textového souboru.\n"
           "\n"
           "Bez parametrů použije uložené nastavení a podle něj nejprve nabídne\n"
           "vlastnosti. S parametry se na nic neptá a nastavení neukládá:\n"
           "  soubor    výstupní soubor: jméno ve výstupním adresáři, nebo celá cesta\n"
           "            (u automatického jména určuje celá cesta adresář)\n"
           "  P         COM port 1-9 (COM1-COM9)\n"
           "  B         rychlost: 1 = 115200, 2 = 57600, 3 = 38400, 4 = 19200, 5 = 9600\n"
           "  M         soubor offline: 1 přepsat, 2 připojit, 3 jen nový, 4 automatické jméno\n"
           "            soubor online: 1 automatické jméno, 2 připojit, 3 přepsat,\n"
           "                           4 automatické jméno\n"
           "  C, L      za každý záznam zapsat CR, LF (0/1)\n"
           "  E         zobrazovat chyby (0/1)\n"
           "  R         ohlásit počet záznamů a nabídnout jejich zobrazení (0/1)\n"
           "  A         vždy zobrazit vlastnosti, není-li zadán soubor (0/1)\n"
           "  O         online: ptát se terminálu každých `interval` sekund (0/1)\n"
           "  interval  sekundy mezi dotazy, 1-9999\n"
           "Za každou číslicí stojí jeden oddělovač, obvykle čárka. Řetězec delší\n"
           "než 255 znaků program odmítne.\n"
           "\n"
           "Příklady:\n"
           "  " +
           program +
           " DATA.TXT\n"
           "  " +
           program + " " + absolute_example +
           ",2,5,2,1,1,0,0,0,0,2\n"
           "  " +
           program + " ,1,1,1,1,1,0,0,0,1,5\n";
}

}  // namespace ravelo
