// Statements about windows and the application: maps, browsers, button pads, pictures.
#include <cmath>

#include "mbhost/geodesy.h"
#include "mbhost/lexer.h"
#include "mbhost/statements.h"

namespace mbhost {

namespace {

// Width of the map, in the map's own units, that spans `metres` at the centre.
double mapUnitsAcross(const Window& w, double metres) {
    if (w.coordSys->isLatLong()) {
        const double metresPerDegree = 111320.0 * std::max(0.01, std::cos(w.center.y * M_PI / 180));
        return metres / metresPerDegree;
    }
    return metres / w.coordSys->metresPerUnit();
}

constexpr double kPixelsPerInch = 96.0;
constexpr double kDefaultZoomMetres = 10000.0;  // a map of nothing shows 10 km

}  // namespace

Window& Executor::mapWindow(const Expr& e) {
    const std::int32_t spec = ev_.whole(e, nullptr, "a window");
    Window* w = ws_.windows.find(spec);
    if (w == nullptr || w->type != wintype::kMapper) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(spec) + " is not a map window", e.spot);
    }
    return *w;
}

void Executor::fitMap(Window& w) {
    bool any = false;
    Bounds all;
    for (const auto& key : w.tableKeys) {
        const Table* t = ws_.tables.find(key);
        for (std::int32_t id = 1; t != nullptr && id <= t->lastRowId(); ++id) {
            const Row* r = t->row(id);
            if (r == nullptr || !r->object) continue;
            const Bounds b =
                ws_.coordSystems.convert(*t->coordSys(), *w.coordSys, *r->object).bounds();
            if (!any) {
                all = b;
                any = true;
                continue;
            }
            all = {std::min(all.minX, b.minX), std::min(all.minY, b.minY),
                   std::max(all.maxX, b.maxX), std::max(all.maxY, b.maxY)};
        }
    }
    w.center = {(all.minX + all.maxX) / 2, (all.minY + all.maxY) / 2};
    const double across =
        any ? ws_.measurer.distance(*w.coordSys, {all.minX, w.center.y}, {all.maxX, w.center.y})
            : 0;
    w.zoomMetres = across > 0 ? across * 1.1 : kDefaultZoomMetres;
}

void Executor::operator()(const MapStmt& s) {
    Window w;
    w.type = wintype::kMapper;
    std::string names;
    for (const auto& ref : s.tables) {
        const Table& t = ws_.table(ref.name);
        if (!t.mappable()) {
            throw MapBasicError(errc::kNotMappable, "Table " + t.name() + " is not mappable",
                                ref.spot);
        }
        if (!w.coordSys) w.coordSys = t.coordSys();
        w.tableKeys.push_back(t.key());
        names += (names.empty() ? "" : ",") + t.name();
    }
    w.title = names + " Map";
    fitMap(w);
    ws_.windows.add(std::move(w));
}

void Executor::operator()(const BrowseStmt& s) {
    const Table& t = ws_.table(s.table.name);
    Window w;
    w.type = wintype::kBrowser;
    w.title = t.name() + " Browser";
    w.tableKeys.push_back(t.key());
    ws_.windows.add(std::move(w));
}

void Executor::operator()(const SetMapWindowStmt& s) {
    Window& w = mapWindow(*s.window);
    Point center = w.center;
    if (s.centerX) {
        const Point p{ev_.number(*s.centerX, nullptr, "Center x"),
                      ev_.number(*s.centerY, nullptr, "Center y")};
        center = ws_.coordSystems.convert(*ws_.session, *w.coordSys, p);
    }
    double zoom = w.zoomMetres;
    if (s.zoom) {
        const double z = ev_.number(*s.zoom, nullptr, "Zoom");
        const double unit = s.units ? metresPerUnit(ev_.text(*s.units, nullptr, "Units"))
                                    : metresPerUnit(w.distanceUnits);
        if (!(z > 0) || !std::isfinite(z * unit)) {
            throw MapBasicError(errc::kArgumentRange, "Zoom must be greater than 0");
        }
        zoom = z * unit;
    }
    w.center = center;
    w.zoomMetres = zoom;
}

void Executor::operator()(const SetWindowStmt& s) {
    const std::int32_t spec = ev_.whole(*s.window, nullptr, "a window");
    if (spec == wintype::kApplication) return;  // the host's own window: nothing to track
    Window* w = ws_.windows.find(spec);
    if (w == nullptr) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(spec) + " does not exist");
    }
    w->state = s.state;
}

void Executor::operator()(const CloseWindowStmt& s) {
    const std::int32_t spec = ev_.whole(*s.window, nullptr, "a window");
    Window* w = ws_.windows.find(spec);
    if (w == nullptr || w->type == wintype::kButtonPad) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(spec) + " does not exist");
    }
    ws_.windows.close(w->id);
}

void Executor::operator()(const AlterButtonPadStmt& s) {
    const std::string name = ev_.text(*s.name, nullptr, "the button pad name");
    Window* pad = ws_.windows.findByTitle(name);
    if (pad == nullptr || pad->type != wintype::kButtonPad) {
        throw MapBasicError(errc::kWindowNotFound, "ButtonPad " + name + " does not exist");
    }
    pad->shown = s.show;
}

void Executor::operator()(const StatusBarStmt& s) {
    ws_.statusBarShown = s.show;
}

void Executor::operator()(const RunMenuCommandStmt& s) {
    const std::int32_t command = ev_.whole(*s.command, nullptr, "the menu command");
    if (command <= 0) {
        throw MapBasicError(errc::kArgumentRange,
                            "Menu command " + std::to_string(command) + " does not exist");
    }
    ws_.lastMenuCommand = command;
}

void Executor::operator()(const SetApplicationWindowStmt& s) {
    ws_.applicationWindow = ev_.whole(*s.handle, nullptr, "the window handle");
}

void Executor::operator()(const EndMapInfoStmt&) {
    ws_.ended = true;
}

void Executor::operator()(const SaveWindowStmt& s) {
    Window& w = mapWindow(*s.window);
    const std::string path = ev_.text(*s.path, nullptr, "the picture file");
    if (!ws_.renderer) {
        throw MapBasicError(errc::kNoPort,
                            "This host cannot save windows: no map renderer is attached");
    }
    MapSnapshot map;
    map.title = w.title;
    map.coordSysClause = w.coordSys->clause();
    map.widthPixels = static_cast<std::int32_t>(std::lround(w.widthInches * kPixelsPerInch));
    map.heightPixels = static_cast<std::int32_t>(std::lround(w.heightInches * kPixelsPerInch));
    const double halfWidth = mapUnitsAcross(w, w.zoomMetres) / 2;
    const double halfHeight = halfWidth * w.heightInches / w.widthInches;
    map.view = {w.center.x - halfWidth, w.center.y - halfHeight, w.center.x + halfWidth,
                w.center.y + halfHeight};
    for (auto it = w.tableKeys.rbegin(); it != w.tableKeys.rend(); ++it) {
        const Table* t = ws_.tables.find(*it);
        if (t == nullptr) continue;
        MapLayer layer;
        layer.name = t->name();
        for (std::int32_t id = 1; id <= t->lastRowId(); ++id) {
            const Row* r = t->row(id);
            if (r != nullptr && r->object) {
                layer.objects.push_back(
                    ws_.coordSystems.convert(*t->coordSys(), *w.coordSys, *r->object));
            }
        }
        map.layers.push_back(std::move(layer));
    }
    try {
        ws_.renderer->render(map, path);
    } catch (const std::exception& e) {
        throw MapBasicError(errc::kFile, e.what());
    }
}

}  // namespace mbhost
