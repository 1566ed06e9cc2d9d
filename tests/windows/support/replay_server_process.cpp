#include "support/replay_server_process.h"

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <utility>

#include "replay/replay_class.h"

namespace veltrano::testing {

namespace {

// How long the server may take to come up, or to finish.
constexpr DWORD kWaitMs = 20000;

std::string traceLine(const std::string& member, const std::string& argument,
                      const nlohmann::json& outcome) {
    nlohmann::json line{{"client", 1}, {"member", member}, {"argument", argument}};
    line.update(outcome);
    return line.dump() + "\n";
}

std::wstring serverPath() {
    return L"\"" + testProgramDir() + L"\\veltrano_replay_server.exe\"";
}

// A key's default value in HKEY_LOCAL_MACHINE, the key made if need be.
bool setDefault(const std::wstring& key, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                           bytes) == ERROR_SUCCESS;
}

std::wstring uniqueName(const wchar_t* what) {
    static int counter = 0;
    return std::wstring(L"Veltrano") + what + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

std::wstring writeTrace(const std::string& trace) {
    const auto file = std::filesystem::temp_directory_path() / (uniqueName(L"Trace") + L".jsonl");
    std::ofstream out(file, std::ios::binary);
    out << trace;
    if (!out) throw std::runtime_error("cannot write the trace file");
    return file.wstring();
}

}  // namespace

std::wstring testProgramDir() {
    wchar_t path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/"));
}

HANDLE startProcess(std::wstring commandLine, DWORD* mainThread) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return nullptr;
    }
    CloseHandle(process.hThread);
    if (mainThread) *mainThread = process.dwThreadId;
    return process.hProcess;
}

int exitCodeOf(HANDLE process, DWORD timeoutMs) {
    DWORD code = 0;
    const bool ended = WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
    if (ended) {
        GetExitCodeProcess(process, &code);
    } else {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, timeoutMs);
    }
    CloseHandle(process);
    return ended ? static_cast<int>(code) : -1;
}

std::string traceAnswer(const std::string& member, const std::string& argument,
                        const std::string& answer) {
    return traceLine(member, argument, {{"answer", answer}});
}

std::string traceFailure(const std::string& member, const std::string& argument, std::int32_t code,
                         const std::string& message) {
    return traceLine(member, argument,
                     {{"error", {{"number", -2147352567}, {"code", code}, {"message", message}}}});
}

bool ReplayServerProcess::registerClass() {
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring clsidKey = classes + L"CLSID\\" + replay::kReplayClsidText;
    return setDefault(classes + replay::kReplayProgId, L"Veltrano replay host") &&
           setDefault(classes + replay::kReplayProgId + L"\\CLSID", replay::kReplayClsidText) &&
           setDefault(clsidKey, L"Veltrano replay host") &&
           setDefault(clsidKey + L"\\ProgID", replay::kReplayProgId) &&
           setDefault(clsidKey + L"\\LocalServer32", serverPath());
}

ReplayServerProcess::ReplayServerProcess(const std::string& trace) : traceFile_(writeTrace(trace)) {
    const std::wstring readyName = uniqueName(L"Ready");
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    const std::wstring command = serverPath() + L" \"" + traceFile_ + L"\" " + readyName;
    process_ = registerClass() && ready ? startProcess(command, &mainThread_) : nullptr;
    if (!process_) {
        if (ready) CloseHandle(ready);
        throw std::runtime_error("cannot register or start the replay server");
    }
    HANDLE waits[] = {ready, process_};
    const DWORD waited = WaitForMultipleObjects(2, waits, FALSE, kWaitMs);
    CloseHandle(ready);
    if (waited != WAIT_OBJECT_0) {
        kill();
        throw std::runtime_error("the replay server did not come up");
    }
}

ReplayServerProcess::~ReplayServerProcess() {
    kill();
    DeleteFileW(traceFile_.c_str());
}

int ReplayServerProcess::stop() {
    if (!process_) return -1;
    PostThreadMessageW(mainThread_, WM_QUIT, 0, 0);
    return exitCodeOf(std::exchange(process_, nullptr), kWaitMs);
}

void ReplayServerProcess::kill() {
    if (!process_) return;
    TerminateProcess(process_, 86);
    exitCodeOf(std::exchange(process_, nullptr), kWaitMs);
}

}  // namespace veltrano::testing
