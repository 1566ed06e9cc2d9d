// veltrano-batch --input lines.gpkg --every 1000 --output points.gpkg, in this process, on a
// generated GeoPackage of lat/long polylines of 50 nodes about 50 km long: points per second,
// where the time went, and the peak memory; then what --angle, --parts each and --keep all cost
// over it; then 10 events a line (a CSV of name and measure) placed with --events, beside
// --every 5000, which places as many points a line.
// Usage: file_mode_bench [OBJECTS=10000] [FOLDER=/tmp]
#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <random>
#include <stdexcept>
#include <string>

#include "file_run.h"

namespace {

constexpr int kNodes = 50;
constexpr double kSegmentMetres = 50'000.0 / (kNodes - 1);
constexpr double kMetresPerDegree = 111'320.0;

void writeLines(const std::string& path, int objects) {
    GDALAllRegister();
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GPKG");
    GDALDataset* dataset = driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    OGRSpatialReference wgs84;
    wgs84.importFromEPSG(4326);
    OGRLayer* layer = dataset->CreateLayer("lines", &wgs84, wkbLineString, nullptr);
    OGRFieldDefn name("name", OFTString);
    layer->CreateField(&name);
    std::mt19937 random(16);
    std::uniform_real_distribution<double> lon(20, 40), lat(40, 60), turn(-0.3, 0.3);
    dataset->StartTransaction();
    for (int i = 0; i < objects; ++i) {
        OGRLineString line;
        double x = lon(random), y = lat(random), heading = turn(random) * 10;
        for (int n = 0; n < kNodes; ++n) {
            line.addPoint(x, y);
            heading += turn(random);
            y += kSegmentMetres * std::cos(heading) / kMetresPerDegree;
            x += kSegmentMetres * std::sin(heading) / (kMetresPerDegree * std::cos(y * M_PI / 180));
        }
        OGRFeature* feature = OGRFeature::CreateFeature(layer->GetLayerDefn());
        feature->SetField(0, ("line " + std::to_string(i)).c_str());
        feature->SetGeometry(&line);
        const OGRErr written = layer->CreateFeature(feature);
        OGRFeature::DestroyFeature(feature);
        if (written != OGRERR_NONE) throw std::runtime_error("cannot write " + path);
    }
    dataset->CommitTransaction();
    GDALClose(dataset);
}

long long pointsIn(const std::string& path) {
    auto* dataset = static_cast<GDALDataset*>(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr));
    if (!dataset) return -1;
    const long long count = dataset->GetLayer(0)->GetFeatureCount();
    GDALClose(dataset);
    return count;
}

bool placed(const veltrano::batch::Options& options, veltrano::batch::RunTimes& times) {
    const auto status = veltrano::batch::runFile(options, std::cerr, false, &times);
    if (status != veltrano::batch::kPlaced) {
        std::cerr << "file_mode_bench: the run ended with " << status << "\n";
    }
    return status == veltrano::batch::kPlaced;
}

// Each option that adds to what is said of a point, alone and all together, against the plain
// run's seconds: what it costs (the target is at most 10%).
bool optionsCost(const veltrano::batch::Options& plain, double plainSeconds) {
    using File = veltrano::batch::FileOptions;
    const struct {
        const char* name;
        void (*set)(File&);
    } rows[] = {
        {"--angle", [](File& f) { f.angle = true; }},
        {"--parts each", [](File& f) { f.parts = "each"; }},
        {"--keep all", [](File& f) { f.keep = "all"; }},
        {"all three", [](File& f) { f.angle = true, f.parts = "each", f.keep = "all"; }},
    };
    for (const auto& row : rows) {
        veltrano::batch::Options options = plain;
        row.set(*options.file);
        veltrano::batch::RunTimes times;
        if (!placed(options, times)) return false;
        const double total = times.open + times.place + times.write;
        std::printf("%-13s %.1f s: %+.1f%% over the plain run\n", row.name, total,
                    100 * (total / plainSeconds - 1));
    }
    return true;
}

void writeEvents(const std::string& path, int objects) {
    std::FILE* csv = std::fopen(path.c_str(), "w");
    if (!csv) throw std::runtime_error("cannot write " + path);
    std::fprintf(csv, "ROAD,KM\n");
    std::mt19937 random(17);
    std::uniform_real_distribution<double> measure(0, 49'000);
    for (int i = 0; i < objects * 10; ++i) {
        std::fprintf(csv, "line %d,%.3f\n", (i * 7919) % objects, measure(random));
    }
    std::fclose(csv);
}

// One run; its points per second, or nothing when it failed.
std::optional<double> pointsPerSecond(const veltrano::batch::Options& options, const char* what) {
    veltrano::batch::RunTimes times;
    const auto status = veltrano::batch::runFile(options, std::cerr, false, &times);
    if (status != veltrano::batch::kPlaced) {
        std::cerr << "file_mode_bench: " << what << " ended with " << status << "\n";
        return std::nullopt;
    }
    const double total = times.open + times.place + times.write;
    const long long points = pointsIn(options.outputTable);
    std::printf("%s: %lld points in %.1f s (open %.1f, place %.1f, write %.1f): %.0f points/s\n",
                what, points, total, times.open, times.place, times.write,
                static_cast<double>(points) / total);
    return static_cast<double>(points) / total;
}

// --events against --every with as many points a line.
int compareEvents(veltrano::batch::Options options, const std::filesystem::path& folder,
                  int objects) {
    const std::string events = (folder / "file_mode_bench_events.csv").string();
    writeEvents(events, objects);
    options.file->every = "5000";
    const auto every = pointsPerSecond(options, "--every 5000");
    options.file->every.reset();
    options.file->events = events;
    options.file->routeKey = "name";
    options.file->eventRoute = "ROAD";
    options.file->eventMeasure = "KM";
    const auto placed = pointsPerSecond(options, "--events, 10 a line");
    if (!every || !placed) return 1;
    std::printf("events per point %.2f times as fast as --every\n", *placed / *every);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const int objects = argc > 1 ? std::atoi(argv[1]) : 10'000;
    const std::filesystem::path folder = argc > 2 ? argv[2] : "/tmp";
    const std::string input = (folder / "file_mode_bench_lines.gpkg").string();
    const std::string output = (folder / "file_mode_bench_points.gpkg").string();
    std::filesystem::remove(input);
    writeLines(input, objects);

    veltrano::batch::Options options;
    options.outputTable = output;
    options.file = veltrano::batch::FileOptions{};
    options.file->input = input;
    options.file->every = "1000";
    options.file->overwrite = true;
    options.file->quiet = true;
    veltrano::batch::RunTimes times;
    if (!placed(options, times)) return 1;
    const long long points = pointsIn(output);
    const double total = times.open + times.place + times.write;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    double load[1] = {0};
    getloadavg(load, 1);
    std::printf("objects %d, points %lld, %.1f s: %.0f points/s\n", objects, points, total,
                static_cast<double>(points) / total);
    std::printf(
        "opening the input %.1f%%, engine and presenter %.1f%%, host %.1f%%, "
        "writing the output %.1f%%\n",
        100 * times.open / total, 100 * (times.place - times.host) / total,
        100 * times.host / total, 100 * times.write / total);
    std::printf("peak memory %.0f MiB, load average %.2f\n", usage.ru_maxrss / 1024.0, load[0]);
    if (!optionsCost(options, total)) return 1;
    return compareEvents(options, folder, objects);
}
