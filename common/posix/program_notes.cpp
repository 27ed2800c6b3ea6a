// The Linux part of both programs' help, and answering --help and --version on standard output.
#include "common/posix/program_notes.h"

#include <cstdio>

#include "common/posix/ports_report.h"
#include "common/program_help.h"
#include "platform/environment.h"
#include "platform/printable_text.h"

namespace common {

namespace {

const char* const kCharsetVariable = "VELMORA_CHARSET";

// Where the encoding's name came from, as the user wrote it (escaped: it may hold anything).
std::string charset_source(const Arguments& arguments) {
    if (arguments.charset) return "--charset=" + platform::printable(*arguments.charset);
    return std::string(kCharsetVariable) + "=" +
           platform::printable(platform::environment_variable(kCharsetVariable));
}

}  // namespace

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
           "\n"
           "Soubory (přijatá data, lookup soubor) jsou v kódové stránce 1250 terminálu, bajt po\n"
           "bajtu. --charset=utf-8 (bez voleb proměnná VELMORA_CHARSET=utf-8) je zapisuje a čte\n"
           "v UTF-8, jak je zvykem v Linuxu; znak, který kódová stránka 1250 nemá, lookup soubor\n"
           "odmítne. Bajty 0x81, 0x83, 0x88, 0x90 a 0x98 zůstanou v přijatých datech, jak jsou.\n"
           "\n"
           "  -h, --help         tato nápověda\n"
           "  --version          verze programu\n"
           "  --ports            co otevírají porty COM, zda je smíte otevřít, a sériová\n"
           "                     zařízení v počítači s řádkem VELMORA_COMn=... ke zkopírování\n"
           "  --charset=utf-8    soubory v UTF-8 (výchozí --charset=cp1250)\n"
           "  --                 konec voleb: název souboru smí začínat znakem -\n";
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
                                    const std::string& usage, int port_count) {
    if (!arguments.unknown_option.empty()) {
        std::fprintf(stderr, "%s: neznámá volba %s\nNápověda: %s --help\n", program.c_str(),
                     arguments.unknown_option.c_str(), program.c_str());
        return 2;
    }
    if (!arguments.options_ended && arguments.tail == "--ports") {
        print_ports_report(port_count);
        return 0;
    }
    if (!arguments.options_ended && answer_help_request(arguments.tail, program, usage)) return 0;
    if (!chosen_file_charset(arguments)) {
        std::fprintf(stderr,
                     "%s: neznámá znaková sada %s (platí cp1250 nebo utf-8)\nNápověda: %s --help\n",
                     program.c_str(), charset_source(arguments).c_str(), program.c_str());
        return 2;
    }
    return std::nullopt;
}

std::optional<FileCharset> chosen_file_charset(const Arguments& arguments) {
    if (arguments.charset) return parse_file_charset(*arguments.charset);
    const std::string variable = platform::environment_variable(kCharsetVariable);
    return variable.empty() ? FileCharset::cp1250 : parse_file_charset(variable);
}

}  // namespace common
