// A folder of its own for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace veltrano::testing {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // Copies the test helper program veltrano_mark_started.exe in under name.
    std::wstring addMarkerProgram(const std::wstring& name) const;
    // Whether the marker program copied under name has run, waiting for it a while.
    bool markerRan(const std::wstring& name) const;

private:
    std::wstring path_;
};

}  // namespace veltrano::testing
