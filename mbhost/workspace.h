// Everything a Host session holds: tables and their cursors, the selection, variables,
// windows and the session's coordinate system.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "mbhost/ast.h"
#include "mbhost/coordsys.h"
#include "mbhost/geodesy.h"
#include "mbhost/ports.h"
#include "mbhost/table.h"
#include "mbhost/value.h"
#include "mbhost/windows.h"

namespace mbhost {

struct Variable {
    std::string name;  // as declared
    VarType type = VarType::Float;
    Value value;
};

// What the host says about itself (SystemInfo, the automation properties).
struct HostIdentity {
    std::int32_t mainWindowHandle = 0x000A0B2C;  // SystemInfo(9)
    std::int32_t systemInfo17 = 1;               // SystemInfo(17): non-zero
    std::string name = "MapInfo Professional";
    std::string fullName = "mbhost";
    std::string productLevel = "200";
    std::string version = "1500";
    std::string applicationTitle = "MapInfo Professional";
    std::string tempDirectory;  // TempFileName$(""): empty means the system's
};

class Workspace {
public:
    explicit Workspace(HostIdentity identity);

    HostIdentity identity;
    CoordSysRegistry coordSystems;
    Measurer measurer{coordSystems};
    Measurer gridMeasurer{coordSystems, Measure::Grid};
    Catalog tables;
    std::unordered_map<std::string, Variable> variables;  // keyed by lower-cased name
    std::string selectionKey;  // the query table that is the selection; empty: none
    CoordSysPtr session;
    WindowList windows;
    std::int32_t nextQueryNumber = 1;
    std::int32_t nextTempFile = 1;
    bool statusBarShown = true;
    bool visible = true;
    bool ended = false;
    std::int32_t applicationWindow = 0;
    std::int32_t lastMenuCommand = 0;
    std::shared_ptr<TableStore> store;
    std::shared_ptr<MapRenderer> renderer;
    std::function<void(std::string_view)> print;

    // "Selection" means the selection's query table. Null when not open.
    Table* findTable(std::string_view name) const;
    // As findTable, but throws MapBasicError (errc::kTableNotOpen) naming the table.
    Table& table(std::string_view name) const;
    Table* selection() const;

    // Closes a table with the queries made from it, its windows and the selection on it.
    void closeTable(const Table& table);
};

}  // namespace mbhost
