// The answer to --ports: what each port opens and whether it can, and the serial devices present.
#pragma once

#include <string>

#include "platform/posix/port_survey.h"

namespace common {

// The report in Czech, with the line to copy for each device present.
std::string ports_report(const platform::PortSurvey& survey);

// Surveys this machine's /dev and /sys for COM1..COM<port_count> and prints the report on
// standard output.
void print_ports_report(int port_count);

// A form's port field: "COM1 (/dev/ttyS0)", the port of the list COM1..COM<port_count> with the
// device it opens; "(nic)" when none of the list is chosen.
std::string port_with_device(int port_index, int port_count);

}  // namespace common
