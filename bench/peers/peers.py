#!/usr/bin/python3
"""Veltrano's file mode against QGIS, PostGIS and SpatiaLite, end to end, in one sitting.

Generates two GeoPackages of N polylines of 50 nodes, about 50 km each, from a fixed seed:
W1 in UTM zone 33N (EPSG:32633), W2 in lat/long (EPSG:4326). Then, for R rounds, runs every
tool on every workload in turn (A B C A B C ...), each placing a point every 1000 m and writing
a GeoPackage, and prints per tool and workload the points, the median seconds, points/s, how
many times faster Veltrano is, and the peak memory (GNU time's maximum resident set size; for
PostGIS the clients' and, from the server's own statistics, its largest backend). Last it
compares the point counts line by line and the positions on a sample of lines, and says why
they differ.

  veltrano    veltrano-batch --input W.gpkg --every 1000 --output P.gpkg       W1, W2
  qgis        qgis_process run native:pointsalonglines (DISTANCE, START_OFFSET)  W1 only:
              it measures in the layer's units, degrees on W2
  postgis     ogr2ogr into a scratch database + ST_LineInterpolatePoint over
              generate_series (geometry on W1, geography on W2) + ogr2ogr out,
              the three steps timed together, on a cluster this script starts
              in its work folder and stops at the end                           W1, W2
  spatialite  ogr2ogr -dialect SQLite: ST_Line_Interpolate_Point over a
              recursive CTE, straight from W.gpkg to P.gpkg                     W1 only

Usage (as root for --install and for the PostgreSQL cluster, which runs as user postgres):
  bench/peers/peers.py [--install] [--lines 10000] [--rounds 3] [--veltrano PATH]
                       [--tools veltrano,qgis,postgis,spatialite] [--workloads W1,W2]
                       [--workdir DIR] [--sample 50] [--timeout 3600]
  bench/peers/peers.py --lines 200 --rounds 1        # a quick check of the script itself

--install installs the chosen peers with apt-get first; without it nothing is installed and
a missing peer is named, with its package, and left out. Not run by CI: the full run (10,000
lines, three rounds) takes about a quarter of an hour on two idle cores, and its figures mean
something only on a machine with nothing else running.
Runs with Debian's python3 (/usr/bin/python3), where python3-gdal lives.
"""

import argparse
import glob
import math
import os
import random
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
TOOLS = ("veltrano", "qgis", "postgis", "spatialite")
WORKLOADS = {"W1": ("UTM 33N", 32633), "W2": ("lat/long", 4326)}
# Peers that measure in the layer's units: on lat/long data that is degrees, not metres.
PLANAR_ONLY = {"qgis", "spatialite"}
NODES = 50
SEGMENT_M = 50_000 / (NODES - 1)
METRES_PER_DEGREE = 111_320.0
PACKAGES = {  # what each tool needs from Debian
    "veltrano": [],
    "qgis": ["qgis"],
    "postgis": ["postgresql", "postgis"],  # + postgresql-N-postgis-3, found at install time
    "spatialite": ["spatialite-bin", "libsqlite3-mod-spatialite", "gdal-bin"],
}
BASE_PACKAGES = ["gdal-bin", "python3-gdal", "time"]

current_child = None  # the command being run, stopped on Ctrl-C or SIGTERM


def say(text=""):
    print(text, flush=True)


def fail(text, status=2):
    print(f"peers: {text}", file=sys.stderr, flush=True)
    sys.exit(status)


def on_sigterm(_signum, _frame):
    raise KeyboardInterrupt


# ---------------------------------------------------------------- running commands

def run(cmd, timeout, env=None, measure=None, check=True, user=None):
    """Runs cmd in its own process group; with measure (a path), under GNU time -v into it.

    Returns (seconds, peak KiB or None, completed output). A time-out or Ctrl-C stops the
    whole group, so nothing the command started outlives the script."""
    global current_child
    if user and os.geteuid() == 0:
        cmd = ["runuser", "-u", user, "--"] + cmd
    if measure:
        cmd = ["/usr/bin/time", "-v", "-o", measure] + cmd
    start = time.monotonic()
    current_child = subprocess.Popen(cmd, env=env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, stdin=subprocess.DEVNULL,
                                     start_new_session=True, text=True)
    try:
        out, err = current_child.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        stop_child()
        fail(f"{' '.join(cmd)} gave no result in {timeout} s (--timeout)", 3)
    seconds = time.monotonic() - start
    status = current_child.returncode
    current_child = None
    if check and status != 0:
        tail = "\n".join((err or out).strip().splitlines()[-15:])
        raise RuntimeError(f"{' '.join(cmd)} ended with status {status}:\n{tail}")
    peak = None
    if measure and os.path.exists(measure):
        with open(measure, encoding="utf-8", errors="replace") as report:
            found = re.search(r"Maximum resident set size \(kbytes\): (\d+)", report.read())
        peak = int(found.group(1)) if found else None
    return seconds, peak, subprocess.CompletedProcess(cmd, status, out, err)


