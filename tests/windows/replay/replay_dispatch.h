// The host played back from a trace, as an automation object: IDispatch with the host's member
// names. The MapBasic traffic (Eval, Do, RunCommand, RunMenuCommand) must arrive exactly as
// recorded, in order; anything else is an unexpected request, answered with a failure that says
// what was expected, and remembered. The state members (LastErrorCode, LastErrorMessage,
// Visible) follow the replayed answers; the descriptive ones (Name, FullName, ProductLevel,
// Version, Application) answer as last recorded.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "replay/dispatch_object.h"
#include "support/trace/trace.h"

namespace veltrano::replay {

class ReplayDispatch final : public DispatchObject {
public:
    // log receives one line per request; may be empty.
    ReplayDispatch(const std::vector<TraceStep>& steps,
                   std::function<void(const std::string&)> log);

    void setVisible(bool visible) { visible_ = visible; }
    std::size_t remaining() const { return traffic_.size() - next_; }
    // The first unexpected request; empty when none came.
    const std::string& firstProblem() const { return firstProblem_; }

    // Called each time the count of outside references falls back to none.
    void onLastClientGone(std::function<void()> callback) { lastClientGone_ = std::move(callback); }
    // References the server itself holds (the Running Object Table, a class factory), so
    // that "no outside reference" can be told.
    void setOwnReferences(ULONG count) { ownReferences_ = count; }

    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override;

private:
    HRESULT request(const std::string& member, const std::string& argument, VARIANT* result,
                    EXCEPINFO* exception);
    HRESULT put(const std::string& member, const std::string& argument);
    HRESULT get(const std::string& member, VARIANT* result);
    HRESULT unexpected(std::string what, EXCEPINFO* exception);

    std::vector<TraceStep> traffic_;
    std::size_t next_ = 0;
    std::map<std::string, std::string, std::less<>> descriptions_;
    std::int32_t lastErrorCode_ = 0;
    std::string lastErrorMessage_;
    bool visible_ = true;
    std::string firstProblem_;
    std::function<void(const std::string&)> log_;
    std::function<void()> lastClientGone_;
    ULONG ownReferences_ = 1;
};

}  // namespace veltrano::replay
