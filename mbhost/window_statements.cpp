// Statements about windows and the application: maps, browsers, button pads, pictures.
#include <algorithm>
#include <cmath>

#include "mbhost/geodesy.h"
#include "mbhost/lexer.h"
#include "mbhost/statements.h"

namespace mbhost {

namespace {

// A degree of latitude, and of longitude at the equator, as a map window draws it (WGS 84's
// mean; a picture needs no better).
constexpr double kMetresPerDegree = 111320.0;

// Metres in one of the map's units along Y, and along X at the given latitude: in lat/long a
// degree of longitude shrinks with the cosine of the latitude.
double metresPerYUnit(const Window& w) {
    return w.coordSys->isLatLong() ? kMetresPerDegree : w.coordSys->metresPerUnit();
}

double metresPerXUnit(const Window& w, double latitude) {
    if (!w.coordSys->isLatLong()) return w.coordSys->metresPerUnit();
    return kMetresPerDegree * std::max(0.01, std::cos(latitude * M_PI / 180));
}

// Width of the map, in the map's own units, that spans `metres` at the centre.
double mapUnitsAcross(const Window& w, double metres) {
    return metres / metresPerXUnit(w, w.center.y);
}

// The area a map window shows: its zoom across, its own proportions up, around its centre.
Bounds windowView(const Window& w) {
    const double halfWidth = mapUnitsAcross(w, w.zoomMetres) / 2;
    const double halfHeight = w.zoomMetres * w.heightInches / w.widthInches / metresPerYUnit(w) / 2;
    return {w.center.x - halfWidth, w.center.y - halfHeight, w.center.x + halfWidth,
            w.center.y + halfHeight};
}

constexpr double kPixelsPerInch = 96.0;
// A bound on a picture's side, so a typing slip cannot ask for gigabytes of pixels.
constexpr int kMaxPicturePixels = 16384;
constexpr double kDefaultZoomMetres = 10000.0;  // a map of nothing shows 10 km

}  // namespace

Window& Executor::mapWindow(const Expr& e) {
    const std::int32_t windowRef = ev_.whole(e, nullptr, "a window");
    Window* w = ws_.windows.find(windowRef);
    if (w == nullptr || w->type != wintype::kMapper) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(windowRef) + " is not a map window", e.spot);
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
    // The zoom that shows the whole extent, wide or tall, with a margin: spans in the map's
    // units, so that the whole world is 360 degrees across, never the short way round.
    const double across = (all.maxX - all.minX) * metresPerXUnit(w, w.center.y);
    const double up = (all.maxY - all.minY) * metresPerYUnit(w) * w.widthInches / w.heightInches;
    const double zoom = std::max(across, up) * 1.1;
    w.zoomMetres = any && zoom > 0 && std::isfinite(zoom) ? zoom : kDefaultZoomMetres;
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
    const std::int32_t windowRef = ev_.whole(*s.window, nullptr, "a window");
    if (windowRef == wintype::kApplication) return;  // the host's own window: nothing to track
    Window* w = ws_.windows.find(windowRef);
    if (w == nullptr) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(windowRef) + " does not exist");
    }
    w->state = s.state;
}

void Executor::operator()(const CloseWindowStmt& s) {
    const std::int32_t windowRef = ev_.whole(*s.window, nullptr, "a window");
    Window* w = ws_.windows.find(windowRef);
    if (w == nullptr || w->type == wintype::kButtonPad) {
        throw MapBasicError(errc::kWindowNotFound,
                            "Window " + std::to_string(windowRef) + " does not exist");
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

// Inches in one paper unit of Save Window's Width and Height.
static double inchesPerUnit(const std::string& units) {
    const std::string u = toLower(units);
    if (u == "in") return 1;
    if (u == "cm") return 1 / 2.54;
    if (u == "mm") return 1 / 25.4;
    if (u == "pt") return 1 / 72.0;
    return 0;
}

// Two sizes below 0 would multiply into a picture of some other size.
static double positive(double value, const char* what) {
    if (!(value > 0)) {
        throw MapBasicError(errc::kArgumentRange,
                            "Save Window: " + std::string(what) + " must be more than 0");
    }
    return value;
}

Executor::PictureSize Executor::pictureSize(const SaveWindowStmt& s, const Window& w) {
    const double dpi = s.resolution ? positive(ev_.number(*s.resolution, nullptr, "the resolution"),
                                               "the resolution")
                                    : kPixelsPerInch;
    const auto inches = [&](const ExprPtr& value, const ExprPtr& units, const char* what) {
        const double amount = positive(ev_.number(*value, nullptr, what), what);
        const std::string unitText = units ? ev_.text(*units, nullptr, "the units") : "in";
        const double factor = inchesPerUnit(unitText);
        if (factor == 0) {
            throw MapBasicError(errc::kArgumentRange, "Unknown paper unit \"" + unitText + "\"");
        }
        return amount * factor;
    };
    double width = s.width ? inches(s.width, s.widthUnits, "the width") : w.widthInches;
    double height = s.height ? inches(s.height, s.heightUnits, "the height") : w.heightInches;
    // One side given: the other keeps the window's proportions.
    if (s.width && !s.height) height = width * w.heightInches / w.widthInches;
    if (s.height && !s.width) width = height * w.widthInches / w.heightInches;
    const double widthPixels = width * dpi, heightPixels = height * dpi;
    if (!(widthPixels >= 1 && heightPixels >= 1 && widthPixels <= kMaxPicturePixels &&
          heightPixels <= kMaxPicturePixels)) {
        throw MapBasicError(
            errc::kArgumentRange,
            "A picture must be 1 to " + std::to_string(kMaxPicturePixels) + " pixels a side");
    }
    return {static_cast<std::int32_t>(std::lround(widthPixels)),
            static_cast<std::int32_t>(std::lround(heightPixels))};
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
    map.latLong = w.coordSys->isLatLong();
    map.metresPerUnit = metresPerYUnit(w);
    const PictureSize size = pictureSize(s, w);
    map.widthPixels = size.width;
    map.heightPixels = size.height;
    map.view = windowView(w);
    for (auto it = w.tableKeys.rbegin(); it != w.tableKeys.rend(); ++it) {
        const Table* t = ws_.tables.find(*it);
        if (t == nullptr) continue;
        MapLayer layer;
        layer.name = t->name();
        const Table* selection = ws_.selection();
        const bool selectedHere = selection != nullptr && selection->sourceKey == t->key();
        for (std::int32_t id = 1; id <= t->lastRowId(); ++id) {
            const Row* r = t->row(id);
            if (r != nullptr && r->object) {
                layer.objects.push_back(
                    ws_.coordSystems.convert(*t->coordSys(), *w.coordSys, *r->object));
                layer.selected.push_back(selectedHere &&
                                         std::find(selection->sourceRows.begin(),
                                                   selection->sourceRows.end(),
                                                   id) != selection->sourceRows.end());
            }
        }
        map.layers.push_back(std::move(layer));
    }
    try {
        ws_.renderer->render(map, path);
    } catch (const std::exception& e) {
        throw MapBasicError::fromPort(e);
    }
}

}  // namespace mbhost