def stop_child():
    global current_child
    child, current_child = current_child, None
    if child is None or child.poll() is not None:
        return
    try:
        os.killpg(child.pid, signal.SIGTERM)
        child.wait(timeout=10)
    except subprocess.TimeoutExpired:
        os.killpg(child.pid, signal.SIGKILL)
        child.wait()
    except ProcessLookupError:
        pass


# ---------------------------------------------------------------- finding and installing

def postgres_bindir():
    """The newest PostgreSQL whose server has the postgis extension beside it."""
    found = []
    for pg_ctl in glob.glob("/usr/lib/postgresql/*/bin/pg_ctl"):
        version = pg_ctl.split("/")[4]
        if glob.glob(f"/usr/share/postgresql/{version}/extension/postgis.control"):
            found.append((float(version), os.path.dirname(pg_ctl)))
    return max(found)[1] if found else None


def missing(tool, veltrano):
    """Why tool cannot run here, or None."""
    if tool == "veltrano":
        return None if veltrano else "no veltrano-batch: build it or give --veltrano PATH"
    if not shutil.which("ogr2ogr"):
        return "ogr2ogr not found (Debian package gdal-bin)"
    if tool == "qgis" and not qgis_process():
        return "qgis_process not found (Debian package qgis)"
    if tool == "postgis":
        if not shutil.which("psql"):
            return "psql not found (Debian package postgresql)"
        if not postgres_bindir():
            return "no PostgreSQL server with the postgis extension (Debian package postgis)"
    if tool == "spatialite":
        # GDAL's SQLite dialect has SpatiaLite's functions only where GDAL can load it.
        probe = subprocess.run(["ogrinfo", "-ro", "-q", ":memory:", "-dialect", "SQLite", "-sql",
                                "SELECT spatialite_version() AS v"], capture_output=True,
                               text=True, stdin=subprocess.DEVNULL, timeout=60)
        if "v (String) =" not in probe.stdout:
            return ("GDAL's SQLite dialect has no SpatiaLite (Debian packages "
                    "libsqlite3-mod-spatialite, spatialite-bin)")
    return None


def install(tools):
    if os.geteuid() != 0:
        fail("--install runs apt-get and needs root", 1)
    packages = list(BASE_PACKAGES)
    for tool in tools:
        packages += PACKAGES[tool]
    env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
    say("installing with apt-get: apt-get update")
    if subprocess.run(["apt-get", "update", "-q"], env=env, stdout=subprocess.DEVNULL).returncode:
        fail("apt-get update failed", 2)
    if "postgis" in tools:
        # The extension comes in postgresql-N-postgis-3 for the server's major version N.
        shown = subprocess.run(["apt-cache", "depends", "postgresql"], capture_output=True,
                               text=True).stdout
        major = re.search(r"Depends: postgresql-(\d+)\b", shown)
        if major:
            packages.append(f"postgresql-{major.group(1)}-postgis-3")
    packages = sorted(set(packages))
    say("apt-get install -y --no-install-recommends " + " ".join(packages))
    # Wait for a dpkg lock held by another apt rather than fail at once.
    result = subprocess.run(["apt-get", "install", "-y", "-q", "--no-install-recommends",
                             "-o", "DPkg::Lock::Timeout=600"] + packages, env=env)
    if result.returncode != 0:
        fail(f"apt-get install ended with status {result.returncode}", 2)


def qgis_process():
    """Debian 12's qgis_process wrapper passes --noversioncheck, which qgis_process refuses:
    the program it wraps, with the wrapper's library path, runs as meant."""
    wrapper = shutil.which("qgis_process")
    if wrapper and os.access(wrapper + ".bin", os.X_OK):
        return wrapper + ".bin"
    return wrapper


def find_veltrano(given):
    if given:
        path = shutil.which(given) or (given if os.access(given, os.X_OK) else None)
        if not path:
            fail(f"--veltrano {given}: not an executable", 1)
        return os.path.abspath(path)
    built = os.path.join(ROOT, "build", "release", "app", "veltrano-batch", "veltrano-batch")
    return built if os.access(built, os.X_OK) else shutil.which("veltrano-batch")


