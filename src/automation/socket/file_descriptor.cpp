#include "automation/socket/file_descriptor.h"

#include "automation/socket/system_calls.h"

namespace veltrano::ipc {

void FileDescriptor::reset() noexcept {
    if (fd_ >= 0) systemCalls().close(std::exchange(fd_, -1));
}

}  // namespace veltrano::ipc
