// ravelo and lumbra as Linux command-line tools: help, version, where relative and absolute
// names lead, the settings folder, and ports that cannot be used, each said plainly.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <set>

#include "tests/core/reader_test_fixture.h"
#include "tests/support/posix/child_process.h"
#include "tests/support/posix/pty_pair.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using reader_test::read_bytes;
using reader_test::write_bytes;
using testing_support::BackgroundProcess;
using testing_support::ProcessResult;

const std::string kBin = VELMORA_BIN_DIR;

// What the port of a case is.
enum class Port { none, terminal, forbidden, not_a_terminal };

using Files = std::map<std::string, std::string>;

// Paths are relative to the case's folder; "@" in an argument or a file stands for that folder.
struct Case {
    const char* name;
    Files given;  // written before the run
    std::vector<std::string> args;
    Port port;
    int exit_status;
    std::string out;               // a pattern standard output must match
    std::vector<std::string> err;  // each expected within standard error
    std::set<std::string> made;    // every file under the case's folder afterwards, but `given`
    std::map<std::string, std::string> env = {};  // beside the port's
};

std::string with_folder(std::string text, const std::string& folder) {
    for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at)) {
        text.replace(at, 1, folder);
        at += folder.size();
    }
    return text;
}

// The program copied into a folder of its own and run from a working folder with a settings
// folder of its own, as a user runs an installed program; a case's files are all it leaves.
class Conventions : public ::testing::Test {
  protected:
    void run_cases(const std::string& program, const std::vector<std::string>& terminal,
                   const std::vector<Case>& cases) {
        fs::create_directories(temp.file("bin"));
        fs::copy_file(kBin + "/" + program, temp.file("bin/" + program));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string folder = temp.file("case");
            fs::remove_all(folder);
            fs::create_directories(folder + "/work");
            std::set<std::string> expected = c.made;
            for (const auto& [path, content] : c.given) {
                fs::create_directories(fs::path(folder + "/" + path).parent_path());
                write_bytes(folder + "/" + path, with_folder(content, folder));
                expected.insert(path);
            }
            const ProcessResult result = run(program, terminal, c);
            EXPECT_EQ(result.exit_status, c.exit_status) << result.err;
            EXPECT_TRUE(std::regex_search(result.out, std::regex(c.out))) << result.out;
            for (const std::string& text : c.err) {
                EXPECT_NE(result.err.find(text), std::string::npos) << result.err;
            }
            EXPECT_EQ(files_under(folder), expected);
        }
    }

    reader_test::TempDir temp;

  private:
    ProcessResult run(const std::string& program, const std::vector<std::string>& terminal,
                      const Case& c) {
        std::vector<std::string> argv{temp.file("bin/" + program)};
        for (const std::string& arg : c.args) argv.push_back(with_folder(arg, temp.file("case")));
        std::map<std::string, std::string> env{{"XDG_CONFIG_HOME", temp.file("case/config")},
                                               {"VELMORA_COM1", "/nonexistent/tty"}};
        env.insert(c.env.begin(), c.env.end());
        std::unique_ptr<BackgroundProcess> sim;
        test_support::PtyPair forbidden;
        if (c.port == Port::terminal) {
            std::vector<std::string> sim_argv{kBin + "/velmora-sim"};
            sim_argv.insert(sim_argv.end(), terminal.begin(), terminal.end());
            sim = std::make_unique<BackgroundProcess>(sim_argv);
            env["VELMORA_COM1"] = sim->read_line(5s);
        } else if (c.port == Port::forbidden) {
            // Nobody but root may open it; the program runs as another user when we are root.
            ::chmod(forbidden.slave_path().c_str(), 0);
            env["VELMORA_COM1"] = forbidden.slave_path();
        } else if (c.port == Port::not_a_terminal) {
            env["VELMORA_COM1"] = "/dev/null";
        }
        const bool without_root = c.port == Port::forbidden;
        if (without_root) make_reachable();
        return testing_support::run_process(argv, env, 20s, {temp.file("case/work"), without_root});
    }

    // The folders down to the program, for a run as another user.
    void make_reachable() {
        for (const char* path : {"", "bin", "case", "case/work"}) {
            ::chmod(temp.file(path).c_str(), 0755);
        }
    }

    std::set<std::string> files_under(const std::string& root) const {
        std::set<std::string> found;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.is_regular_file()) found.insert(fs::relative(entry.path(), root).string());
        }
        return found;
    }
};

const std::vector<std::string> kPermissionTexts = {
    "Permission denied", "sudo usermod -aG dialout $USER, pak se odhlaste a znovu přihlaste."};
const std::string kPortsOut =
    "^COM porty [^\n]*\n  COM1 = /nonexistent/tty \\(VELMORA_COM1\\): neexistuje\n";
const std::string kNotATerminal = "COM1 = /dev/null: není to sériový port (terminálové zařízení)";

