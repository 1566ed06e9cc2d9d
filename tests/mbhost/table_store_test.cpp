#include "mbhost/storage/gdal_table_store.h"

#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "mbhost/number_format.h"
#include "mbhost/storage/file_system_calls.h"
#include "mbhost/storage/gdal_errors.h"
#include "mbhost_process.h"
#include "served_host.h"

namespace mbhost::gdal {
namespace {

using veltrano::testing::TempDir;
using veltrano::testing::whatOf;
namespace fs = std::filesystem;

const char* const kLonLat = "Earth Projection 1, 104";
const char* const kUtm33 = "Earth Projection 8, 104, \"m\", 15, 0, 0.9996, 500000, 0";

TableData pointTable(const std::string& clause, double x0, double y0) {
    TableData table;
    table.columns = {{"name", ColumnType::Char, 20, 0},
                     {"xRowId", ColumnType::Integer, 0, 0},
                     {"distanceM", ColumnType::Float, 0, 0}};
    table.coordSysClause = clause;
    const char* names[] = {"Kilometre 1", "Мост", ""};
    for (int i = 0; i < 3; ++i) {
        Row row;
        row.fields = {Value::text(names[i]), Value::integer(100 + i), Value::real(1234.5 * i)};
        row.object =
            std::make_shared<const Geometry>(Geometry::point(x0 + 0.123456 * i, y0 + 0.654321 * i));
        table.rows.push_back(row);
    }
    return table;
}

struct Format {
    const char* extension;
    double degrees;  // the coordinate precision the format keeps in longitude/latitude
    double metres;   // and in a projected system
};

bool workingFilesLeft(const std::string& dir) {
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().filename().string()[0] == '.') return true;
    }
    return false;
}

// What a table holds, to tell one version from another: each column's name and type, then each
// row kept, its fields, its kind of object and its first x in thousandths.
std::vector<std::string> contentsOf(const TableData& table) {
    std::vector<std::string> contents;
    for (const ColumnDef& column : table.columns) {
        contents.push_back(column.name + " " + std::to_string(static_cast<int>(column.type)));
    }
    for (const Row& row : table.rows) {
        if (row.deleted) continue;
        std::string line;
        for (const Value& field : row.fields) {
            line += std::to_string(static_cast<int>(field.kind())) + ":" + valueText(field) + "|";
        }
        if (row.object) {
            line += std::string(objectTypeName(row.object->type)) + "@" +
                    std::to_string(std::lround(row.object->parts.at(0).at(0).x * 1000));
        }
        contents.push_back(line);
    }
    return contents;
}

class table_file_round_trip : public ::testing::TestWithParam<Format> {};

TEST_P(table_file_round_trip, rows_attributes_coordinates_and_system_come_back) {
    for (const auto& [clause, x0, y0, tolerance] :
         {std::tuple{kLonLat, 37.6, 55.7, GetParam().degrees},
          std::tuple{kUtm33, 412345.25, 6170000.5, GetParam().metres}}) {
        SCOPED_TRACE(clause);
        TempDir dir;
        const std::string path = dir.file(std::string("points") + GetParam().extension);
        GdalTableStore store;
        TableData written = pointTable(clause, x0, y0);
        store.write(written, path);
        const TableData read = store.open(path);
        EXPECT_EQ(std::tie(read.path, read.coordSysClause), std::tuple(path, clause));
        EXPECT_EQ(contentsOf(read), contentsOf(written));
        for (std::size_t i = 0; i < std::min(read.rows.size(), written.rows.size()); ++i) {
            if (!read.rows[i].object) continue;  // the contents tell
            const Point p = read.rows[i].object->parts.at(0).at(0);
            const Point q = written.rows[i].object->parts[0][0];
            EXPECT_NEAR(p.x, q.x, tolerance);
            EXPECT_NEAR(p.y, q.y, tolerance);
        }
        // Written empty, it keeps its system (GeoJSON: though not its columns).
        written.rows.clear();
        store.write(written, path);
        EXPECT_EQ(store.open(path).coordSysClause, clause);
    }
}

