#include "platform/qt/qt_process_start.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>

#include "foundation/run_time_error.h"

namespace veltrano {

namespace {
constexpr std::int32_t kFileNotFound = 53;

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
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
