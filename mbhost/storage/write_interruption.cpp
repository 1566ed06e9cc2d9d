#include "mbhost/storage/write_interruption.h"

#include <atomic>
#include <map>
#include <mutex>

namespace mbhost::gdal {
namespace fs = std::filesystem;
namespace {

std::atomic<StopCheck> stopCheck{nullptr};

enum class Decision { Open, Committing, Abandoned };

struct UndecidedWrites {
    std::mutex mutex;
    std::map<fs::path, fs::path> lockOf;  // working folder -> lock file
    Decision decision = Decision::Open;
};

UndecidedWrites& undecided() {
    static UndecidedWrites writes;
    return writes;
}

}  // namespace

WriteStopCheck::WriteStopCheck(StopCheck check) : previous_(stopCheck.exchange(check)) {}

WriteStopCheck::~WriteStopCheck() {
    stopCheck = previous_;
}

bool writeStopRequested() {
    const StopCheck check = stopCheck;
    return check != nullptr && check();
}

void noteUndecidedWrite(const fs::path& folder, const fs::path& lock) {
    UndecidedWrites& writes = undecided();
    const std::lock_guard guard(writes.mutex);
    writes.lockOf[folder] = lock;
}

void forgetWrite(const fs::path& folder) {
    UndecidedWrites& writes = undecided();
    const std::lock_guard guard(writes.mutex);
    writes.lockOf.erase(folder);
}

bool claimCommit() {
    UndecidedWrites& writes = undecided();
    const std::lock_guard guard(writes.mutex);
    if (writes.decision == Decision::Abandoned) return false;
    writes.decision = Decision::Committing;
    return true;
}

bool abandonUndecidedWrites() {
    UndecidedWrites& writes = undecided();
    const std::lock_guard guard(writes.mutex);
    if (writes.decision == Decision::Committing) return false;
    writes.decision = Decision::Abandoned;
    for (const auto& [folder, lock] : writes.lockOf) {
        std::error_code ignored;
        // The writer goes on until the process ends and may add a file meanwhile.
        for (int attempt = 0; attempt < 20 && fs::exists(folder, ignored); ++attempt) {
            fs::remove_all(folder, ignored);
        }
        fs::remove(lock, ignored);
    }
    return true;
}

}  // namespace mbhost::gdal