INSTANTIATE_TEST_SUITE_P(formats, table_file_round_trip,
                         ::testing::Values(Format{".tab", 1e-6, 1e-4}, Format{".mif", 1e-6, 1e-4},
                                           Format{".shp", 1e-9, 1e-6},
                                           Format{".geojson", 1e-7, 1e-6},
                                           Format{".gpkg", 1e-9, 1e-6}),
                         [](const auto& info) { return std::string(info.param.extension + 1); });

TEST(table_file, polylines_and_regions_keep_their_parts_and_none_stays_unmappable) {
    TempDir dir;
    TableData table = pointTable(kLonLat, 0, 0);
    table.rows.resize(2);
    table.rows[0].object = std::make_shared<const Geometry>(
        Geometry{ObjectType::Polyline,
                 {{{37.1, 55.1}, {37.2, 55.15}, {37.3, 55.1}}, {{38, 56}, {38.5, 56.2}}},
                 "",
                 {}});
    table.rows[1].object = std::make_shared<const Geometry>(
        Geometry{ObjectType::Region, {{{30, 50}, {31, 50}, {31, 51}, {30, 51}}}, "", {}});
    GdalTableStore store;
    for (const char* extension : {".tab", ".mif", ".geojson", ".gpkg"}) {
        SCOPED_TRACE(extension);
        const std::string path = dir.file(std::string("mixed") + extension);
        store.write(table, path);
        const TableData read = store.open(path);
        ASSERT_EQ(read.rows.size(), 2u);
        const Geometry &line = *read.rows[0].object, &region = *read.rows[1].object;
        EXPECT_EQ(std::tuple(line.type, line.parts.size(), line.nodeCount(), region.type,
                             region.nodeCount()),
                  std::tuple(ObjectType::Polyline, 2u, 5, ObjectType::Region, 4));
    }
    // Without objects, a table stays unmappable.
    table.coordSysClause.clear();
    for (Row& row : table.rows) row.object.reset();
    store.write(table, dir.file("plain.gpkg"));
    const TableData read = store.open(dir.file("plain.gpkg"));
    EXPECT_EQ(std::tuple(read.coordSysClause, contentsOf(read)), std::tuple("", contentsOf(table)));
}

TEST(table_file, what_cannot_be_written_is_named_with_the_reason_and_loses_nothing) {
    TempDir dir;
    GdalTableStore store;
    for (const char* name : {"t.xlsx", "no/t.tab", "unplaced.shp"}) {  // .shp needs a system
        EXPECT_NE(whatOf([&] { store.write(pointTable("", 0, 0), dir.file(name)); }), "done");
    }
    // Made before its Create Map, a Shapefile table is checked and written by its first Commit.
    EXPECT_EQ(whatOf([&] { store.create(pointTable("", 0, 0), dir.file("later.shp")); }), "done");
    EXPECT_FALSE(std::filesystem::exists(dir.file("later.shp")));

    const std::string path = dir.file("roads.shp");
    store.write(pointTable(kLonLat, 37, 55), path);
    const std::string before = mbhost::testing::readFile(path);
    TableData mixed = pointTable(kLonLat, 10, 10);
    mixed.rows[1].object = std::make_shared<const Geometry>(Geometry::line({0, 0}, {1, 1}));
    EXPECT_EQ(
        whatOf([&] { store.write(mixed, path); }),
        "cannot write " + path + ": a Shapefile holds one kind of object, and this table has 2");
    EXPECT_EQ(whatOf([&] { store.write(mixed, dir.file("mixed.csv")); }),
              "cannot write " + dir.file("mixed.csv") + ": a CSV file holds points only");
    EXPECT_EQ(mbhost::testing::readFile(path), before);
    EXPECT_EQ(store.open(path).rows.size(), 3u);
    EXPECT_FALSE(workingFilesLeft(dir.path()));
}

struct ChildCommit {
    int status = -1;  // 0 committed, 1 refused
    std::string message;
};

