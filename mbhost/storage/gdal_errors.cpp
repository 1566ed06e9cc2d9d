#include "mbhost/storage/gdal_errors.h"

#include <cpl_error.h>
#include <cpl_string.h>

namespace mbhost::gdal {

QuietGdal::QuietGdal() {
    CPLPushErrorHandler(CPLQuietErrorHandler);
    CPLErrorReset();
}

QuietGdal::~QuietGdal() {
    CPLPopErrorHandler();
}

std::string QuietGdal::lastMessage(const std::string& otherwise) {
    const char* message = CPLGetLastErrorMsg();
    return message && *message ? readableReason(message) : otherwise;
}

std::string readableReason(const std::string& text) {
    std::string reason = text;
    if (!CPLIsUTF8(reason.c_str(), static_cast<int>(reason.size()))) {
        char* recoded = CPLRecode(reason.c_str(), CPL_ENC_ISO8859_1, CPL_ENC_UTF8);
        reason = recoded;
        CPLFree(recoded);
    }
    // Shapelib reports a short .shx with strerror(errno) while errno is still 0.
    for (const char* stale : {": Success.", ": Success"}) {
        const std::string suffix = stale;
        if (reason.size() > suffix.size() &&
            reason.compare(reason.size() - suffix.size(), suffix.size(), suffix) == 0) {
            reason.resize(reason.size() - suffix.size());
            reason += " (the file is damaged)";
            break;
        }
    }
    // GDAL's SQLite drivers quote the whole statement that failed, kilobytes of it for the
    // GeoPackage's set-up: the reason is what follows it.
    const std::string failed = ") failed: ";
    if (const auto at = reason.rfind(failed);
        reason.rfind("sqlite3_exec(", 0) == 0 && at != std::string::npos) {
        reason.erase(0, at + failed.size());
    }
    return reason;
}

}  // namespace mbhost::gdal
