// ravelo and lumbra as Linux command-line tools: help, version, where relative and absolute
// names lead, the settings folder, and ports that cannot be used, each said plainly.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <set>

#include "tests/support/posix/e2e_rig.h"
#include "tests/support/posix/pty_pair.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using namespace testing_support;

// What the port of a case is.
enum class Port { none, terminal, forbidden, not_a_terminal };

using Files = std::map<std::string, std::string>;

// Paths are relative to the case's folder; "@" in an argument or a file stands for that folder.
struct Case {
    Case& with(Files files) {
        given = std::move(files);
        return *this;
    }
    Case& with_env(Env more) {
        env = std::move(more);
        return *this;
    }

    const char* name;
    std::vector<std::string> args;
    Port port;
    int exit_status;
    std::string out;               // a pattern standard output must match
    std::vector<std::string> err;  // each expected within standard error
    std::set<std::string> made;    // every file under the case's folder afterwards, but `given`
    Files given;                   // written before the run
    Env env;                       // beside the port's
};

// A case with its port on velmora-sim unless `port` says otherwise.
Case row(const char* name, std::vector<std::string> args, int exit_status, std::string out,
         std::vector<std::string> err = {}, std::set<std::string> made = {},
         Port port = Port::terminal) {
    return {name,           std::move(args), port, exit_status, std::move(out),
            std::move(err), std::move(made), {},   {}};
}

// The program copied into a folder of its own and run from a working folder with a settings
// folder of its own, as a user runs an installed program; a case's files are all it leaves.
class Conventions : public ::testing::Test, public E2eRig {
  protected:
    // `common` is written before every case, beside the case's own files.
    void run_cases(const std::string& program, const std::vector<std::string>& sim_args,
                   const Files& common, const std::vector<Case>& cases) {
        fs::create_directories(temp.file("bin"));
        fs::copy_file(bin_dir() + "/" + program, temp.file("bin/" + program));
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const std::string folder = temp.file("case");
            fs::remove_all(folder);
            fs::create_directories(folder + "/work");
            std::set<std::string> expected = c.made;
            Files given = c.given;
            given.insert(common.begin(), common.end());
            for (const auto& [path, content] : given) {
                fs::create_directories(fs::path(folder + "/" + path).parent_path());
                write_bytes(folder + "/" + path, with_folder(content, folder));
                expected.insert(path);
            }
            const ProcessResult result = run(program, sim_args, c);
            EXPECT_EQ(result.exit_status, c.exit_status) << result.err;
            EXPECT_TRUE(std::regex_search(result.out, std::regex(c.out))) << result.out;
            for (const std::string& text : c.err) {
                EXPECT_NE(result.err.find(text), std::string::npos) << result.err;
            }
            EXPECT_EQ(files_under(folder), expected);
        }
    }

  private:
    ProcessResult run(const std::string& program, const std::vector<std::string>& sim_args,
                      const Case& c) {
        std::vector<std::string> argv{temp.file("bin/" + program)};
        for (const std::string& arg : c.args) argv.push_back(with_folder(arg, temp.file("case")));
        Env env{{"XDG_CONFIG_HOME", temp.file("case/config")},
                {"VELMORA_COM1", "/nonexistent/tty"}};
        env.insert(c.env.begin(), c.env.end());
        test_support::PtyPair forbidden;
        if (c.port == Port::terminal) {
            env["VELMORA_COM1"] = start_terminal(sim_args);
        } else if (c.port == Port::forbidden) {
            // Nobody but root may open it; the program runs as another user when we are root.
            ::chmod(forbidden.slave_path().c_str(), 0);
            env["VELMORA_COM1"] = forbidden.slave_path();
        } else if (c.port == Port::not_a_terminal) {
            env["VELMORA_COM1"] = "/dev/null";
        }
        const bool without_root = c.port == Port::forbidden;
        if (without_root) make_reachable();
        return run_process(argv, env, 20s, {temp.file("case/work"), without_root, ""});
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
    const Env latin2 = {{"VELMORA_CHARSET", "latin2"}};
    run_cases(
        "ravelo", {"source", "--generate", "2", "--size", "5"}, {},
        {
            row("help", {"--help"}, 0, help),
            row("short help", {"-h"}, 0, help, {}, {}, Port::none),
            row("version", {"--version"}, 0, "^ravelo [0-9]+\\.[0-9]+\n$", {}, {}, Port::none),
            // A mistyped option is never taken for a file name; after "--" a name may start so.
            row("unknown option", {"-x" + silent}, 2, "^$",
                {"ravelo: neznámá volba -x" + silent + "\nNápověda: ravelo --help"}),
            row("help beside a name", {"--help", "x.txt"}, 2, "^$"),
            row("unknown charset", {"--charset=latin2", "x.txt" + silent}, 2, "^$",
                {"ravelo: neznámá znaková sada --charset=latin2 (platí cp1250 nebo utf-8)\n"
                 "Nápověda: ravelo --help"}),
            row("unknown charset in the variable", {"x.txt" + silent}, 2, "^$",
                {"ravelo: neznámá znaková sada VELMORA_CHARSET=latin2"})
                .with_env(latin2),
            row("the option wins over the variable", {"--charset", "cp1250", "x.txt" + silent}, 0,
                "", {}, {"work/x.txt"})
                .with_env(latin2),
            row("ports", {"--ports"}, 0, kPortsOut + "(  COM[2-9][^\n]*\n){8}[^ ]", {}, {},
                Port::none),
            row("ports a user may not open", {"--ports"}, 0,
                "\n  COM1 = /dev/pts/[0-9]+ \\(VELMORA_COM1\\): nelze otevřít, chybí právo číst a "
                "zapisovat\n",
                {}, {}, Port::forbidden),
            row("options ended", {"--", "-odd.txt" + silent}, 0, "", {}, {"work/-odd.txt"}),
            row("absolute name", {"@/out/abs.txt" + silent}, 0, "", {}, {"out/abs.txt"})
                .with({{"out/.keep", ""}}),
            row("relative name from the current directory", {"rel.txt" + silent}, 0, "", {},
                {"work/rel.txt"}),
            row("settings from the settings folder", {}, 0, "", {}, {"saved/DATA.TXT"})
                .with(settings),
            row("port without permission", {command}, 1, "", kPermissionTexts, {}, Port::forbidden),
            row("not a terminal device", {command}, 1, "", {kNotATerminal}, {},
                Port::not_a_terminal),
            // Cut at 255, the string would overwrite the file it means to append to.
            row("over-long string refused", {std::string(250, 'n') + ",1,1,2,1,1,0,0,0,0,2"}, 2, "",
                {"[Chyba] Příkazový řádek je delší než 255 znaků!"}),
        });
}

