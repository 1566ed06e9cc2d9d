// What the host allows its clients, and who gets a connection when it is full: each process
// is counted on its own, so one that hoards connections loses its own, never another's.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

namespace veltrano::ipc {

struct ServerLimits {
    // Each open client holds a descriptor. At this many, room is made as admit() says.
    std::size_t maxClients = 64;
    // A process (by its peer credentials) that holds this many has newcomers turned away.
    std::size_t maxPerProcess = 32;
    // A client whose frame stays incomplete this long, or who leaves an answer unread this
    // long, is let go.
    std::chrono::milliseconds frameTimeout{10000};
    // While a request runs, its client hears this often that the host still works on it.
    std::chrono::milliseconds keepAliveInterval{500};
};

// An open connection, as the choice of the one to close sees it.
struct HeldConnection {
    int id = 0;
    pid_t pid = 0;
    bool answering = false;  // an answer is still on its way to it
    std::chrono::steady_clock::time_point lastActive;
};

struct Admission {
    bool taken = false;
    int closeFirst = 0;  // the connection to close to make room (0: none)
    // What the newcomer hears when turned away, or the connection closed to make room.
    std::string reason;
};

// Whether a newcomer from process pid gets a connection beside held. At the cap, room comes
// from the process that holds the most: its least recently active idle connection, or, for a
// newcomer whose process holds fewer, its least recently active one of any kind, since a
// client that leaves its answers unread must not keep others out.
Admission admit(const std::vector<HeldConnection>& held, pid_t pid, const ServerLimits& limits);

}  // namespace veltrano::ipc
