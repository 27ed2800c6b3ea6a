// lumbra as a script or a user runs it, against velmora-sim lookup on a pseudo-terminal.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>

#include "tests/support/posix/child_process.h"
#include "tests/support/posix/e2e_rig.h"

namespace {

using namespace std::chrono_literals;
using namespace testing_support;

const std::string kLoaded = "[Lumbra] Přenos úspěšně dokončen!\n";
const std::string kNoRepeat =
    "[Lumbra] Přenos selhal, přejete si přenos opakovat? -> Ne (bez terminálu)\n";

// lumbra copied into a folder of its own, so its settings file stays private.
class LumbraE2e : public ::testing::Test, public E2eRig {
  protected:
    LumbraE2e() : E2eRig({"lumbra"}) {}

    // Starts the simulated terminal, keeping what it loads in "out.txt"; returns its device.
    std::string start_terminal(std::vector<std::string> args) {
        args.insert(args.begin(), {"lookup", "--out", temp.file("out.txt")});
        return E2eRig::start_terminal(args);
    }
};

TEST_F(LumbraE2e, UnattendedRunsLoadOrSayWhyNot) {
    // Lines with every kind of line end, and as the terminal keeps them (each ended by CR LF in
    // velmora-sim's --out file).
    const std::string czech = "P\xF8\xED li\x9A \x9Elu\x9Do\xE8k\xFD k\xF9\xF2";  // cp1250
    const std::string binary("\x00\x01\x1A\xFF", 4), longest(253, 'x');
    const std::string list = temp.file("list.txt");
    write_bytes(list, "abc\r\nlf only\n\r\n" + czech + "\r\n" + longest + "\n" + binary + "\rlast");
    const std::string held =
        "abc\r\nlf only\r\n\r\n" + czech + "\r\n" + longest + "\r\n" + binary + "\r\nlast\r\n";
    struct Case {
        const char* name;
        std::vector<std::string> terminal_args;
        std::vector<std::string> args;
        const char* port;  // the variable naming the device; "" names a missing one as COM1
        int exit_status;
        std::string err;
        std::string kept;  // what the terminal holds afterwards
        std::string feed;  // a shell pipe into the program's standard input
    };
    const auto row = [](const char* name, std::vector<std::string> args, const char* port,
                        int status, std::string err, std::string kept,
                        std::vector<std::string> terminal_args = {}, std::string feed = "") {
        return Case{name, terminal_args, args, port, status, err, kept, feed};
    };
    const std::vector<Case> cases = {
        row("loaded", {list + ",3,5"}, "VELMORA_COM3", 0, kLoaded, held),
        row("memory", {list}, "VELMORA_COM1", 1,
            "[Lumbra CHYBA ] Paměť terminálu nepostačuje!\nSnižte velikost lookup souboru...\n" +
                kNoRepeat,
            "", {"--memory", "12"}),
        row("no port", {list + ",1,1"}, "", 1,
            "[Lumbra] Nemohu otevřít COM port!\nCOM1 = /nonexistent/tty: No such file or "
            "directory\nJe převodník USB připojen? Připojené porty: ls /dev/ttyUSB* /dev/ttyACM* "
            "/dev/ttyS*\n",
            ""),
        row("no file", {temp.file("nic.txt")}, "VELMORA_COM1", 1,
            "[Lumbra] Nemohu otevřít soubor!\n" + temp.file("nic.txt") +
                ": No such file or directory\n",
            ""),
        // A name's control characters are shown escaped: they could clear or recolour the screen.
        row("no file, its name with an escape sequence", {temp.file("nic\x1b[2J.txt")},
            "VELMORA_COM1", 1,
            "[Lumbra] Nemohu otevřít soubor!\n" + temp.file("nic\\x1B[2J.txt") +
                ": No such file or directory\n",
            ""),
        row("no tail", {}, "VELMORA_COM1", 2, "lumbra /cesta/seznam.txt,1,1\n", ""),
        // A pipe reports no size: it is read whole first, up to 64 MB.
        row("from a pipe", {"/dev/fd/0,3,5"}, "VELMORA_COM3", 0, kLoaded, held, {},
            "cat " + list + " |"),
        row("a pipe above 64 MB", {"/dev/fd/0"}, "VELMORA_COM1", 1,
            "[Lumbra] Lookup soubor z roury je větší než 64 MB!\nSoubor nebyl odeslán.\n", "", {},
            "head -c 67108865 /dev/zero |"),
        // A read that fails is not the end of the table (procfs refuses to read address 0).
        row("an unreadable source", {"/proc/self/mem"}, "VELMORA_COM1", 1,
            "[Lumbra] Chyba při čtení lookup souboru!\nPřenos byl ukončen.\n", ""),
        row("interactive tail", {",2,5"}, "VELMORA_COM2", 2, "lumbra /cesta/seznam.txt,1,1\n", ""),
        // A UTF-8 file reaches the terminal in its code page.
        row("UTF-8", {"--charset=utf-8", "/dev/fd/0"}, "VELMORA_COM1", 0, kLoaded,
            "\x8Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n", {}, "printf '%s\\n' 'Žluťoučký kůň' |"),
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(temp.file("out.txt"));
        const std::string device = start_terminal(c.terminal_args);
        Env ports = env("/nonexistent/tty");
        if (*c.port) ports[c.port] = device;
        std::vector<std::string> argv = c.args;
        argv.insert(argv.begin(), "lumbra");
        const ProcessResult result = run(argv, ports, 30s, c.feed);
        EXPECT_EQ(result.exit_status, c.exit_status) << result.err;
        if (c.exit_status == 2) {
            EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
        } else {
            EXPECT_EQ(result.err, c.err);
        }
        terminal->stop();
        EXPECT_EQ(read_bytes(temp.file("out.txt")), c.kept);
        EXPECT_FALSE(std::filesystem::exists(temp.file("config")));
    }
}

TEST_F(LumbraE2e, WaitingForASilentTerminalCostsNoProcessorTime) {
    write_bytes(temp.file("list.txt"), "abc\r\n");
    const std::string device = start_terminal({"--asleep"});
    const double cpu_before = processor_seconds(RUSAGE_CHILDREN);
    const ProcessResult result = run({"lumbra", temp.file("list.txt")}, env(device));
    const std::chrono::duration<double> took = result.took;
    const double cpu = processor_seconds(RUSAGE_CHILDREN) - cpu_before;
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.err, "[Lumbra] Terminál není připraven!\n" + kNoRepeat);
    // Three wake-ups, each given 3000 ms.
    EXPECT_GE(took.count(), 9.0);
    EXPECT_LT(took.count(), 10.5);
    EXPECT_LT(cpu / took.count(), 0.05) << cpu << " s of processor time";
}

