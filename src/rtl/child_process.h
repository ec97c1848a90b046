// Running a helper program without a shell: arguments go to it exactly as given, its standard
// output and standard error come back through pipes.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace qorkit::detail {

/// The full path of `Program` as `execvp` would find it: a name with a "/" is taken as it
/// stands, any other is looked up in the folders of PATH. Empty when nothing executable is
/// found.
std::string FindProgram(const std::string& Program);

/// What a finished child left behind.
struct ChildResult {
    bool Started = false;   ///< false: the program could not be started (see `SpawnError`)
    int SpawnError = 0;     ///< errno of the failed start
    bool Exited = false;    ///< true: it ended through exit; `ExitCode` is valid
    int ExitCode = -1;      ///< the exit status when `Exited`
    int Signal = 0;         ///< the signal that ended it otherwise
    bool TimedOut = false;  ///< it was killed because the time limit passed
    std::string Out;        ///< its standard output
    std::string Err;        ///< its standard error (at most the first 64 KiB)
};

/// One child process. Standard input reads /dev/null, standard output and standard error go
/// to pipes; the child gets the caller's environment with default signal dispositions and an
/// empty signal mask. The destructor kills a child that still runs and reaps it, so no child
/// outlives its owner.
class ChildProcess {
  public:
    /// Starts `Program` (a path, see `FindProgram`) with `Args` as argv[1...].
    ChildProcess(const std::string& Program, const std::vector<std::string>& Args);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const noexcept { return FPid > 0; }
    pid_t Pid() const noexcept { return FPid; }
    /// The read end of the child's standard output (-1 when not started or consumed).
    int OutFd() const noexcept { return FOut; }
    /// Sends `Sig` to a running child.
    void Kill(int Sig) noexcept;
    /// Reads both pipes until they close and waits for the child. With `TimeoutMs` >= 0 the
    /// child is killed (SIGKILL) when it has not finished after that many milliseconds.
    ChildResult Wait(int TimeoutMs = -1);

  private:
    pid_t FPid = -1;
    int FOut = -1;
    int FErr = -1;
    int FSpawnError = 0;
};

}  // namespace qorkit::detail
