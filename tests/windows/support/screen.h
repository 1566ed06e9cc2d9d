// Whether this Wine session can create windows: without a display it cannot, and the tests
// that need one skip.
#pragma once

namespace veltrano::testing {

bool screenAvailable();

}  // namespace veltrano::testing
