// A real host (mbhost) holding tables of generated polylines, a host link attached to it,
// and the loop that places points along every row of a table: shared by the benchmarks and
// the end-to-end tests.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "host/miProObj.h"
#include "mbhost/host.h"
#include "mbhost/table_data.h"
#include "platform/fixed_regional_settings.h"
#include "platform/message_box.h"
#include "workload/counting_automation.h"

namespace veltrano::testing {

inline constexpr const char* kLatLongClause = "Earth Projection 1, 104";
// UTM zone 27 north on WGS84.
inline constexpr const char* kUtmClause =
    "Earth Projection 8, 104, \"m\", -21, 0, 0.9996, 500000, 0";

// One polyline: its sections, each a list of nodes in the table's coordinates.
using Sections = std::vector<std::vector<mbhost::Point>>;

// A WGS84 polyline of one section, lengthM metres long along its geodesic segments, of
// nodeCount nodes with a wandering heading; it keeps clear of the poles and the date line.
Sections randomLatLongLine(std::mt19937_64& rng, double lengthM, int nodeCount);
// A polyline in UTM zone 27 coordinates, lengthM metres of grid length, nodeCount nodes.
Sections randomUtmLine(std::mt19937_64& rng, double lengthM, int nodeCount);

// A table whose row n holds lines[n - 1] as a polyline (column name: "line <n>").
mbhost::TableData lineTable(const std::string& name, const std::string& clause,
                            const std::vector<Sections>& lines);
// An empty output table, with the columns distanceM and xRowId or without any.
mbhost::TableData pointTable(const std::string& name, const std::string& clause, bool withColumns);

// The same two tables made through MapBasic statements, for a host reached only through its
// automation object (another process). Sets the host's coordinate system to clause.
void createTablesWithMapBasic(Automation& host, const std::string& lineTableName,
                              const std::string& pointTableName, const std::string& clause,
                              const std::vector<Sections>& lines);

// Collects the text of every message box shown, for a caller to see that none was.
class MessageLog : public MessageBoxPort {
public:
    std::vector<std::string> texts;
    void show(std::string_view text, std::string_view, MessageIcon) override {
        texts.emplace_back(text);
    }
};

// Non-throwing WindowActivationPort for a host without windows to bring forward.
class NoWindowActivation : public WindowActivationPort {
public:
    void activate(std::string_view, bool) override {}
};

// Hands out one automation object as the running host.
class FixedProvider : public AutomationProvider {
public:
    explicit FixedProvider(AutomationPtr host) : host_(std::move(host)) {}
    AutomationPtr attachRunning() override { return host_; }
    AutomationPtr startNew() override { return host_; }

private:
    AutomationPtr host_;
};

// The engine side: a host link over a counting wrapper of the given host object.
class PlacementSession {
public:
    explicit PlacementSession(AutomationPtr host);
    miProObj& link() { return link_; }
    CountingAutomation& counter() { return *counter_; }
    const std::vector<std::string>& messages() const { return messages_.texts; }
    // Every temporary variable declared so far ("qzv..."), from the statements sent.
    std::vector<std::string> declaredVariables() const;

    // Places the distances along row rowNo of source (made current first) into output.
    std::int32_t placeAlongRow(const std::string& source, std::int32_t rowNo,
                               const std::string& output, std::vector<double> distances,
                               bool fromEnd);
    // The same along rows 1 to rowCount; the sum of the points placed.
    std::int64_t placeAlongRows(const std::string& source, std::int32_t rowCount,
                                const std::string& output, const std::vector<double>& distances,
                                bool fromEnd);

private:
    std::shared_ptr<CountingAutomation> counter_;
    FixedProvider provider_;
    MessageLog messages_;
    FixedRegionalSettings regional_ = FixedRegionalSettings::pointLocale();
    NoWindowActivation activation_;
    miProObj link_;
};

// One row of an output table as the host reports it.
struct PlacedRow {
    double x = 0;
    double y = 0;
    double distanceM = 0;
    std::int32_t xRowId = 0;
};

// Reads every row of table (with the placement columns) through the host's own MapBasic.
std::vector<PlacedRow> readPlacedRows(Automation& host, const std::string& table);

}  // namespace veltrano::testing
