#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>

extern char** environ;

namespace qorkit::detail {

namespace {

constexpr std::size_t kMaxErr = 64 * 1024;

bool IsExecutable(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

void CloseFd(int& fd) noexcept {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// Appends what `fd` holds now; false once the writer has closed it (or it failed).
bool Drain(int fd, std::string& into, std::size_t limit) {
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n > 0) {
            const std::size_t room = into.size() < limit ? limit - into.size() : 0;
            into.append(buf, std::min<std::size_t>(room, static_cast<std::size_t>(n)));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
        return false;
    }
}

// Spawn attributes and file actions, released on every path out.
struct SpawnSetup {
    posix_spawnattr_t attr{};
    posix_spawn_file_actions_t actions{};
    SpawnSetup() {
        posix_spawnattr_init(&attr);
        posix_spawn_file_actions_init(&actions);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attr);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

std::string FindProgram(const std::string& Program) {
    if (Program.empty()) return {};
    if (Program.find('/') != std::string::npos) return IsExecutable(Program) ? Program : "";
    const char* path = std::getenv("PATH");
    const std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = dirs.find(':', start);
        std::string dir = dirs.substr(start, colon == std::string::npos ? colon : colon - start);
        if (dir.empty()) dir = ".";
        const std::string candidate = dir + "/" + Program;
        if (IsExecutable(candidate)) return candidate;
        if (colon == std::string::npos) return {};
        start = colon + 1;
    }
}

ChildProcess::ChildProcess(const std::string& Program, const std::vector<std::string>& Args) {
    int out[2] = {-1, -1};
    int err[2] = {-1, -1};
    if (::pipe2(out, O_CLOEXEC) != 0) {
        FSpawnError = errno;
        return;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        FSpawnError = errno;
        CloseFd(out[0]);
        CloseFd(out[1]);
        return;
    }
    std::vector<char*> argv;
    argv.reserve(Args.size() + 2);
    argv.push_back(const_cast<char*>(Program.c_str()));
    for (const std::string& a : Args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    SpawnSetup s;
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&s.attr, &none);
    posix_spawnattr_setsigdefault(&s.attr, &all);
    posix_spawnattr_setflags(&s.attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawn_file_actions_addopen(&s.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&s.actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&s.actions, err[1], 2);
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, Program.c_str(), &s.actions, &s.attr, argv.data(), environ);
    CloseFd(out[1]);
    CloseFd(err[1]);
    if (rc != 0) {
        FSpawnError = rc;
        CloseFd(out[0]);
        CloseFd(err[0]);
        return;
    }
    FPid = pid;
    FOut = out[0];
    FErr = err[0];
    ::fcntl(FOut, F_SETFL, ::fcntl(FOut, F_GETFL) | O_NONBLOCK);
    ::fcntl(FErr, F_SETFL, ::fcntl(FErr, F_GETFL) | O_NONBLOCK);
}

ChildProcess::~ChildProcess() {
    if (FPid > 0) {
        ::kill(FPid, SIGKILL);
        while (::waitpid(FPid, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    CloseFd(FOut);
    CloseFd(FErr);
}

void ChildProcess::Kill(int Sig) noexcept {
    if (FPid > 0) ::kill(FPid, Sig);
}

ChildResult ChildProcess::Wait(int TimeoutMs) {
    ChildResult r;
    if (FPid <= 0) {
        r.SpawnError = FSpawnError;
        return r;
    }
    r.Started = true;
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(TimeoutMs < 0 ? 0 : TimeoutMs);
    int status = 0;
    for (;;) {
        // A grandchild may keep the pipes open after the child itself ended, so the child's
        // end, not the pipes' end, finishes the wait.
        pollfd fds[2] = {{FOut, POLLIN, 0}, {FErr, POLLIN, 0}};
        ::poll(fds, 2, 100);
        if (FOut >= 0 && !Drain(FOut, r.Out, std::string::npos)) CloseFd(FOut);
        if (FErr >= 0 && !Drain(FErr, r.Err, kMaxErr)) CloseFd(FErr);
        const pid_t w = ::waitpid(FPid, &status, WNOHANG);
        if (w == FPid) break;
        if (w < 0 && errno != EINTR) {
            status = 0;
            break;
        }
        if (TimeoutMs >= 0 && Clock::now() >= deadline) {
            r.TimedOut = true;
            ::kill(FPid, SIGKILL);
            while (::waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
            }
            break;
        }
    }
    FPid = -1;
    if (FOut >= 0) Drain(FOut, r.Out, std::string::npos);
    if (FErr >= 0) Drain(FErr, r.Err, kMaxErr);
    CloseFd(FOut);
    CloseFd(FErr);
    if (WIFEXITED(status)) {
        r.Exited = true;
        r.ExitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        r.Signal = WTERMSIG(status);
    }
    return r;
}

}  // namespace qorkit::detail