# ---------------------------------------------------------------- the workloads

def write_lines(path, workload, count, seed):
    """The shape bench/filemode draws: a random start, a heading that turns a little at each
    of the 50 nodes, segments of 50 km / 49 (on W1 in grid metres, give or take 1% a line; on W2
    in degrees from metres at 111,320 m a degree)."""
    from osgeo import ogr, osr
    ogr.UseExceptions()
    srs = osr.SpatialReference()
    srs.ImportFromEPSG(WORKLOADS[workload][1])
    srs.SetAxisMappingStrategy(osr.OAMS_TRADITIONAL_GIS_ORDER)
    dataset = ogr.GetDriverByName("GPKG").CreateDataSource(path)
    layer = dataset.CreateLayer("lines", srs, ogr.wkbLineString)
    layer.CreateField(ogr.FieldDefn("lineId", ogr.OFTInteger))
    draw = random.Random(f"{seed}/{workload}")
    dataset.StartTransaction()
    for number in range(1, count + 1):
        line = ogr.Geometry(ogr.wkbLineString)
        if workload == "W1":  # the middle of zone 33N, from about 40 to 60 degrees north
            x, y = draw.uniform(300_000, 700_000), draw.uniform(4_450_000, 6_650_000)
        else:
            x, y = draw.uniform(20, 40), draw.uniform(40, 60)
        heading = draw.uniform(-0.3, 0.3) * 10
        # Grid lengths of exactly 50 km would put the last point of every W1 line on its end,
        # where ground and grid disagree most about whether it fits.
        segment = SEGMENT_M * (draw.uniform(0.99, 1.01) if workload == "W1" else 1)
        for _ in range(NODES):
            line.AddPoint_2D(x, y)
            heading += draw.uniform(-0.3, 0.3)
            if workload == "W1":
                x += segment * math.sin(heading)
                y += segment * math.cos(heading)
            else:
                y += SEGMENT_M * math.cos(heading) / METRES_PER_DEGREE
                x += SEGMENT_M * math.sin(heading) / (METRES_PER_DEGREE
                                                      * math.cos(math.radians(y)))
        feature = ogr.Feature(layer.GetLayerDefn())
        feature.SetField("lineId", number)
        feature.SetGeometry(line)
        layer.CreateFeature(feature)
    dataset.CommitTransaction()
    dataset = None


def count_points(path):
    from osgeo import ogr
    dataset = ogr.Open(path)
    return dataset.GetLayer(0).GetFeatureCount() if dataset else None


# ---------------------------------------------------------------- PostgreSQL

class Cluster:
    """A throw-away PostgreSQL cluster in the work folder, reached by a Unix socket only."""

    def __init__(self, folder, timeout):
        self.bindir = postgres_bindir()
        self.data = os.path.join(folder, "pgdata")
        self.socket = os.path.join(folder, "pgsocket")
        self.port = "54329"
        self.log = os.path.join(folder, "postgres.log")
        self.timeout = timeout
        self.user = "postgres" if os.geteuid() == 0 else None
        self.started = False

    def start(self):
        os.makedirs(self.data, mode=0o700)
        os.makedirs(self.socket, mode=0o755)
        open(self.log, "w").close()
        if self.user:
            for path in (self.data, self.socket, self.log):
                shutil.chown(path, self.user)
        run([f"{self.bindir}/initdb", "-D", self.data, "-A", "trust", "-U", "postgres",
             "--no-sync"], self.timeout, user=self.user)
        # log_statement_stats makes each backend log its own peak memory after a statement:
        # that is the server's share of a run.
        options = (f"-c listen_addresses='' -c unix_socket_directories='{self.socket}' "
                   f"-p {self.port} -c log_statement_stats=on")
        self.started = True
        run([f"{self.bindir}/pg_ctl", "-D", self.data, "-l", self.log, "-w", "-t", "60",
             "-o", options, "start"], self.timeout, user=self.user)

    def stop(self):
        if not self.started:
            return
        self.started = False
        try:
            run([f"{self.bindir}/pg_ctl", "-D", self.data, "-m", "fast", "-w", "-t", "30",
                 "stop"], 60, user=self.user, check=False)
        finally:
            pid_file = os.path.join(self.data, "postmaster.pid")
            if os.path.exists(pid_file):  # pg_ctl could not stop it: end the postmaster
                try:
                    os.kill(int(open(pid_file).readline()), signal.SIGKILL)
                except (ValueError, ProcessLookupError):
                    pass

    def conninfo(self, database):
        return f"host={self.socket} port={self.port} user=postgres dbname={database}"

    def sql(self, database, text):
        return run(["psql", "-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-d",
                    self.conninfo(database), "-c", text], self.timeout)[2].stdout.strip()

    def log_size(self):
        return os.path.getsize(self.log)

    def backend_peak_kib(self, since):
        with open(self.log, encoding="utf-8", errors="replace") as log:
            log.seek(since)
            peaks = [int(k) for k in re.findall(r"(\d+) kB max resident size", log.read())]
        return max(peaks) if peaks else None


