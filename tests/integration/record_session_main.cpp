// Records the scripted placement session against mbhost, for the Windows build to replay.
// Usage: veltrano_record_session DIRECTORY
#include <filesystem>
#include <iostream>

#include "session_recorder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: veltrano_record_session DIRECTORY\n";
        return 1;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        const auto recorded = veltrano::testing::recordPlacementSession(argv[1]);
        std::cout << "recorded " << recorded.tracePath << " and " << recorded.reportPath << '\n';
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "veltrano_record_session: " << e.what() << '\n';
        return 2;
    }
}
