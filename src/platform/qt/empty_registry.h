// The registry port where there is no registry.
#pragma once

#include "platform/registry.h"

namespace veltrano {

// The registry of a system that has none: every read finds nothing.
class EmptyRegistry final : public RegistryPort {
public:
    std::optional<RegistryValue> read(RegistryRoot, std::string_view, std::string_view,
                                      std::uint32_t) override {
        return std::nullopt;
    }
};

}  // namespace veltrano
