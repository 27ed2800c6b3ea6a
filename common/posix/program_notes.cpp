// The Linux part of both programs' help, and answering --help and --version on standard output.
#include "common/posix/program_notes.h"

#include <cstdio>

#include "common/program_help.h"

namespace common {

std::string linux_notes(const std::string& settings_file) {
    return "\n"
           "Porty: COMn je zařízení z proměnné VELMORA_COMn (např. VELMORA_COM1=/dev/ttyUSB0),\n"
           "jinak /dev/ttyS<n-1>. Přístup k portům mají členové skupiny dialout.\n"
           "Nastavení: $XDG_CONFIG_HOME/velmora/" +
           settings_file +
           " (jinak ~/.config/velmora/); relativní cesty\n"
           "platí od aktuálního adresáře.\n"
           "VELMORA_TRACE=SOUBOR připíše do souboru každý odeslaný a přijatý bajt (pro podporu).\n"
           "\n"
           "  -h, --help   tato nápověda\n"
           "  --version    verze programu\n"
           "  --           konec voleb: název souboru smí začínat znakem -\n";
}

bool answer_help_request(const std::string& tail, const std::string& program,
                         const std::string& usage) {
    switch (help_request(tail)) {
        case HelpRequest::usage:
            std::fputs(usage.c_str(), stdout);
            return true;
        case HelpRequest::version:
            std::puts(version_line(program).c_str());
            return true;
        case HelpRequest::none:
            break;
    }
    return false;
}

std::optional<int> answer_arguments(const Arguments& arguments, const std::string& program,
                                    const std::string& usage) {
    if (!arguments.unknown_option.empty()) {
        std::fprintf(stderr, "%s: neznámá volba %s\nNápověda: %s --help\n", program.c_str(),
                     arguments.unknown_option.c_str(), program.c_str());
        return 2;
    }
    if (!arguments.options_ended && answer_help_request(arguments.tail, program, usage)) return 0;
    return std::nullopt;
}

}  // namespace common
