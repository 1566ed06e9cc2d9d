#include "automation/socket/server_limits.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace veltrano::ipc {

Admission admit(const std::vector<HeldConnection>& held, pid_t pid, const ServerLimits& limits) {
    std::map<pid_t, std::size_t> counts;
    for (const HeldConnection& connection : held) ++counts[connection.pid];
    const std::size_t own = counts[pid];
    if (own >= limits.maxPerProcess) {
        return {false, 0,
                "too many connections from this process (" + std::to_string(limits.maxPerProcess) +
                    ")"};
    }
    if (held.size() < limits.maxClients) return {true, 0, {}};
    std::size_t most = 0;
    for (const auto& [holder, count] : counts) most = std::max(most, count);
    const HeldConnection* oldest = nullptr;
    for (const HeldConnection& connection : held) {
        if (counts[connection.pid] != most || (connection.answering && own >= most)) continue;
        if (!oldest || std::tie(connection.answering, connection.lastActive) <
                           std::tie(oldest->answering, oldest->lastActive)) {
            oldest = &connection;
        }
    }
    std::string full =
        "too many connections to this host (" + std::to_string(limits.maxClients) + ")";
    if (!oldest) return {false, 0, std::move(full)};
    return {true, oldest->id, std::move(full)};
}

}  // namespace veltrano::ipc