// Commits in a forked child, which may be limited to fileLimit bytes, or become the
// unprivileged "nobody" (whom, unlike root, permissions stop).
ChildCommit commitInChild(const TableData& table, const std::string& path,
                          rlim_t fileLimit = RLIM_INFINITY, bool asNobody = false) {
    int pipe[2];
    if (::pipe(pipe) != 0) return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (asNobody && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{fileLimit, fileLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        try {
            GdalTableStore().write(table, path);
        } catch (const std::runtime_error& e) {
            (void)!::write(pipe[1], e.what(), std::strlen(e.what()));
            ::_exit(1);
        }
        ::_exit(0);
    }
    ::close(pipe[1]);
    ChildCommit result;
    char buffer[512];
    for (ssize_t got; (got = ::read(pipe[0], buffer, sizeof buffer)) > 0;) {
        result.message.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
    return result;
}

// A 1 MiB file system mounted for the test; where mounting is not allowed, the child's
// file-size limit stands in for it.
struct SmallDisk {
    TempDir dir;
    bool mounted = ::mount("tmpfs", dir.path().c_str(), "tmpfs", 0, "size=1m") == 0;
    ~SmallDisk() {
        if (mounted) ::umount2(dir.path().c_str(), MNT_DETACH);
    }
};

// A disk that refuses the calls of fault (from its nth on, times over) with its error, or
// writes one byte of each when the error is 0; and that copies folder into crashes (if given)
// after each change made through it: each copy is what a crash at that point leaves.
struct Fault {
    const char* call = "";
    int nth = 1, times = 1, error = 0;
};
class FaultyDisk final : public FileSystemCalls {
public:
    FaultyDisk(std::string folder, std::string crashes, Fault fault = {})
        : folder_(std::move(folder)), crashes_(std::move(crashes)), fault_(std::move(fault)) {}
    std::vector<bool> decidedAt;  // per copy: whether the commit was decided

    ssize_t write(int fd, const void* data, size_t size) override {
        if (!hit("write")) return FileSystemCalls::write(fd, data, size);
        return fault_.error ? refuse() : FileSystemCalls::write(fd, data, 1);
    }
    int fsync(int fd) override {
        return hit("fsync") ? refuse() : changed(FileSystemCalls::fsync(fd));
    }
    int rename(const char* from, const char* to) override {
        if (hit("rename")) return refuse();
        const int result = FileSystemCalls::rename(from, to);
        decided_ |= result == 0 && fs::path(to).filename() == "commit-manifest";
        return changed(result);
    }
    int unlink(const char* path) override {
        decided_ &= fs::path(path).filename() != "commit-manifest";
        return changed(FileSystemCalls::unlink(path));
    }

private:
    bool hit(std::string_view call) {
        const int n = call == std::string_view(fault_.call) ? ++calls_ : 0;
        return n >= fault_.nth && n < fault_.nth + fault_.times;
    }
    int refuse() {
        errno = fault_.error;
        return -1;
    }
    int changed(int result) {
        const int error = errno;
        if (!crashes_.empty())
            fs::copy(folder_, crashes_ + "/" + std::to_string(decidedAt.size()),
                     fs::copy_options::recursive | fs::copy_options::copy_symlinks);
        decidedAt.push_back(decided_);
        errno = error;
        return result;
    }
    std::string folder_, crashes_;
    Fault fault_;
    int calls_ = 0;
    bool decided_ = false;
};

const TableData kOld = pointTable(kLonLat, 37, 55);
TableData changedTable() {
    TableData changed = kOld;
    changed.rows[0].deleted = true;  // a Shapefile's pieces then pair rows differently
    changed.rows[2].object = std::make_shared<const Geometry>(Geometry::point(40, 56));
    return changed;
}

class commit_under_faults : public ::testing::TestWithParam<const char*> {};

TEST_P(commit_under_faults, the_table_opens_whole_as_the_old_or_the_new_version) {
    GdalTableStore store;
    const TableData old = kOld, changed = changedTable();
    const std::string name = std::string("points") + GetParam();

    TempDir dir, crashes;
    const std::string path = dir.file(name);
    store.write(old, path);
    ::chmod(path.c_str(), 0640);
    (void)!::chown(path.c_str(), 65534, 65534);  // root keeps the owner; others cannot
    FaultyDisk crashing(dir.path(), crashes.path(), {"write", 1, 1, 0});  // a short write too
    {
        const FileSystemOverride faulty(crashing);
        store.write(changed, path);
    }
    EXPECT_GT(crashing.decidedAt.size(), 4u) << "the commit ended before its files were moved";
    for (std::size_t i = 0; i < crashing.decidedAt.size(); ++i) {
        SCOPED_TRACE("crashed after change " + std::to_string(i));
        EXPECT_EQ(contentsOf(store.open(crashes.file(std::to_string(i) + "/" + name))),
                  contentsOf(crashing.decidedAt[i] ? changed : old));
        EXPECT_FALSE(workingFilesLeft(crashes.file(std::to_string(i))));
    }
    struct stat status {};
    ::stat(path.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(status.st_uid, ::geteuid() == 0 ? 65534u : ::geteuid());

    TableData big = old;
    for (int i = 0; i < 40000; ++i) big.rows.push_back(old.rows[i % 3]);
    SmallDisk disk;
    const std::string small = disk.dir.file(name);
    store.write(old, small);
    const ChildCommit full = commitInChild(big, small, disk.mounted ? RLIM_INFINITY : 1 << 20);
    EXPECT_EQ(full.status, 1);
    const std::string reason = disk.mounted ? "No space left on device" : "File too large";
    EXPECT_EQ(full.message.rfind("cannot write " + small + ": " + reason, 0), 0u) << full.message;
    EXPECT_EQ(contentsOf(store.open(small)), contentsOf(old));
    EXPECT_FALSE(workingFilesLeft(disk.dir.path()));

    for (const auto& [what, changedPath, mode, asNobody] :
         {std::tuple{"a read-only file", path, 0444, false},
          std::tuple{"a read-only folder", dir.path(), 0555, false},
          std::tuple{"a folder of another user", dir.path(), 0755, true}}) {
        SCOPED_TRACE(what);
        if (asNobody && ::geteuid() != 0) continue;
        ::chmod(changedPath.c_str(), mode);
        const ChildCommit refused = commitInChild(old, path, RLIM_INFINITY, asNobody);
        ::chmod(changedPath.c_str(), changedPath == path ? 0644 : 0755);
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.message.find("is read-only"), std::string::npos) << refused.message;
        EXPECT_EQ(contentsOf(store.open(path)), contentsOf(changed));
    }
}

INSTANTIATE_TEST_SUITE_P(formats, commit_under_faults,
                         ::testing::Values(".tab", ".mif", ".shp", ".geojson", ".gpkg"),
                         [](const auto& info) { return std::string(info.param + 1); });

// An interrupted write is repeated; a refusal before the commit point leaves the
// old version, one after it the old version put back or, failing that, the new one finished
// by the next open. Never a mix, never a working folder left once opened.
TEST(commit_under_faults, a_refused_call_says_why_and_loses_nothing) {
    const TempDir dir;
    const std::string path = dir.file("points.tab");
    const std::string back = "cannot move points.id into place: Input/output error";
    const struct {
        Fault fault;
        std::string message;  // empty: committed
        bool changed;
    } rows[] = {
        {{"write", 1, 1, EINTR}, "", true},
        {{"write", 1, 1, ENOSPC}, "cannot record the commit: No space left on device", false},
        {{"fsync", 1, 1, EIO}, "cannot flush points.dat to the disk: Input/output error", false},
        {{"rename", 3, 1, EIO}, back + "; the old files are back", false},
        {{"rename", 3, 2, EIO},
         back + ", and the old files are not all back (cannot put the old points.dat back: "
                "Input/output error)",
         true},
    };
    GdalTableStore store;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fault.call + std::string(" ") + std::to_string(row.fault.nth));
        store.write(kOld, path);
        FaultyDisk disk(dir.path(), "", row.fault);
        {
            const FileSystemOverride faulty(disk);
            EXPECT_EQ(whatOf([&] { store.write(changedTable(), path); }),
                      row.message.empty() ? "done" : "cannot write " + path + ": " + row.message);
        }
        EXPECT_EQ(contentsOf(store.open(path)), contentsOf(row.changed ? changedTable() : kOld));
        EXPECT_FALSE(workingFilesLeft(dir.path()));
    }
}

