// Runs veltrano_replay_server beside the tests: a host in another process, answering from a
// trace the test writes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace veltrano::testing {

// The folder of the running test program, where the build puts the replay server too.
std::wstring testProgramDir();
// Starts a command line: the new process, or nullptr when it could not start; mainThread, if
// given, receives the id of its first thread.
HANDLE startProcess(std::wstring commandLine, DWORD* mainThread = nullptr);
// Waits for a process and closes it: its exit code, or -1 when it took longer than timeoutMs
// (it is then killed).
int exitCodeOf(HANDLE process, DWORD timeoutMs);

// One trace line, as mbhost writes them.
std::string traceAnswer(const std::string& member, const std::string& argument,
                        const std::string& answer);
std::string traceFailure(const std::string& member, const std::string& argument, std::int32_t code,
                         const std::string& message);

class ReplayServerProcess {
public:
    // Registers "MapInfo.Application" for the replay server; true on success.
    static bool registerClass();

    // Registers the class, writes trace to a file of its own, starts the server and waits until
    // it is in the Running Object Table. Raises std::runtime_error when it does not come up.
    explicit ReplayServerProcess(const std::string& trace);
    ~ReplayServerProcess();
    ReplayServerProcess(const ReplayServerProcess&) = delete;
    ReplayServerProcess& operator=(const ReplayServerProcess&) = delete;

    // Asks the server to finish and returns its exit status (0: the whole trace was replayed).
    int stop();
    // Ends the process at once, as a crash would.
    void kill();

private:
    std::wstring traceFile_;
    HANDLE process_ = nullptr;
    DWORD mainThread_ = 0;
};

}  // namespace veltrano::testing
