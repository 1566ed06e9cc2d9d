#include "write_interruption.h"

#include <atomic>

namespace mbhost::gdal {

namespace {
std::atomic<StopCheck> stopCheck{nullptr};
}

void setWriteStopCheck(StopCheck check) {
    stopCheck = check;
}

bool writeStopRequested() {
    const StopCheck check = stopCheck;
    return check != nullptr && check();
}

}  // namespace mbhost::gdal
