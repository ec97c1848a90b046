// The dialog services behind the standard save dialog: the desktop chooser (with a stand-in
// program, then the real one on a virtual X display) and the terminal prompt on a
// pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "../../src/rtl/child_process.h"
#include "qorkit/core/errors.h"
#include "qorkit/filesys/save_dialog.h"
#include "rtl/temp_dir.h"

using namespace qorkit;
using qorkit::test::TempDir;
using Clock = std::chrono::steady_clock;

namespace {

// Sets environment variables for one scope and puts the old values back.
class EnvGuard {
  public:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        FSaved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvGuard() {
        for (auto it = FSaved.rbegin(); it != FSaved.rend(); ++it) {
            if (it->second)
                ::setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                ::unsetenv(it->first.c_str());
        }
    }

  private:
    std::vector<std::pair<std::string, std::optional<std::string>>> FSaved;
};

// A save dialog offering three types, the second preselected.
void SetUpDialog(TFileSaveDialog& d) {
    d.SetTitle(u"My \"quoted\" $(title)");
    d.SetFileName(u"start file.txt");
    d.SetDefaultFolder(u"/tmp/x y");
    d.AddFileType(u"Text", u"*.txt");
    d.AddFileType(u"Tables", u"*.csv; *.tsv");
    d.AddFileType(u"All", u"*.*");
    d.SetFileTypeIndex(2);
}

}  // namespace

TEST(SaveDialogServices_Chooser, ArgumentsExitStatusesAndOutput) {
    TempDir dir;
    struct Case {
        const char* Body;  // the stand-in chooser's behaviour
        bool Ok;
        std::uint32_t Error;
        const char16_t* Name;
        std::int32_t Type;
    };
    const std::vector<Case> cases = {
        {"printf '/s p/pick.TSV\\n'", true, 0, u"/s p/pick.TSV", 2},
        {"printf '/s/plain.TXT\\n'", true, 0, u"/s/plain.TXT", 1},
        {"printf '/s/other.bin\\n'", true, 0, u"/s/other.bin", 3},
        {"exit 1", false, 0, nullptr, 2},
        {"exit 5", false, 0, nullptr, 2},  // the chooser's own timeout
        {"echo 'Gtk-WARNING **: cannot open display: :9' >&2; exit 1", false, cdInitialization,
         nullptr, 2},
        {"exit 3", false, cdDialogFailure, nullptr, 2},
        {"exit 0", false, cdDialogFailure, nullptr, 2},  // accepted without a name
        {"kill -9 $$", false, cdDialogFailure, nullptr, 2},
    };
    const std::string program = dir.Native("chooser");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Body);
        dir.Put("chooser", "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                               dir.Native("args") + "'\n" + c.Body + "\n");
        ::chmod(program.c_str(), 0755);
        const bool prompt = &c == &cases.front();
        TFileSaveDialog d;
        SetUpDialog(d);
        d.SetOverwritePrompt(prompt);
        d.SetBackend(ZenityFileDialogBackend({FromUtf8(program), 9}));
        EXPECT_EQ(d.Execute(0x1234), c.Ok);
        EXPECT_EQ(d.ErrorCode(), c.Error) << ToUtf8(d.ErrorText());
        EXPECT_EQ(d.FileName(), c.Name ? String(c.Name) : String(u"start file.txt"));
        EXPECT_EQ(d.FileTypeIndex(), c.Type);
        // Every value reaches the chooser as one argument, untouched by any shell.
        EXPECT_EQ(dir.Get("args"), std::string("--file-selection\n--save\n") +
                                       (prompt ? "--confirm-overwrite\n" : "") +
                                       "--title=My \"quoted\" $(title)\n"
                                       "--filename=/tmp/x y/start file.txt\n"
                                       "--file-filter=Tables | *.[cC][sS][vV] *.[tT][sS][vV]\n"
                                       "--file-filter=Text | *.[tT][xX][tT]\n"
                                       "--file-filter=All | *\n--attach=4660\n--timeout=9\n");
    }
    TFileSaveDialog d;
    d.SetBackend(ZenityFileDialogBackend({FromUtf8(dir.Native("missing")), 0}));
    EXPECT_FALSE(d.Execute());
    EXPECT_EQ(d.ErrorCode(), cdInitialization);
}