TEST_F(Conventions, Lumbra) {
    const std::string help = "^Použití: lumbra \\[soubor\\[,P,B\\]\\]\n";
    const Files lists = {{"list.txt", "a\r\nb\r\n"}, {"work/here.txt", "c\r\n"}};
    const std::vector<std::string> loaded = {"[Lumbra] Přenos úspěšně dokončen!"};
    run_cases(
        "lumbra", {"lookup"}, lists,
        {
            row("help", {"--help"}, 0, help),
            row("short help", {"-h"}, 0, help, {}, {}, Port::none),
            row("version", {"--version"}, 0, "^lumbra [0-9]+\\.[0-9]+\n$", {}, {}, Port::none),
            // Lumbra offers COM1..COM6 only.
            row("ports", {"--ports"}, 0, kPortsOut + "(  COM[2-6][^\n]*\n){5}[^ ]", {}, {},
                Port::none),
            row("unknown option", {"--frobnicate"}, 2, "^$",
                {"lumbra: neznámá volba --frobnicate"}),
            row("options ended", {"--", "here.txt"}, 0, "", loaded),
            row("absolute name", {"@/list.txt,1,1"}, 0, "", loaded),
            row("relative name from the current directory", {"here.txt"}, 0, "", loaded),
            row("port without permission", {"here.txt"}, 1, "", kPermissionTexts, {},
                Port::forbidden),
            row("not a terminal device", {"here.txt"}, 1, "", {kNotATerminal}, {},
                Port::not_a_terminal),
            row("over-long path refused", {std::string(300, 'p') + ",1,1"}, 2, "",
                {"[Lumbra] Cesta k lookup souboru je delší než 299 znaků!"}),
        });
}

}  // namespace