// A working folder beside the table that this user alone did not write, or whose manifest
// names a file that is not one of the table's: the write goes on, the victim is kept and the
// folder left as it was.
TEST(commit_roll_forward, acts_only_on_what_this_user_alone_wrote) {
    const TempDir dir;
    const std::string path = dir.file("points.gpkg"), secret = dir.file("points.txt");
    const std::string nested = dir.file("sub/points.gpkg");  // a piece's name, elsewhere
    const std::string other = dir.file("other.gpkg");        // another table's
    fs::create_directory(dir.file("sub"));
    const std::string folder = dir.file(".points.gpkg.writing-1-0");
    const std::string nobody = ::geteuid() == 0 ? "65534" : "";
    const struct {
        const char* what;
        std::string manifest, manifestMode = "600", folderMode = "700", owner = "";
    } rows[] = {
        {"a folder of another user", "move points.gpkg", "600", "700", nobody + ":" + nobody},
        {"a folder others may write", "move points.gpkg", "600", "777"},
        {"a manifest others may write", "move points.gpkg", "666"},
        {"a name with a path", "remove sub/points.gpkg"},
        {"a name climbing out", "move .."},
        {"a name that is not a piece", "remove points.txt"},
        {"a piece of another table", "remove other.gpkg"},
        {"a piece that is a link", "move points.gpkg"},
        {"a manifest that is a link", "link"},
    };
    GdalTableStore store;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        if (row.owner == ":") continue;  // only root can make another user's folder
        std::ofstream(secret) << "mine";
        std::ofstream(nested) << "mine";
        std::ofstream(other) << "mine";
        fs::create_directory(folder);
        const std::string manifest = folder + "/commit-manifest";
        if (row.manifest == "link") {
            std::ofstream(secret + ".m") << "mbhost commit 1\nmove points.gpkg\nend\n";
            fs::create_symlink(secret + ".m", manifest);
        } else {
            std::ofstream(manifest) << "mbhost commit 1\n" << row.manifest << "\nend\n";
        }
        if (row.what == std::string("a piece that is a link")) {
            fs::create_symlink(secret, folder + "/points.gpkg");
        }
        const std::string owner =
            row.owner.empty() ? "" : " && chown -R " + row.owner + " " + folder;
        ASSERT_EQ(std::system(("chmod " + row.folderMode + " " + folder + " && chmod " +
                               row.manifestMode + " " + manifest + owner)
                                  .c_str()),
                  0);
        store.write(pointTable(kLonLat, 37, 55), path);
        EXPECT_EQ(contentsOf(store.open(path)), contentsOf(pointTable(kLonLat, 37, 55)));
        for (const std::string& victim : {secret, nested, other}) {
            std::string kept;
            std::ifstream(victim) >> kept;
            EXPECT_EQ(kept, "mine") << victim;
        }
        EXPECT_TRUE(fs::exists(folder));
        fs::remove_all(folder);
    }
}

