#include "platform/qt/qt_process_start.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>

#include "foundation/run_time_error.h"
#include "platform/qt/qt_text.h"

namespace veltrano {

namespace {
constexpr std::int32_t kFileNotFound = 53;

}  // namespace

bool QtProcessStart::fileExists(std::string_view path) {
    return !path.empty() && QFileInfo(fromUtf8(path)).isFile();
}

void QtProcessStart::start(std::string_view path) {
    if (!QProcess::startDetached(fromUtf8(path), {})) {
        throw RunTimeError(kFileNotFound, "cannot start " + std::string(path), "startDetached");
    }
}

}  // namespace veltrano
