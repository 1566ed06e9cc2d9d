#include "engine/engine_failure.h"

#include <exception>
#include <new>
#include <stdexcept>
#include <string>

namespace veltrano {

Automation& heldHost(const AutomationPtr& host) {
    if (!host) {
        throw RunTimeError(err::kObjectNotSet, {}, "engine");
    }
    return *host;
}

namespace {

RunTimeError asRunTimeError(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const RunTimeError& e) {
        return e;
    } catch (const std::bad_alloc&) {
        return RunTimeError(err::kOutOfMemory, {}, "engine");
    } catch (const std::length_error&) {
        return RunTimeError(err::kOutOfMemory, {}, "engine");
    } catch (const std::exception& e) {
        return RunTimeError(engine_err::kInternal, std::string("Internal error: ") + e.what(),
                            "engine");
    } catch (...) {
        return RunTimeError(engine_err::kInternal, "Internal error", "engine");
    }
}

}  // namespace

RunTimeError recordCaughtFailure() {
    RunTimeError failure = asRunTimeError(std::current_exception());
    LastError::set(failure);
    return failure;
}

void showInternalError(MessageBoxPort& messages, std::string_view caption,
                       const RunTimeError& failure) {
    const std::string text = std::to_string(failure.number()) + ": " + failure.description();
    messages.show(text, caption, MessageIcon::Exclamation);
}

}  // namespace veltrano
