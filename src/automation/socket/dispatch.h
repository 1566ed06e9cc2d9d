// Carrying out one decoded request on the host object: the server side of a round trip.
#pragma once

#include "automation/socket/message.h"
#include "host/automation.h"

namespace veltrano::ipc {

// Makes the call a request names on the host object and turns its outcome into an answer.
// Never throws: a failure the call raises becomes a Failure answer, a request whose argument
// the member cannot take becomes a Refused one.
Answer dispatch(Automation& host, const Request& request);

}  // namespace veltrano::ipc
