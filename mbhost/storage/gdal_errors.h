// GDAL's error messages turned into reasons a client can show: kept off the console, valid
// UTF-8, and without the stale "Success" some drivers append from an errno that was never set.
#pragma once

#include <string>

#include "mbhost/storage/storage_error.h"

namespace mbhost::gdal {

// Silences GDAL's error printing for its lifetime and starts from no error.
class QuietGdal {
public:
    QuietGdal();
    ~QuietGdal();
    QuietGdal(const QuietGdal&) = delete;
    QuietGdal& operator=(const QuietGdal&) = delete;

    // GDAL's last message made readable, or otherwise when it has none.
    static std::string lastMessage(const std::string& otherwise);
};

// text as valid UTF-8 (read as Latin-1 when it is not) with a meaningless errno text dropped.
std::string readableReason(const std::string& text);

}  // namespace mbhost::gdal