// A commit undone after it completed puts the old files back and leaves no working folder;
// one that would replace a file made meanwhile is refused.
TEST(commit_roll_forward, a_commit_that_cannot_complete_is_undone) {
    const TempDir dir;
    const std::string path = dir.file("points.shp");
    GdalTableStore store;
    const TableData old = pointTable(kLonLat, 37, 55), changed = pointTable(kLonLat, 38, 56);
    store.write(old, path);
    const auto inode = [&] {
        struct stat status {};
        ::stat(path.c_str(), &status);
        return status.st_ino;
    };
    const auto before = inode();
    {
        const auto staged = store.stage(changed, path);
        staged->commit();
        EXPECT_NE(inode(), before);
        staged->undo();
    }
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(contentsOf(store.open(path)), contentsOf(old));
    EXPECT_FALSE(workingFilesLeft(dir.path()));
    const auto staged = store.stage(changed, dir.file("new.shp"));
    std::ofstream(dir.file("new.qix")) << "made meanwhile";  // not among the pieces written
    EXPECT_NE(whatOf([&] { staged->commit(false); }).find("new.qix was made while"),
              std::string::npos);
    EXPECT_EQ(fs::file_size(dir.file("new.qix")), 14u);
    EXPECT_FALSE(fs::exists(dir.file("new.shp")));
}

TEST(table_file, gdal_reasons_reach_the_client_readable) {
    for (const auto& [gdal, reason] :
         {std::pair{"Failed to read all values for 2 records in .shx file: Success.",
                    "Failed to read all values for 2 records in .shx file (the file is damaged)"},
          std::pair{"caf\xe9 n'est pas une table", "caf\u00e9 n'est pas une table"},
          std::pair{"Мост: not recognised", "Мост: not recognised"}}) {
        EXPECT_EQ(readableReason(gdal), reason);
    }
}

}  // namespace
}  // namespace mbhost::gdal
