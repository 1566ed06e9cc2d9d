// veltrano_replay_server: a stand-in for the host's automation server that answers from a
// trace recorded with mbhost, for testing the COM adapter across two processes.
//
//   veltrano_replay_server TRACE READY-EVENT  runs as the running copy (Running Object Table),
//                                             signals READY-EVENT, ends on WM_QUIT
//   veltrano_replay_server -Embedding         as started by COM for CoCreateInstance: answers
//                                             the properties only, ends when its last client goes
//
// Exit status: 0 the whole trace was replayed and nothing else was asked; 2 bad command line
// or trace; 3 an unexpected request came; 4 the trace was not replayed to its end; 5 nobody
// asked anything for a minute.
#include <windows.h>

#include <objbase.h>
#include <oleauto.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "replay/replay_class.h"
#include "replay/replay_dispatch.h"

namespace {

using veltrano::replay::kReplayClsid;
using veltrano::replay::ReplayDispatch;
using veltrano::win32::toUtf8;

void say(const std::string& line) {
    std::printf("replay: %s\n", line.c_str());
    std::fflush(stdout);
}

// A test that has lost its server stops waiting long before this; the server then gives up too.
constexpr DWORD kIdleMs = 60000;

struct Options {
    std::wstring trace;  // empty when started by COM
    std::wstring readyEvent;
    bool embedding = false;
};

Options parse(int argc, wchar_t** argv) {
    const auto isEmbedding = [](const wchar_t* a) {
        return _wcsicmp(a, L"-Embedding") == 0 || _wcsicmp(a, L"/Embedding") == 0;
    };
    if (argc == 2 && isEmbedding(argv[1])) return {{}, {}, true};
    if (argc == 3) return {argv[1], argv[2], false};
    throw std::runtime_error("expected TRACE READY-EVENT, or -Embedding");
}

std::vector<veltrano::replay::TraceStep> load(const Options& o) {
    if (o.embedding) return {};
    std::ifstream in(std::filesystem::path(o.trace), std::ios::binary);
    if (!in) throw std::runtime_error("cannot open trace " + toUtf8(o.trace));
    return veltrano::replay::readTrace(in, toUtf8(o.trace));
}

// Answers CoCreateInstance with the one replayed host.
class Factory final : public veltrano::replay::UnknownOf<IClassFactory> {
public:
    explicit Factory(ReplayDispatch& host) : UnknownOf(IID_IClassFactory), host_(host) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        return host_.QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    ReplayDispatch& host_;
};

int serve(const Options& o, const std::vector<veltrano::replay::TraceStep>& steps) {
    DWORD lastRequest = GetTickCount();
    const DWORD mainThread = GetCurrentThreadId();
    ReplayDispatch dispatch(steps, [&](const std::string& line) {
        lastRequest = GetTickCount();
        say(line);
    });
    // A copy that COM starts comes up hidden, as an automation server does.
    dispatch.setVisible(!o.embedding);

    DWORD cookie = 0;
    HRESULT hr;
    Factory factory(dispatch);
    if (o.embedding) {
        hr = CoRegisterClassObject(kReplayClsid, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                   &cookie);
        dispatch.onLastClientGone([mainThread] { PostThreadMessageW(mainThread, WM_QUIT, 0, 0); });
    } else {
        // The Running Object Table lives in a system service that may still be starting.
        for (int attempt = 0; attempt < 40; ++attempt) {
            hr = RegisterActiveObject(&dispatch, kReplayClsid, ACTIVEOBJECT_STRONG, &cookie);
            if (hr != HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE)) break;
            Sleep(250);
        }
    }
    if (FAILED(hr)) {
        say("cannot offer the host object: HRESULT " + std::to_string(static_cast<long>(hr)));
        return 2;
    }
    dispatch.setOwnReferences(o.embedding ? 1 : 2);
    if (!o.readyEvent.empty()) {
        if (HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, o.readyEvent.c_str())) {
            SetEvent(ready);
            CloseHandle(ready);
        }
    }
    say("serving " + toUtf8(o.trace) + ", " + std::to_string(dispatch.remaining()) + " requests");

    int status = 0;
    for (bool running = true; running;) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) running = false;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (GetTickCount() - lastRequest > kIdleMs) {
            say("nobody asked anything for a minute: giving up");
            status = 5;
            break;
        }
    }
    if (o.embedding) {
        CoRevokeClassObject(cookie);
    } else {
        RevokeActiveObject(cookie, nullptr);
    }
    CoDisconnectObject(&dispatch, 0);

    if (!dispatch.firstProblem().empty()) {
        say("FAILED: " + dispatch.firstProblem());
        return 3;
    }
    if (dispatch.remaining() > 0) {
        say("FAILED: " + std::to_string(dispatch.remaining()) +
            " requests of the trace never came");
        return status ? status : 4;
    }
    say("the whole trace was replayed");
    return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    try {
        const Options options = parse(argc, argv);
        const auto steps = load(options);
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
            say("cannot initialise COM");
            return 2;
        }
        const int status = serve(options, steps);
        CoUninitialize();
        return status;
    } catch (const std::exception& e) {
        say(std::string("error: ") + e.what());
        return 2;
    }
}
