#include "stream_ports.h"

#include <string>

#include "foundation/run_time_error.h"

namespace veltrano::batch {

void StreamMessageBox::show(std::string_view text, std::string_view caption, MessageIcon) {
    std::string lines(text);
    for (auto at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n", at)) {
        lines.replace(at, 2, "\n");
    }
    out_ << (caption.empty() ? kApplicationTitle : caption) << ": " << lines << '\n';
    out_.flush();
}

void NoWindowActivation::activate(std::string_view, bool) {
    throw RunTimeError(err::kInvalidProcedureCall, {}, "AppActivate");
}

}  // namespace veltrano::batch