# ---------------------------------------------------------------- one timed run per tool

class Bench:
    def __init__(self, args, folder, veltrano):
        self.args = args
        self.folder = folder
        self.veltrano = veltrano
        self.cluster = None
        self.runs = 0
        self.geography_interpolation = True
        home = os.path.join(folder, "qgis-home")
        os.makedirs(home, mode=0o700, exist_ok=True)
        # qgis_process keeps its profile under HOME: in the work folder, not in root's home.
        self.qgis_env = dict(os.environ, QT_QPA_PLATFORM="offscreen", HOME=home,
                             XDG_RUNTIME_DIR=home, QGIS_DEBUG="-1")

    def input(self, workload):
        return os.path.join(self.folder, f"{workload}.gpkg")

    def output(self, tool, workload):
        return os.path.join(self.folder, f"{tool}-{workload}.gpkg")

    def timing_file(self):
        self.runs += 1
        return os.path.join(self.folder, f"time-{self.runs}.txt")

    def run_tool(self, tool, workload):
        """Seconds, client peak KiB, server peak KiB (or None), points written."""
        out = self.output(tool, workload)
        if os.path.exists(out):
            os.remove(out)
        server = None
        if tool == "veltrano":
            seconds, peak, _ = run([self.veltrano, "--input", self.input(workload), "--every",
                                    str(self.args.every), "--output", out, "--quiet"],
                                   self.args.timeout, measure=self.timing_file())
        elif tool == "qgis":
            seconds, peak, _ = run([qgis_process(), "run", "native:pointsalonglines", "--",
                                    f"INPUT={self.input(workload)}|layername=lines",
                                    f"DISTANCE={self.args.every}",
                                    f"START_OFFSET={self.args.every}", "END_OFFSET=0",
                                    f"OUTPUT={out}"],
                                   self.args.timeout, env=self.qgis_env,
                                   measure=self.timing_file())
        elif tool == "spatialite":
            seconds, peak, _ = run(["ogr2ogr", "-f", "GPKG", out, self.input(workload),
                                    "-dialect", "SQLite", "-sql", self.spatialite_sql(),
                                    "-nln", "points", "-nlt", "POINT",
                                    "-a_srs", f"EPSG:{WORKLOADS[workload][1]}"],
                                   self.args.timeout, measure=self.timing_file())
        else:
            seconds, peak, server = self.run_postgis(workload, out)
        return seconds, peak, server, count_points(out)

    def spatialite_sql(self):
        step = self.args.every
        return (
            "WITH RECURSIVE measured AS (SELECT fid, ST_Length(geom) AS len FROM lines), "
            f"at(fid, d, len) AS (SELECT fid, {step}.0, len FROM measured WHERE {step} < len "
            f"UNION ALL SELECT fid, d + {step}, len FROM at WHERE d + {step} < len) "
            "SELECT lines.lineId AS lineId, at.d AS distance, "
            "ST_Line_Interpolate_Point(lines.geom, at.d / at.len) AS geom "
            "FROM at JOIN lines ON lines.fid = at.fid")

    def postgis_sql(self, workload):
        step = self.args.every
        if workload == "W2" and not self.geography_interpolation:
            return self.postgis_geodesic_walk_sql()
        geography = ", true" if workload == "W2" else ""
        return (f"CREATE TABLE points AS SELECT l.lineid, s.d::float8 AS distance, "
                f"ST_LineInterpolatePoint(l.geom, s.d / l.len{geography}) AS geom "
                f"FROM (SELECT lineid, geom, ST_Length(geom{geography}) AS len FROM lines) l "
                f"CROSS JOIN LATERAL generate_series({step}, ceil(l.len)::bigint, {step}) "
                "AS s(d) WHERE s.d < l.len")

    def postgis_geodesic_walk_sql(self):
        """What ST_LineInterpolatePoint does on geography from PostGIS 3.4 on, for older ones:
        each point is projected along the geodesic edge it falls on, from the edge's start."""
        step = self.args.every
        return f"""CREATE TABLE points AS
WITH nodes AS (
  SELECT lineid, (d).path[1] AS n, (d).geom::geography AS g
  FROM (SELECT lineid, ST_DumpPoints(geom::geometry) AS d FROM lines) dumped),
edges AS (
  SELECT lineid, n, g AS a, lead(g) OVER (PARTITION BY lineid ORDER BY n) AS b FROM nodes),
measured AS (
  SELECT lineid, n, a, b, ST_Distance(a, b, true) AS len FROM edges WHERE b IS NOT NULL),
walked AS (
  SELECT *, sum(len) OVER (PARTITION BY lineid ORDER BY n) - len AS at,
         sum(len) OVER (PARTITION BY lineid) AS total FROM measured)
SELECT w.lineid, s.d::float8 AS distance,
       ST_Project(w.a, s.d - w.at, ST_Azimuth(w.a, w.b)) AS geom
FROM walked w
CROSS JOIN LATERAL generate_series((floor(w.at / {step})::bigint + 1) * {step},
                                   ceil(w.at + w.len)::bigint, {step}) AS s(d)
WHERE s.d <= w.at + w.len AND s.d < w.total"""

    def run_postgis(self, workload, out):
        database = f"run{self.runs + 1}"
        self.cluster.sql("postgres", f"CREATE DATABASE {database}")
        self.cluster.sql(database, "CREATE EXTENSION postgis")
        since = self.cluster.log_size()
        load = ["ogr2ogr", "-f", "PostgreSQL", "PG:" + self.cluster.conninfo(database),
                self.input(workload), "lines", "-nln", "lines", "-lco", "GEOMETRY_NAME=geom",
                "-lco", "SPATIAL_INDEX=NONE"]
        if workload == "W2":
            load += ["-lco", "GEOM_TYPE=geography"]
        compute = ["psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-d",
                   self.cluster.conninfo(database), "-c", self.postgis_sql(workload)]
        export = ["ogr2ogr", "-f", "GPKG", out, "PG:" + self.cluster.conninfo(database),
                  "points", "-nln", "points"]
        seconds, peak = 0.0, 0
        for step in (load, compute, export):
            step_seconds, step_peak, _ = run(step, self.args.timeout, measure=self.timing_file())
            seconds += step_seconds
            peak = max(peak, step_peak or 0)
        server = self.cluster.backend_peak_kib(since)
        self.cluster.sql("postgres", f"DROP DATABASE {database}")
        return seconds, peak, server

    def start_postgis(self):
        self.cluster = Cluster(self.folder, self.args.timeout)
        self.cluster.start()
        self.cluster.sql("postgres", "CREATE EXTENSION postgis")
        # Geography interpolation came in PostGIS 3.4; without it W2 cannot be run fairly.
        signatures = self.cluster.sql(
            "postgres", "SELECT count(*) FROM pg_proc WHERE proname = 'st_lineinterpolatepoint'"
            " AND pg_get_function_arguments(oid) LIKE '%geography%'")
        self.geography_interpolation = signatures not in ("", "0")
        return self.cluster.sql("postgres", "SELECT postgis_lib_version()")


