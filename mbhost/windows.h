// The host's windows: map and browser windows (document windows) and the three button pads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/host_codes.h"
#include "mbhost/coordsys.h"
#include "mbhost/geometry.h"

namespace mbhost {

// MapBasic's window type codes (WindowInfo code 3).
namespace wintype = veltrano::host_code::window_type;

struct Window {
    std::int32_t id = 0;
    std::int32_t type = wintype::kMapper;
    std::string title;
    std::vector<std::string> tableKeys;  // map layers (top first) or the browsed table
    // Map windows: the map's system, centre in it, and the width shown in metres.
    CoordSysPtr coordSys;
    Point center;
    double zoomMetres = 0;
    std::string distanceUnits = "mi";
    // Size in inches, as WindowInfo reports it, and placement.
    double widthInches = 8.0;
    double heightInches = 5.0;
    double leftInches = 0.5;
    std::int32_t state = 0;  // 0 normal, 1 minimised, 2 maximised
    bool shown = true;
    std::int32_t handle() const { return id * 16 + 0x10000; }
};

class WindowList {
public:
    WindowList();

    std::int32_t documentCount() const { return static_cast<std::int32_t>(documents_.size()); }
    std::int32_t allCount() const {
        return documentCount() + static_cast<std::int32_t>(pads_.size());
    }
    std::int32_t frontWindow() const { return front_; }
    // Window n (1 to documentCount), a pad (-1 to -3), an existing id itself, 0 otherwise.
    std::int32_t idOfNumber(std::int32_t number) const;
    // A window id, or a window number as idOfNumber reads it; null when there is none.
    Window* find(std::int32_t idOrNumber);
    // By title, case-insensitive (button pads).
    Window* findByTitle(std::string_view title);

    Window& add(Window window);  // gives it an id and brings it to the front
    void close(std::int32_t id);
    // Takes a closed table out of every window; closes windows left empty.
    void forgetTable(const std::string& tableKey);
    const std::vector<Window>& documents() const { return documents_; }
    const std::vector<Window>& pads() const { return pads_; }

private:
    std::vector<Window> documents_;
    std::vector<Window> pads_;
    std::int32_t front_ = 0;
    std::int32_t nextId_ = 20001;
};

}  // namespace mbhost
