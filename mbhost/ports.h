// What mbhost needs from the outside world: table files and map pictures. A Host without a
// port answers the statements that need it with a clear error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "mbhost/geometry.h"
#include "mbhost/table_data.h"

namespace mbhost {

// Table files. Every member reports failure by throwing std::exception with a message that
// reads "cannot <verb> <what>: <reason>"; mbhost turns it into a host failure with that text.
class TableStore {
public:
    virtual ~TableStore() = default;

    // Reads the table at `path` whole: columns, rows (row ids in file order), objects in the
    // table's own coordinate system, its clause (empty when not mappable). `name` and
    // `readOnly` are set by the caller afterwards; `path` is the path as given.
    virtual TableData open(const std::string& path) = 0;

    // Reads the layer named `layer` of a file that holds several (a GeoPackage); a store
    // without layers refuses it.
    virtual TableData openLayer(const std::string& path, const std::string& layer);

    // Writes `table` to `path`, replacing any file there only once the new one is complete
    // (a failure leaves the old file as it was). Deleted rows are not written. Used by
    // Commit Table.
    virtual void write(const TableData& table, const std::string& path) = 0;

    // Makes the file of a new table (Create Table ... File). A format that holds only tables
    // with a map (a Shapefile) is checked and left unwritten while the table has none: Create
    // Map follows, and the first Commit writes it.
    virtual void create(const TableData& table, const std::string& path) { write(table, path); }
};

// One layer of a map picture: the objects of one table, in the map's coordinate system.
struct MapLayer {
    std::string name;
    std::vector<Geometry> objects;
    std::vector<bool> selected;  // parallel to objects: in the current selection
};

// What a map window shows, ready to draw.
struct MapSnapshot {
    std::string title;
    std::string coordSysClause;  // the map's system, without "CoordSys "
    // Longitude/latitude: a degree of longitude is drawn shorter than one of latitude, by the
    // cosine of the view's middle latitude, so that shapes keep their proportions.
    bool latLong = false;
    double metresPerUnit = 1;  // of the system's unit; of a degree of latitude in lat/long
    Bounds view;               // the area shown, in the map's system: all of it is drawn
    std::int32_t widthPixels = 0;
    std::int32_t heightPixels = 0;
    std::vector<MapLayer> layers;  // bottom layer first
};

class MapRenderer {
public:
    virtual ~MapRenderer() = default;
    // Draws `map` into the picture file `path`; the file type follows its extension
    // (".png", ".jpg", ...). Throws as TableStore does.
    virtual void render(const MapSnapshot& map, const std::string& path) = 0;
};

}  // namespace mbhost