# ---------------------------------------------------------------- comparing the points

def read_points(path, sample, id_field, distance_field):
    """{(line, distance in mm): (x, y)} for the sample's lines."""
    from osgeo import ogr
    dataset = ogr.Open(path)
    layer = dataset.GetLayer(0)
    names = {layer.GetLayerDefn().GetFieldDefn(i).GetName().lower(): i
             for i in range(layer.GetLayerDefn().GetFieldCount())}
    id_index, distance_index = names[id_field.lower()], names[distance_field.lower()]
    layer.SetAttributeFilter(f"{id_field} IN ({','.join(map(str, sorted(sample)))})")
    points = {}
    for feature in layer:
        geometry = feature.GetGeometryRef()
        key = (feature.GetField(id_index), round(feature.GetField(distance_index) * 1000))
        points[key] = (geometry.GetX(), geometry.GetY())
    return points


def per_line_counts(path, id_field):
    from osgeo import ogr
    dataset = ogr.Open(path)
    layer = dataset.GetLayer(0)
    result = dataset.ExecuteSQL(
        f'SELECT "{id_field}", COUNT(*) FROM "{layer.GetName()}" GROUP BY "{id_field}"',
        dialect="SQLite")
    counts = {feature.GetField(0): feature.GetField(1) for feature in result}
    dataset.ReleaseResultSet(result)
    return counts