TEST_F(LumbraE2e, TheUserChoosesFileAndPortOnTheTerminal) {
    const std::string data = temp.file("data");
    std::filesystem::create_directory(data);
    write_bytes(data + "/a.txt", "jedna\r\ndva\r\n");
    write_bytes(data + "/B.TXT", "tri\r\n");
    // Two lines only: port and speed keep their defaults until the settings are saved.
    const std::string stored = data + "\r\nB.TXT";
    struct Step {
        const char* wait_for;
        const char* answer;
    };
    enum Config { kStored, kFirstStart, kBlocked };  // the settings folder before the run
    struct Case {
        const char* name;
        Config config;
        std::vector<std::string> terminal_args;
        std::vector<Step> steps;
        int exit_status;
        std::string settings;
        std::string shown;
    };
    const char* const chooser = "zrušit): ";
    // No settings yet: the chooser lists the current directory; the folder is made on save.
    const std::vector<Step> pick = {{chooser, "1"},   {"Volba: ", "1"}, {"[1]: ", "2"},
                                    {"Volba: ", "2"}, {"[1]: ", "5"},   {"Volba: ", "O"}};
    const std::vector<Step> full = {{chooser, ""}, {"Volba: ", ""}, {"opakovat? [a/N] ", "n"}};
    const std::vector<Step> chooser_cancelled = {{chooser, "\x1b"}};
    const std::vector<Step> form_cancelled = {{"[B.TXT]", ""}, {"Volba: ", "Z"}};
    const std::vector<Step> first_file = {{chooser, "1"}, {"Volba: ", ""}};
    const std::vector<std::string> plain;
    const std::vector<std::string> memory = {"--memory", "4"};
    const std::vector<Case> cases = {
        // The bar at 100, then erased before the last message.
        {"picked", kFirstStart, plain, pick, 0, data + "\r\na.txt\r\n2\r\n5\r\n",
         "Přenáším... [####################] 100 %\033[K\0338\033[K[Lumbra] Přenos úspěšně"},
        {"chooser cancelled", kStored, plain, chooser_cancelled, 1, stored,
         "  1) a.txt\r\n  2) B.TXT\r\n"},
        {"form cancelled", kStored, plain, form_cancelled, 1, stored, "   1  COM port"},
        // The bar steps aside for the message.
        {"terminal full", kStored, memory, full, 1, data + "\r\nB.TXT\r\n1\r\n1\r\n",
         "\0338\033[K[Lumbra CHYBA ] Paměť terminálu nepostačuje!"},
        // A settings folder that cannot be made is named, and the load goes on.
        {"settings not saved", kBlocked, plain, first_file, 0, "",
         "Nastavení se nepodařilo uložit do " + temp.file("config/velmora/Lumbra.ini") +
             ": Not a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(temp.file("config"));
        if (c.config == kStored) {
            std::filesystem::create_directories(temp.file("config/velmora"));
            write_bytes(temp.file("config/velmora/Lumbra.ini"), stored);
        }
        if (c.config == kBlocked) write_bytes(temp.file("config"), "");
        std::filesystem::remove(temp.file("out.txt"));
        const std::string device = start_terminal(c.terminal_args);
        Env ports = env(device);
        ports["VELMORA_COM2"] = device;
        OnTerminal user({temp.file("lumbra")}, ports, data);
        for (const Step& step : c.steps) {
            ASSERT_TRUE(user.wait_for(step.wait_for)) << step.wait_for << "\n" << user.shown;
            user.type(step.answer);
        }
        EXPECT_EQ(user.exit_status(), c.exit_status) << user.shown;
        EXPECT_NE(user.shown.find(c.shown), std::string::npos) << user.shown;
        EXPECT_EQ(read_bytes(temp.file("config/velmora/Lumbra.ini")), c.settings);
        terminal->stop();
        EXPECT_EQ(read_bytes(temp.file("out.txt")), c.exit_status == 0 ? "jedna\r\ndva\r\n" : "");
    }
}

}  // namespace
