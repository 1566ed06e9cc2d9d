// libFuzzer target: any text given to eval or execute must give an answer or a host failure,
// never a crash, a leak or a hang. The first byte picks eval or execute; the rest is the text.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "mbhost/host.h"

namespace {

// A small workspace with tables in the three kinds of system, objects and a window, so that
// fuzzed text reaches past name look-ups.
void prepare(mbhost::Host& host) {
    host.execute(
        "Create Table roads (name Char(20), lanes Integer)\r\n"
        "Create Map For roads CoordSys Earth Projection 1, 104\r\n"
        "Dim v As Object\r\n"
        "Create Pline Into Variable v Multiple 2 3 (37.6, 55.7) (37.62, 55.71) (37.65, 55.715) "
        "2 (37.7, 55.72) (37.71, 55.73)\r\n"
        "Insert Into roads (obj, name, lanes) Values (v, \"Ring\", 2)\r\n"
        "Create Region Into Variable v 1 4 (37.0, 55.0) (37.01, 55.0) (37.01, 55.01) (37.0, "
        "55.01)\r\n"
        "Insert Into roads (obj, name) Values (v, \"Park\")\r\n"
        "Create Table utm (owner Char(10))\r\n"
        "Create Map For utm CoordSys Earth Projection 8, 104, \"m\", 27, 0, 0.9996, 500000, 0\r\n"
        "Insert Into utm (obj) Values (CreateLine(37.6, 55.7, 37.7, 55.8))\r\n"
        "Create Table plan (label Char(10))\r\n"
        "Create Map For plan CoordSys NonEarth Units \"m\" Bounds (0, 0) (1000, 1000)\r\n"
        "Set CoordSys Table plan\r\n"
        "Insert Into plan (obj, label) Values (CreateLine(0, 0, 300, 400), \"d\")\r\n"
        "Set CoordSys Table roads\r\n"
        "Map From roads\r\n"
        "Select * From roads Where lanes > 1\r\n"
        "Dim d As Float");
}

}  // namespace

// A fresh workspace costs milliseconds (GDAL and PROJ set-up), so one is reused for a batch
// of inputs: an input that fails only after others ran may need its batch to reproduce.
constexpr int kInputsPerWorkspace = 500;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static std::unique_ptr<mbhost::Host> shared;
    static int used = 0;
    if (!shared || ++used >= kInputsPerWorkspace || shared->ended()) {
        shared = std::make_unique<mbhost::Host>();
        prepare(*shared);
        used = 0;
    }
    mbhost::Host& host = *shared;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Twice: the second time the parse comes from the cache, with the numbers bound afresh.
    for (int pass = 0; pass < 2 && !host.ended(); ++pass) {
        try {
            if (data[0] % 2 == 0) {
                host.eval(text);
            } else {
                host.execute(text);
            }
        } catch (const mbhost::HostFailure&) {
            // the expected answer to bad text
        }
    }
    return 0;
}