def great_circle_m(a, b):
    lon1, lat1, lon2, lat2 = map(math.radians, (a[0], a[1], b[0], b[1]))
    h = (math.sin((lat2 - lat1) / 2) ** 2
         + math.cos(lat1) * math.cos(lat2) * math.sin((lon2 - lon1) / 2) ** 2)
    return 2 * 6_371_008.8 * math.asin(math.sqrt(h))


FIELDS = {"veltrano": ("xRowId", "distanceM"), "qgis": ("lineId", "distance"),
          "postgis": ("lineid", "distance"), "spatialite": ("lineId", "distance")}

WHY = {
    ("qgis", "W1"): "QGIS measures 1000 m in grid units of the projection; Veltrano measures "
                    "ground distance, as the host's Distance does",
    ("spatialite", "W1"): "SpatiaLite interpolates on the planar (grid) length; Veltrano "
                          "measures ground distance, as the host's Distance does",
    ("postgis", "W1"): "PostGIS geometry measures grid length; Veltrano measures ground "
                       "distance, as the host's Distance does",
    ("postgis", "W2"): "PostGIS geography joins the nodes by geodesics on the spheroid; in "
                       "Veltrano a lat/long line runs straight in longitude/latitude between "
                       "nodes, measured with the ellipsoidal distance",
}
GRID_NOTE = ("In UTM a ground metre is k grid metres, k = 0.9996 on the central meridian, 1 "
             "about 180 km either side: ground distance is up to 0.04% longer than grid, so the "
             "n-th point lies up to 0.04% of its distance away along the line, and a line whose "
             "length is that close to a multiple of the step holds one point more or fewer.")