namespace {

// Runs `Work` in a child whose standard input, output and error are a pseudo-terminal and
// plays `Dialogue` on it: wait for each prompt, then type the answer. Returns what `Work`
// returned in the child; `Transcript` receives everything the terminal showed.
std::string RunOnTerminal(const std::function<std::string()>& Work,
                          const std::vector<std::pair<std::string, std::string>>& Dialogue,
                          std::string& Transcript) {
    int result[2];
    if (::pipe(result) != 0) return "pipe failed";
    int master = -1;
    const pid_t pid = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (pid == 0) {
        ::close(result[0]);
        std::string r;
        try {
            r = Work();
        } catch (const std::exception& e) {
            r = std::string("error: ") + e.what();
        }
        (void)!::write(result[1], r.data(), r.size());
        ::_exit(0);
    }
    ::close(result[1]);
    if (pid < 0) {
        ::close(result[0]);
        return "forkpty failed";
    }
    // The child never outlives the test, whatever happens below.
    struct Reap {
        pid_t Pid;
        int Master, Result;
        ~Reap() {
            if (Pid > 0) {  // never kill(-1): that would signal every process
                ::kill(Pid, SIGKILL);
                ::waitpid(Pid, nullptr, 0);
            }
            ::close(Master);
            ::close(Result);
        }
    } reap{pid, master, result[0]};
    const auto readSome = [&](int fd, std::string& into, int ms) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, ms) <= 0) return false;
        char buf[512];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) return false;
        into.append(buf, static_cast<std::size_t>(n));
        return true;
    };
    std::size_t seen = 0;
    for (const auto& [prompt, answer] : Dialogue) {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        std::size_t at;
        while ((at = Transcript.find(prompt, seen)) == std::string::npos) {
            if (Clock::now() > deadline) return "timed out waiting for: " + prompt;
            readSome(master, Transcript, 200);
        }
        seen = at + prompt.size();
        (void)!::write(master, answer.data(), answer.size());
    }
    std::string r;
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (Clock::now() < deadline) {
        readSome(master, Transcript, 0);  // keep the terminal drained
        if (!readSome(result[0], r, 100) && ::waitpid(pid, nullptr, WNOHANG) == pid) {
            reap.Pid = -1;
            while (readSome(result[0], r, 0)) {
            }
            break;
        }
    }
    return r;
}

}  // namespace

