#include "support/replay_server_process.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "platform/win32/wide_text.h"

namespace veltrano::testing {

namespace {

constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kStopTimeoutMs = 20000;

// Enough JSON for the texts the tests send: quotes and backslashes escaped.
std::string jsonQuoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string traceLine(const std::string& member, const std::string& argument,
                      const std::string& outcome) {
    return "{\"time\":\"2026-01-01T00:00:00Z\",\"client\":1,\"member\":" + jsonQuoted(member) +
           ",\"argument\":" + jsonQuoted(argument) + "," + outcome + "}\n";
}

std::wstring serverPath() {
    return L"\"" + testProgramDir() + L"\\veltrano_replay_server.exe\"";
}

std::wstring uniqueName(const wchar_t* what) {
    static int counter = 0;
    return std::wstring(L"Veltrano") + what + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

}  // namespace

std::wstring testProgramDir() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

int runAndWait(const std::wstring& commandLine, DWORD timeoutMs) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1;
    }
    CloseHandle(process.hThread);
    int status = -1;
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        status = static_cast<int>(code);
    } else {
        TerminateProcess(process.hProcess, 99);
    }
    CloseHandle(process.hProcess);
    return status;
}

std::string traceAnswer(const std::string& member, const std::string& argument,
                        const std::string& answer) {
    return traceLine(member, argument, "\"answer\":" + jsonQuoted(answer));
}

std::string traceFailure(const std::string& member, const std::string& argument, std::int32_t code,
                         const std::string& message) {
    return traceLine(member, argument,
                     "\"error\":{\"number\":-2147352567,\"code\":" + std::to_string(code) +
                         ",\"message\":" + jsonQuoted(message) + "}");
}

bool ReplayServerProcess::registerClass(const std::wstring& traceForNewCopies) {
    std::wstring command = serverPath() + L" --register";
    if (!traceForNewCopies.empty()) command += L" \"" + traceForNewCopies + L"\"";
    return runAndWait(command) == 0;
}

bool ReplayServerProcess::unregisterClass() {
    return runAndWait(serverPath() + L" --unregister") == 0;
}

std::wstring ReplayServerProcess::writeTrace(const std::string& trace) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring file = std::wstring(folder) + uniqueName(L"Trace") + L".jsonl";
    std::ofstream out(std::filesystem::path(file), std::ios::binary);
    out << trace;
    if (!out) throw std::runtime_error("cannot write the trace file");
    return file;
}

ReplayServerProcess::ReplayServerProcess(const std::string& trace) : traceFile_(writeTrace(trace)) {
    const std::wstring readyName = uniqueName(L"Ready");
    const std::wstring stopName = uniqueName(L"Stop");
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    stopEvent_ = CreateEventW(nullptr, TRUE, FALSE, stopName.c_str());
    std::wstring command = serverPath() + L" \"" + traceFile_ + L"\" --ready " + readyName +
                           L" --stop " + stopName + L" --idle-seconds 60";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!ready || !stopEvent_ ||
        !CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        if (ready) CloseHandle(ready);
        throw std::runtime_error("cannot start the replay server");
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    HANDLE waits[] = {ready, process_};
    const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, kStartTimeoutMs);
    CloseHandle(ready);
    if (waited != WAIT_OBJECT_0) {
        kill();
        throw std::runtime_error("the replay server did not come up");
    }
}

ReplayServerProcess::~ReplayServerProcess() {
    kill();
    if (stopEvent_) CloseHandle(stopEvent_);
    DeleteFileW(traceFile_.c_str());
}

int ReplayServerProcess::stop() {
    if (!process_) return -1;
    SetEvent(stopEvent_);
    int status = -1;
    if (WaitForSingleObject(process_, kStopTimeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        status = static_cast<int>(code);
        CloseHandle(process_);
        process_ = nullptr;
    } else {
        kill();
    }
    return status;
}

void ReplayServerProcess::kill() {
    if (!process_) return;
    TerminateProcess(process_, 86);
    WaitForSingleObject(process_, kStopTimeoutMs);
    CloseHandle(process_);
    process_ = nullptr;
}

}  // namespace veltrano::testing