def compare(bench, tools, workloads, lines, sample_size, every):
    say("\nPoints and positions against Veltrano (last round's outputs)")
    step = max(1, lines // max(1, sample_size))
    sample = set(range(1, lines + 1, step))
    notes = set()
    compared = False
    for workload in workloads:
        reference = bench.output("veltrano", workload)
        if not os.path.exists(reference):
            continue
        mine_counts = per_line_counts(reference, "xRowId")
        mine = read_points(reference, sample, *FIELDS["veltrano"])
        for tool in tools:
            theirs_path = bench.output(tool, workload)
            if tool == "veltrano" or not os.path.exists(theirs_path):
                continue
            compared = True
            counts = per_line_counts(theirs_path, FIELDS[tool][0])
            differing = sum(1 for line in set(mine_counts) | set(counts)
                            if mine_counts.get(line, 0) != counts.get(line, 0))
            total_mine, total_theirs = sum(mine_counts.values()), sum(counts.values())
            theirs = read_points(theirs_path, sample, *FIELDS[tool])
            offsets, relative = [], []
            for key, where in mine.items():
                if key in theirs:
                    gap = (math.dist(where, theirs[key]) if workload == "W1"
                           else great_circle_m(where, theirs[key]))
                    offsets.append(gap)
                    relative.append(gap / (key[1] / 1000))
            say(f"  {tool} {workload}: {total_theirs:,} points against {total_mine:,} "
                f"({total_theirs - total_mine:+,}); {differing:,} of {lines:,} lines hold a "
                "different count")
            if offsets:
                say(f"    {len(offsets):,} points on {len(sample):,} lines matched by line and "
                    f"distance: offset median {statistics.median(offsets):.3f} m, max "
                    f"{max(offsets):.3f} m, median {1e6 * statistics.median(relative):.1f} ppm "
                    "of the distance")
            say(f"    why: {WHY[(tool, workload)]}.")
            if workload == "W1":
                notes.add(GRID_NOTE)
    if not compared:
        say("  no peer ran")
    for note in sorted(notes):
        say("  " + note)
    if compared:
        say(f"  Every tool is asked for the same distances: {every}, {2 * every}, ... short of "
            "a line's end, as Veltrano places them (none at 0, none at the very end; QGIS is "
            f"given START_OFFSET={every}).")


# ---------------------------------------------------------------- main

def versions(bench, tools, postgis_version):
    found = {}
    if "veltrano" in tools:
        found["veltrano"] = run([bench.veltrano, "--version"], 60, check=False)[2].stdout.strip()
    if "qgis" in tools:
        text = run([qgis_process(), "--version"], 120, env=bench.qgis_env,
                   check=False)[2].stdout
        found["qgis"] = next((line.strip() for line in text.splitlines() if "QGIS" in line), "?")
    if "postgis" in tools and bench.cluster:
        found["postgis"] = f"PostGIS {postgis_version}, " + os.path.basename(
            os.path.dirname(bench.cluster.bindir)).join(["PostgreSQL ", ""])
    if "spatialite" in tools:
        result = run(["ogrinfo", "-ro", "-q", ":memory:", "-dialect",
                      "SQLite", "-sql", "SELECT spatialite_version() AS v"], 60, check=False)
        found["spatialite"] = "SpatiaLite " + " ".join(
            re.findall(r"v \(String\) = (\S+)", result[2].stdout)) + ", via " + run(
            ["ogr2ogr", "--version"], 60)[2].stdout.strip()
    return found


def table(results, tools, workloads, rounds):
    say(f"\nMedians of {rounds} interleaved round{'s' if rounds > 1 else ''} "
        "(Veltrano ×: the peer's seconds over Veltrano's; above 1 Veltrano is faster)")
    header = (f"{'tool':<11}{'workload':<14}{'points':>10}{'median s':>10}{'points/s':>11}"
              f"{'Veltrano ×':>12}  peak memory MiB   runs (s)")
    say(header)
    say("-" * len(header))
    for workload in workloads:
        label = f"{workload} {WORKLOADS[workload][0]}"
        base = results.get(("veltrano", workload))
        base_s = statistics.median(r[0] for r in base) if base else None
        for tool in tools:
            entry = results.get((tool, workload))
            if isinstance(entry, str):
                say(f"{tool:<11}{label:<14}{'–':>10}  {entry}")
                continue
            seconds = statistics.median(r[0] for r in entry)
            points = entry[-1][3]
            ratio = f"{seconds / base_s:.2f}" if base_s and tool != "veltrano" else (
                "1.00" if tool == "veltrano" else "–")
            client = max(r[1] or 0 for r in entry) / 1024
            servers = [r[2] for r in entry if r[2]]
            memory = f"{client:.0f}"
            if tool == "postgis":
                memory += (f" + server {max(servers) / 1024:.0f}" if servers
                           else " (client only)")
            runs = " ".join(f"{r[0]:.1f}" for r in entry)
            say(f"{tool:<11}{label:<14}{points:>10,}{seconds:>10.2f}{points / seconds:>11,.0f}"
                f"{ratio:>12}  {memory:<17} {runs}")
    say("Peak memory: GNU time's maximum resident set size, the largest of the rounds; PostGIS: "
        "the largest of its three client steps, + the largest server backend's peak as the "
        "server itself logs it.")


def parse_args():
    parser = argparse.ArgumentParser(
        description="Times veltrano-batch --every against QGIS, PostGIS and SpatiaLite.",
        epilog="See bench/peers/README.md.")
    parser.add_argument("--install", action="store_true",
                        help="install the missing peers with apt-get first (root)")
    parser.add_argument("--lines", type=int, default=10_000, help="polylines per workload")
    parser.add_argument("--rounds", type=int, default=3, help="interleaved rounds (default 3)")
    parser.add_argument("--every", type=int, default=1000, help="metres between points")
    parser.add_argument("--seed", type=int, default=16, help="seed of the generated lines")
    parser.add_argument("--veltrano", help="veltrano-batch to time (default: the release "
                        "build of this tree, else the PATH)")
    parser.add_argument("--tools", default=",".join(TOOLS), help="comma-separated, of "
                        + ", ".join(TOOLS))
    parser.add_argument("--workloads", default="W1,W2", help="W1 (UTM), W2 (lat/long)")
    parser.add_argument("--sample", type=int, default=50,
                        help="lines whose points are compared position by position")
    parser.add_argument("--timeout", type=int, default=3600, help="seconds any one command "
                        "may take")
    parser.add_argument("--workdir", help="keep inputs, outputs and logs in this new folder "
                        "(default: a temporary folder, removed at the end)")
    args = parser.parse_args()
    tools = [t.strip() for t in args.tools.split(",") if t.strip()]
    workloads = [w.strip().upper() for w in args.workloads.split(",") if w.strip()]
    if unknown := [t for t in tools if t not in TOOLS]:
        parser.error(f"unknown tool {', '.join(unknown)}; choose from {', '.join(TOOLS)}")
    if unknown := [w for w in workloads if w not in WORKLOADS]:
        parser.error(f"unknown workload {', '.join(unknown)}; choose from W1, W2")
    if "veltrano" not in tools:
        tools.insert(0, "veltrano")  # every ratio and comparison is against it
    if args.lines < 1 or args.rounds < 1 or args.every < 1 or args.timeout < 1:
        parser.error("--lines, --rounds, --every and --timeout must be at least 1")
    if args.workdir and os.path.exists(args.workdir):
        parser.error(f"--workdir {args.workdir} exists; give a new folder")
    return args, [t for t in TOOLS if t in tools], [w for w in WORKLOADS if w in workloads]


def main():
    args, tools, workloads = parse_args()
    signal.signal(signal.SIGTERM, on_sigterm)
    if args.install:
        install([t for t in tools if t != "veltrano"])
    try:
        from osgeo import ogr  # noqa: F401
    except ImportError:
        fail("the GDAL bindings are missing: run with Debian's /usr/bin/python3 and "
             "apt-get install python3-gdal (or give --install)")
    if not os.access("/usr/bin/time", os.X_OK):
        fail("GNU time is missing (/usr/bin/time): apt-get install time (or give --install)")
    veltrano = find_veltrano(args.veltrano)
    if why := missing("veltrano", veltrano):
        fail(why)
    results = {}
    for tool in tools:
        if why := missing(tool, veltrano):
            say(f"peers: leaving out {tool}: {why}; rerun with --install")
            for workload in workloads:
                results[(tool, workload)] = f"not run: {why}"
    if args.rounds < 3:
        say(f"peers: {args.rounds} round{'s' if args.rounds > 1 else ''}: medians of fewer "
            "than three are not robust; use --rounds 3 or more for figures to quote")

    if args.workdir:
        os.makedirs(args.workdir)
        folder = os.path.abspath(args.workdir)
    else:
        folder = tempfile.mkdtemp(prefix="veltrano-peers-")
    os.chmod(folder, 0o755)  # the postgres user runs its cluster in here
    bench = Bench(args, folder, veltrano)
    status = 0
    try:
        for workload in workloads:
            started = time.monotonic()
            write_lines(bench.input(workload), workload, args.lines, args.seed)
            say(f"{workload}: {args.lines:,} polylines of {NODES} nodes, about 50 km, "
                f"EPSG:{WORKLOADS[workload][1]}, written in {time.monotonic() - started:.1f} s")
        for tool in PLANAR_ONLY & set(tools):
            if "W2" in workloads and (tool, "W2") not in results:
                results[(tool, "W2")] = "measures in the layer's units: degrees on lat/long"
        postgis_version = None
        if "postgis" in tools and ("postgis", workloads[0]) not in results:
            postgis_version = bench.start_postgis()
            if not bench.geography_interpolation and "W2" in workloads:
                say(f"peers: PostGIS {postgis_version} has no ST_LineInterpolatePoint on "
                    "geography (3.4+): W2 walks the geodesic edges with ST_Project instead")
        running = [t for t in tools if not all(isinstance(results.get((t, w)), str)
                                                for w in workloads)]
        for tool, version in versions(bench, running, postgis_version).items():
            say(f"  {tool}: {version}")
        say(f"  machine: {os.cpu_count()} cores, load average "
            f"{os.getloadavg()[0]:.2f} before the first round")
        for round_number in range(1, args.rounds + 1):
            for workload in workloads:
                for tool in tools:
                    if isinstance(results.get((tool, workload)), str):
                        continue
                    outcome = bench.run_tool(tool, workload)
                    results.setdefault((tool, workload), []).append(outcome)
                    say(f"round {round_number} {workload} {tool}: {outcome[0]:.2f} s, "
                        f"{outcome[3]:,} points, {(outcome[1] or 0) / 1024:.0f} MiB")
        say(f"  load average {os.getloadavg()[0]:.2f} after the last round")
        table(results, tools, workloads, args.rounds)
        compare(bench, tools, workloads, args.lines, args.sample, args.every)
    except KeyboardInterrupt:
        say("\npeers: interrupted; cleaning up")
        status = 130
    except RuntimeError as error:
        print(f"peers: {error}", file=sys.stderr)
        status = 3
    finally:
        # A second Ctrl-C must not cut the clean-up short and leave the server running.
        signal.signal(signal.SIGINT, signal.SIG_IGN)
        signal.signal(signal.SIGTERM, signal.SIG_IGN)
        stop_child()
        if bench.cluster:
            bench.cluster.stop()
        if not args.workdir:
            shutil.rmtree(folder, ignore_errors=True)
        elif status:
            say(f"peers: the work folder is kept: {folder}")
    return status


if __name__ == "__main__":
    sys.exit(main())