TEST(SaveDialogServices_Terminal, PromptOnAPseudoTerminal) {
    TempDir dir;
    dir.Put("taken.txt", "x");
    const std::string folder = dir.Native("");
    const auto choose = [&](const String& filter) {
        return [&, filter] {
            ::unsetenv("DISPLAY");  // so the terminal is the service that fits
            ::unsetenv("WAYLAND_DISPLAY");
            TUnivSaveDialog dlg;
            String asked;
            dlg.SetOnOverwrite([&](TObject*, const String& name, TModalResult&) {
                asked = name;  // keep the file: the dialog is shown again
            });
            dlg.SetParameters(u"filter=\"" + filter + u"\" caption=\"Save table\" initialdir=\"" +
                              FromUtf8(folder) + u"\"");
            dlg.SetFileName(u"start.txt");
            const bool ok = dlg.Execute();
            return (ok ? "ok " : "cancel ") + ToUtf8(dlg.FileName()) + " " +
                   std::to_string(dlg.FilterIndex()) +
                   (asked.empty() ? "" : " asked " + ToUtf8(asked));
        };
    };
    std::string shown;
    // Another type renames the proposal (the type-change handler), then a name is typed.
    EXPECT_EQ(RunOnTerminal(
                  choose(u"Text|*.txt|Tables|*.csv"),
                  {{"File type [1]: ", "2\n"}, {"File name [start.csv]: ", "report.csv\n"}}, shown),
              "ok " + folder + "report.csv 2");
    EXPECT_NE(shown.find("Save table"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Folder: " + folder), std::string::npos) << shown;
    EXPECT_NE(shown.find("  2  Tables (*.csv)"), std::string::npos) << shown;

    // A bad type number asks again; Enter keeps the proposal.
    shown.clear();
    EXPECT_EQ(RunOnTerminal(choose(u"Text|*.txt|Tables|*.csv"),
                            {{"File type [1]: ", "7\n"},
                             {"Enter a number from 1 to 2.", ""},
                             {"File type [1]: ", "\n"},
                             {"File name [start.txt]: ", "\n"}},
                            shown),
              "ok " + folder + "start.txt 1");

    // The component asks about an existing file itself; kept, the prompt comes again with
    // that name, and the end of input cancels.
    shown.clear();
    EXPECT_EQ(RunOnTerminal(
                  choose(u"Text|*.txt"),
                  {{"File name [start.txt]: ", "taken.txt\n"}, {"File name [taken.txt]: ", "\x04"}},
                  shown),
              "cancel " + folder + "taken.txt 1 asked " + folder + "taken.txt");
    EXPECT_EQ(shown.find("Replace it?"), std::string::npos) << shown;

    // A dialog used alone may ask itself: "n" keeps the file, a folder is no file name.
    shown.clear();
    EXPECT_EQ(RunOnTerminal(
                  [&] {
                      TFileSaveDialog d;
                      d.SetDefaultFolder(FromUtf8(folder));
                      d.SetOverwritePrompt(true);
                      d.SetBackend(TerminalFileDialogBackend(0, 1));
                      const bool ok = d.Execute();
                      return (ok ? "ok " : "cancel ") + ToUtf8(d.FileName());
                  },
                  {{"File name: ", "taken.txt\n"},
                   {"already exists. Replace it? [y/N]: ", "n\n"},
                   {"File name: ", "..\n"},
                   {"is a folder.", ""},
                   {"File name: ", "taken.txt\n"},
                   {"Replace it? [y/N]: ", "y\n"}},
                  shown),
              "ok " + folder + "taken.txt");
    EXPECT_EQ(dir.Get("taken.txt"), "x");
}

namespace {

// The first line a child writes on its standard output within `TimeoutMs`; empty otherwise.
std::string FirstLine(const detail::ChildProcess& Child, int TimeoutMs) {
    std::string text;
    const auto deadline = Clock::now() + std::chrono::milliseconds(TimeoutMs);
    while (text.find('\n') == std::string::npos && Clock::now() < deadline) {
        pollfd p{Child.OutFd(), POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        char buf[64];
        const ssize_t n = ::read(Child.OutFd(), buf, sizeof buf);
        if (n > 0)
            text.append(buf, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EAGAIN)
            break;
    }
    const std::size_t end = text.find('\n');
    return end == std::string::npos ? std::string() : text.substr(0, end);
}

}  // namespace

// The real desktop chooser on a virtual X display, driven by synthetic key presses: a typed
// name is accepted, Escape cancels. Without the programs the test is skipped, unless
// QORKIT_REQUIRE_DIALOG is set (as in CI), where it fails.
TEST(SaveDialogServices_Chooser, RealChooserOnAVirtualDisplay) {
    const char* require = std::getenv("QORKIT_REQUIRE_DIALOG");
    const std::string xvfb = detail::FindProgram("Xvfb");
    const std::string xdotool = detail::FindProgram("xdotool");
    if (xvfb.empty() || xdotool.empty() || detail::FindProgram("zenity").empty()) {
        const char* why =
            "Xvfb, xdotool or zenity is missing (tools/install-deps.sh installs them)";
        if (require != nullptr && *require != '\0' && std::string(require) != "0") FAIL() << why;
        GTEST_SKIP() << why;
    }
    TempDir dir;
    // The server picks a free display itself and writes its number once it accepts clients.
    detail::ChildProcess server(
        xvfb, {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
    ASSERT_TRUE(server.Started());
    const std::string display = FirstLine(server, 10000);
    ASSERT_FALSE(display.empty()) << "the virtual display did not start";
    EnvGuard env;
    env.Set("DISPLAY", (":" + display).c_str());
    env.Set("WAYLAND_DISPLAY", nullptr);
    env.Set("GDK_BACKEND", "x11");
    env.Set("NO_AT_BRIDGE", "1");                      // no accessibility bus to wait for
    env.Set("GSETTINGS_BACKEND", "memory");            // no settings daemon
    env.Set("XDG_DATA_HOME", dir.Native("").c_str());  // the recent-files list stays here
    env.Set("XDG_CONFIG_HOME", dir.Native("").c_str());

    const auto xdo = [&](const std::vector<std::string>& args) {
        detail::ChildProcess c(xdotool, args);
        return c.Wait(10000);
    };
    // Shows the dialog on a thread and runs the xdotool commands `Keys` on it; the server's end
    // closes a chooser that is still open, so the thread always ends.
    const auto run = [&](const std::vector<std::vector<std::string>>& Keys, std::string& outcome) {
        TUnivSaveDialog dlg;
        dlg.SetName(u"Real");
        dlg.SetParameters(u"filter=\"Tables|*.csv|Text|*.txt\" caption=\"Save the report\"");
        dlg.SetFileName(FromUtf8(dir.Native("start.txt")));
        dlg.SetFilterIndex(2);
        std::atomic<bool> done{false};
        std::thread shown([&] {
            try {
                const bool ok = dlg.Execute();
                outcome = (ok ? "ok " : "cancel ") + ToUtf8(dlg.FileName()) + " " +
                          std::to_string(dlg.FilterIndex());
            } catch (const std::exception& e) {
                outcome = e.what();
            }
            done = true;
        });
        const detail::ChildResult found =
            xdo({"search", "--sync", "--onlyvisible", "--name", "Save the report"});
        const std::string window = found.Out.substr(0, found.Out.find('\n'));
        EXPECT_FALSE(window.empty()) << "no chooser window appeared: " << found.Err;
        if (!window.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));  // let it take input
            EXPECT_TRUE(xdo({"windowfocus", "--sync", window}).Exited);
            // Keys without a window go through the XTEST extension to the focus (keys sent to a
            // window as events, as in a chain of commands, are ignored by the chooser).
            for (const auto& k : Keys)
                EXPECT_TRUE(xdo(k).Exited);
        }
        const auto deadline = Clock::now() + std::chrono::seconds(8);
        while (!done && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (!done) server.Kill(SIGKILL);
        shown.join();
    };
    std::string outcome;
    run({{"key", "ctrl+a"}, {"type", "--delay", "10", "chosen name.csv"}, {"key", "Return"}},
        outcome);
    // The name's type is found from its mask, since the chooser does not report it.
    EXPECT_EQ(outcome, "ok " + dir.Native("chosen name.csv") + " 1");
    outcome.clear();
    run({{"key", "Escape"}}, outcome);
    EXPECT_EQ(outcome, "cancel " + dir.Native("start.txt") + " 2");

    // Without the display the chooser cannot start: message 1 with the documented code.
    server.Kill(SIGKILL);
    server.Wait();
    TUnivSaveDialog dlg;
    dlg.SetName(u"Real");
    try {
        dlg.Execute();
        ADD_FAILURE() << "no dialog error";
    } catch (const EQORFileSysError& e) {
        EXPECT_STREQ(e.what(), "Component \"Real\": Error in standard dialog (errnum = $0002).");
    }
}
