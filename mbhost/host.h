// mbhost's workspace behind a small API: evaluate MapBasic expressions, run MapBasic
// statements, report failures the way the host's automation object does.
//
// A failing eval or execute sets lastErrorCode() and lastErrorMessage() and throws
// HostFailure; the statement that failed leaves the workspace as it was (statements before
// it in the same text keep their effect; a text that does not parse runs nothing).
// Every successful call sets lastErrorCode() back to 0. Not thread-safe: one thread at a time.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "mbhost/ports.h"
#include "mbhost/table_data.h"
#include "mbhost/workspace.h"

namespace mbhost {

class HostFailure : public std::runtime_error {
public:
    // message: the reason after the place in the statement that failed, when there is one.
    HostFailure(std::int32_t code, const std::string& message, const std::string& reason,
                std::exception_ptr cause = nullptr)
        : std::runtime_error(message), code_(code), reason_(reason), cause_(std::move(cause)) {}
    std::int32_t code() const noexcept { return code_; }
    // The reason alone, for a caller whose statements are its own, not the user's.
    const std::string& reason() const noexcept { return reason_; }
    // The storage or picture port's own refusal behind the failure, null when there is none:
    // a caller that named the file otherwise words it from the refusal's parts.
    std::exception_ptr cause() const noexcept { return cause_; }

private:
    std::int32_t code_;
    std::string reason_;
    std::exception_ptr cause_;
};

// Parses kept for each of Eval and Do texts, by the text's shape (shape_cache.h).
inline constexpr std::size_t kParseCacheEntries = 4096;

class Host {
public:
    explicit Host(HostIdentity identity = {});
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // The value of a MapBasic expression as text: numbers with "." as the decimal point,
    // logical values "T" or "F", strings unquoted.
    std::string eval(std::string_view expression);
    // One or more MapBasic statements separated by CR LF (or LF).
    void execute(std::string_view statements);
    void runMenuCommand(std::int32_t command);

    std::int32_t lastErrorCode() const { return lastErrorCode_; }
    void setLastErrorCode(std::int32_t code);  // 0 clears the message too
    const std::string& lastErrorMessage() const { return lastErrorMessage_; }

    // Where Print writes (one call per Print, without a line end); unset: Print is dropped.
    void setPrintSink(std::function<void(std::string_view)> sink);
    void setTableStore(std::shared_ptr<TableStore> store);
    void setMapRenderer(std::shared_ptr<MapRenderer> renderer);

    // Opens `data` as a base table (its name is the alias, its clause says whether it is
    // mappable), as if read by Open Table. Throws HostFailure like execute.
    void addTable(TableData data);

    // Appends a row whose values the caller has made for the table's columns, as Insert
    // would; the object is in the table's system. Throws HostFailure like execute for a
    // table that is not open or is read-only.
    void appendRow(std::string_view table, Row row);
    // The measure behind Distance, ObjectLen and Perimeter, for callers in this process that
    // hold the coordinates as numbers.
    // Measure::Grid: planar lengths in the system's units instead, as the map measures them.
    Measurer& measurer(Measure measure = Measure::Ground) {
        return measure == Measure::Grid ? workspace_.gridMeasurer : workspace_.measurer;
    }

    bool visible() const { return workspace_.visible; }
    void setVisible(bool visible) { workspace_.visible = visible; }
    // True once End MapInfo has run: the process should end.
    bool ended() const { return workspace_.ended; }
    const HostIdentity& identity() const { return workspace_.identity; }
    // For inspection (tests, console, the process); change it only through execute.
    const Workspace& workspace() const { return workspace_; }

private:
    template <class Action>
    auto guarded(Action&& action) -> decltype(action());

    Workspace workspace_;
    std::int32_t lastErrorCode_ = 0;
    std::string lastErrorMessage_;
    struct ParseCache;
    std::unique_ptr<ParseCache> cache_;
};

}  // namespace mbhost