TEST_F(Conventions, Ravelo) {
    const std::string silent = ",1,1,1,1,1,0,0,0,0,2";  // COM1, overwrite, no messages
    const std::string help = "^Použití: ravelo \\[soubor,P,B,M,C,L,E,R,A,O,interval\\]\n";
    // Never asks; DATA.TXT in the folder "saved".
    const Files settings = {
        {"config/velmora/Ravelo.ini",
         "@/saved\r\nDATA.TXT\r\n1\r\n1\r\n1\r\n1\r\n1\r\n1\r\n0\r\n0\r\n0\r\n2"},
        {"saved/.keep", ""}};
    const std::string command = "x.txt,1,1,1,1,1,1,0,0,0,2";
    run_cases(
        "ravelo", {"source", "--generate", "2", "--size", "5"},
        {
            {"help", {}, {"--help"}, Port::terminal, 0, help, {}, {}},
            {"short help", {}, {"-h"}, Port::none, 0, help, {}, {}},
            {"version", {}, {"--version"}, Port::none, 0, "^ravelo [0-9]+\\.[0-9]+\n$", {}, {}},
            // A mistyped option is never taken for a file name; after "--" a name may start so.
            {"unknown option",
             {},
             {"-x" + silent},
             Port::terminal,
             2,
             "^$",
             {"ravelo: neznámá volba -x" + silent + "\nNápověda: ravelo --help"},
             {}},
            {"help beside a name", {}, {"--help", "x.txt"}, Port::terminal, 2, "^$", {}, {}},
            {"unknown charset",
             {},
             {"--charset=latin2", "x.txt" + silent},
             Port::terminal,
             2,
             "^$",
             {"ravelo: neznámá znaková sada --charset=latin2 (platí cp1250 nebo utf-8)\n"
              "Nápověda: ravelo --help"},
             {}},
            {"unknown charset in the variable",
             {},
             {"x.txt" + silent},
             Port::terminal,
             2,
             "^$",
             {"ravelo: neznámá znaková sada VELMORA_CHARSET=latin2"},
             {},
             {{"VELMORA_CHARSET", "latin2"}}},
            {"the option wins over the variable",
             {},
             {"--charset", "cp1250", "x.txt" + silent},
             Port::terminal,
             0,
             "",
             {},
             {"work/x.txt"},
             {{"VELMORA_CHARSET", "latin2"}}},
            {"ports",
             {},
             {"--ports"},
             Port::none,
             0,
             kPortsOut + "(  COM[2-9][^\n]*\n){8}[^ ]",
             {},
             {}},
            {"ports a user may not open",
             {},
             {"--ports"},
             Port::forbidden,
             0,
             "\n  COM1 = /dev/pts/[0-9]+ \\(VELMORA_COM1\\): nelze otevřít, chybí právo číst a "
             "zapisovat\n",
             {},
             {}},
            {"options ended",
             {},
             {"--", "-odd.txt" + silent},
             Port::terminal,
             0,
             "",
             {},
             {"work/-odd.txt"}},
            {"absolute name",
             {{"out/.keep", ""}},
             {"@/out/abs.txt" + silent},
             Port::terminal,
             0,
             "",
             {},
             {"out/abs.txt"}},
            {"relative name from the current directory",
             {},
             {"rel.txt" + silent},
             Port::terminal,
             0,
             "",
             {},
             {"work/rel.txt"}},
            {"settings from the settings folder",
             settings,
             {},
             Port::terminal,
             0,
             "",
             {},
             {"saved/DATA.TXT"}},
            {"port without permission",
             {},
             {command},
             Port::forbidden,
             1,
             "",
             kPermissionTexts,
             {}},
            {"not a terminal device",
             {},
             {command},
             Port::not_a_terminal,
             1,
             "",
             {kNotATerminal},
             {}},
            // Cut at 255, the string would overwrite the file it means to append to.
            {"over-long string refused",
             {},
             {std::string(250, 'n') + ",1,1,2,1,1,0,0,0,0,2"},
             Port::terminal,
             2,
             "",
             {"[Chyba] Příkazový řádek je delší než 255 znaků!"},
             {}},
        });
}

TEST_F(Conventions, Lumbra) {
    const std::string help = "^Použití: lumbra \\[soubor\\[,P,B\\]\\]\n";
    const Files lists = {{"list.txt", "a\r\nb\r\n"}, {"work/here.txt", "c\r\n"}};
    const std::vector<std::string> loaded = {"[Lumbra] Přenos úspěšně dokončen!"};
    run_cases(
        "lumbra", {"lookup"},
        {
            {"help", lists, {"--help"}, Port::terminal, 0, help, {}, {}},
            {"short help", lists, {"-h"}, Port::none, 0, help, {}, {}},
            {"version", lists, {"--version"}, Port::none, 0, "^lumbra [0-9]+\\.[0-9]+\n$", {}, {}},
            // Lumbra offers COM1..COM6 only.
            {"ports",
             lists,
             {"--ports"},
             Port::none,
             0,
             kPortsOut + "(  COM[2-6][^\n]*\n){5}[^ ]",
             {},
             {}},
            {"unknown option",
             lists,
             {"--frobnicate"},
             Port::terminal,
             2,
             "^$",
             {"lumbra: neznámá volba --frobnicate"},
             {}},
            {"options ended", lists, {"--", "here.txt"}, Port::terminal, 0, "", loaded, {}},
            {"absolute name", lists, {"@/list.txt,1,1"}, Port::terminal, 0, "", loaded, {}},
            {"relative name from the current directory",
             lists,
             {"here.txt"},
             Port::terminal,
             0,
             "",
             loaded,
             {}},
            {"port without permission",
             lists,
             {"here.txt"},
             Port::forbidden,
             1,
             "",
             kPermissionTexts,
             {}},
            {"not a terminal device",
             lists,
             {"here.txt"},
             Port::not_a_terminal,
             1,
             "",
             {kNotATerminal},
             {}},
            {"over-long path refused",
             lists,
             {std::string(300, 'p') + ",1,1"},
             Port::terminal,
             2,
             "",
             {"[Lumbra] Cesta k lookup souboru je delší než 299 znaků!"},
             {}},
        });
}

}  // namespace
