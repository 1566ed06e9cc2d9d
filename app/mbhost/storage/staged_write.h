// Writing files so that a failure leaves what was there before whole: the new files are
// written into a working folder beside the target, then renamed over the old ones.
#pragma once

#include <filesystem>
#include <string>

namespace mbhost::gdal {

class StagedWrite {
public:
    // Makes the working folder beside target; raises std::runtime_error
    // "cannot write <target>: ..." when it cannot (a read-only folder, for instance).
    explicit StagedWrite(const std::string& target);
    ~StagedWrite();  // removes the working folder and whatever is left in it
    StagedWrite(const StagedWrite&) = delete;
    StagedWrite& operator=(const StagedWrite&) = delete;

    // Where the new file is to be written (the target's name, in the working folder).
    std::string stagedPath() const;
    // Moves every file written in the working folder to the target's folder, replacing
    // files of the same names; first removes the target's old companions that the new
    // write did not produce (a .prj, an .ind), so no stale piece outlives the commit.
    void commit();

private:
    std::filesystem::path target_;
    std::filesystem::path folder_;
};

}  // namespace mbhost::gdal
