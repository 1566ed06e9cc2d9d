// The host connection object's window census, window queries and view chores.
#include <algorithm>
#include <cstdint>
#include <string>

#include "foundation/host_codes.h"
#include "foundation/number_text.h"
#include "foundation/run_time_error.h"
#include "host/miProObj.h"

namespace veltrano {

namespace {

namespace window_info = host_code::window_info;
namespace mapper_info = host_code::mapper_info;
namespace table_info = host_code::table_info;
using host_code::window_type::kButtonPad;
using host_code::window_type::kMapper;

std::string number(std::int32_t value) {
    return std::to_string(value);
}

std::int32_t difference(std::int32_t a, std::int32_t b) {
    const std::int64_t d = std::int64_t{a} - b;
    if (d < INT32_MIN || d > INT32_MAX) throw RunTimeError(err::kOverflow, {}, "miProObj");
    return static_cast<std::int32_t>(d);
}

}  // namespace

// --- Single queries ------------------------------------------------------------------

std::int32_t miProObj::queryWhole(std::string_view expression, bool reportsThroughHost) {
    lastCallFailed_ = true;
    if (!qIsLoaded()) return 0;
    try {
        const std::string text = app().Eval(expression);
        settleHostError();
        return reader_.toWhole(HostValue::text(text));
    } catch (const RunTimeError& error) {
        if (reportsThroughHost) {
            reportThroughHost(error);
        } else {
            showDescription(error);
            LastError::clear();
        }
        return 0;
    }
}

std::int32_t miProObj::NumWindows() {
    return queryWhole("NumWindows()", true);
}

std::int32_t miProObj::NumAllWindows() {
    return queryWhole("NumAllWindows()", true);
}

std::int32_t miProObj::FrontWindow() {
    return queryWhole("FrontWindow()", false);
}

std::int32_t miProObj::FrontWindowId() {
    return queryWhole("WindowId(FrontWindow() )", false);
}

std::int32_t miProObj::WindowId(std::int32_t window_num) {
    return queryWhole("WindowId(" + number(window_num) + ")", false);
}

HostValue miProObj::WindowInfo(std::int32_t window_spec, std::int32_t attr) {
    lastCallFailed_ = true;
    return queryInfo("WindowInfo(" + number(window_spec) + "," + number(attr) + ")", HostValue());
}

HostValue miProObj::MapperInfo(std::int32_t window_spec, std::int32_t attr) {
    lastCallFailed_ = true;
    if (!isLoaded() || !miApp_) return {};
    return askInfo("MapperInfo(" + number(window_spec) + "," + number(attr) + ")");
}

std::string miProObj::WindowInfoType(std::int32_t win_id) {
    if (!qIsLoaded()) return {};
    try {
        return miProWind::typeName(reader_.toWhole(WindowInfo(win_id, window_info::kType)));
    } catch (const RunTimeError& error) {
        reportThroughHost(error);
        return {};
    }
}

// --- Census --------------------------------------------------------------------------

void miProObj::RefreshWindowsInfo() {
    const bool wasConnected = connected_;
    resetState(false);
    if (!miApp_ || !wasConnected) return;
    try {
        connected_ = true;
        const std::int32_t n = NumWindows();
        hwnd_ = reader_.toWhole(SystemInfo(host_code::system_info::kMainWindow));
        countWin_ = maxWin_ = n;
        const std::int32_t all = NumAllWindows();
        minWin_ = difference(n, all);
        // Skipped only for a host without any window: equal counts of document and other
        // windows must still be read.
        if (n != 0 || all != 0) {
            if (n == 0) {
                maxWin_ = -1;
                curWinID_ = 0;
            } else {
                curWinID_ = FrontWindow();
            }
            arrWin_.recreate(minWin_, maxWin_);
            for (std::int32_t i = minWin_; i <= maxWin_; ++i) {
                readWindow(i);
                if (i == INT32_MAX) break;
            }
        }
        getAllTablesInfo();
    } catch (const RunTimeError& error) {
        showWithSource(error);
        LastError::clear();
    }
}

void miProObj::readWindow(std::int32_t i) {
    auto record = arrWin_.at(i);
    if (!record) {
        record = std::make_shared<miProWind>();
        arrWin_.set(i, record);
    }
    record->setWId(WindowId(i));
    if (record->wId() == 0) return;
    const auto whole = [&](std::int32_t attr) { return reader_.toWhole(WindowInfo(i, attr)); };
    record->setWTitle(reader_.toText(WindowInfo(i, window_info::kTitle)));
    record->setHeight(whole(window_info::kHeight));
    record->setHwnd(whole(window_info::kHandle));
    record->setLeftX(whole(window_info::kLeft));
    record->setStatus(whole(window_info::kStatus));
    record->setWidth(whole(window_info::kWidth));
    record->setWType(whole(window_info::kType));
    record->setWTypeS(WindowInfoType(i));
    if (record->wType() != kMapper) return;
    const std::int32_t id = record->wId();
    xDo("Set CoordSys  Window " + number(id) + " ");
    record->setCenterX(reader_.toWhole(MapperInfo(id, mapper_info::kCenterX)));
    record->setCenterY(reader_.toWhole(MapperInfo(id, mapper_info::kCenterY)));
    record->setMapScale(reader_.toReal(MapperInfo(id, mapper_info::kScale)));
}

std::shared_ptr<miProWind> miProObj::miWindows(std::int32_t ind) {
    if (!isLoaded() || ind < minWin_ || ind > maxWin_) return nullptr;
    return arrWin_.at(ind);
}

// --- View chores ---------------------------------------------------------------------

void miProObj::showButtonPads() {
    for (std::int32_t i = minWin_; i <= -1; ++i) {
        const auto& record = arrWin_.at(i);
        if (record && record->wType() == kButtonPad) {
            RunCommand("Alter ButtonPad  \"" + record->wTitle() + "\" show ");
        }
    }
}

void miProObj::ShowMiObj() {
    if (!qIsLoaded()) return;
    try {
        if (!app().Visible()) {
            app().SetVisible(true);
            app().Do("StatusBar  Hide ");
            app().Do("Run Menu Command " + std::to_string(host_code::kShowMenuCommand) + " ");
            showButtonPads();
        }
    } catch (const RunTimeError& error) {
        // A statement the host refused does not stop bringing it to the front.
        if (error.number() != err::kAutomationFailure) {
            reportThroughHost(error);
            return;
        }
    }
    try {
        Deattach();
        app().Do("Set Window " + std::to_string(host_code::window_type::kApplication) + " max ");
        if (IsError()) {
            msgboxErr();
            return;
        }
        activation_.activate(app().Application(), true);
        if (IsError()) msgboxErr();
    } catch (const RunTimeError& error) {
        showDescription(error);
        LastError::clear();
    }
}

namespace {

bool holdsNonZeroNumber(const HostValue& value, const AnswerReader& reader) {
    if (value.isWhole()) return value.asWhole() != 0;
    if (value.isReal()) return value.asReal() != 0.0;
    if (value.isText()) {
        const auto n = reader.numericValue(value.asText());
        return n && *n != 0.0;
    }
    return false;  // empty or null
}

bool holdsNumber(const HostValue& value, double wanted) {
    return (value.isWhole() && value.asWhole() == wanted) ||
           (value.isReal() && value.asReal() == wanted);
}

}  // namespace

void miProObj::showAllOnTable(std::int32_t wId, std::string_view tbl) {
    if (!qIsLoaded()) return;
    try {
        if (TableInfo(tbl, table_info::kName).isNull()) return;
        // Every check is asked of the host before deciding.
        const bool named = !tbl.empty();
        const HostValue rows = TableInfo(tbl, table_info::kRows);
        const HostValue mappable = TableInfo(tbl, table_info::kMappable);
        const HostValue windowType = WindowInfo(wId, window_info::kType);
        if (!(named && holdsNonZeroNumber(rows, reader_) && mappable.isText() &&
              mappable.asText() == "T" && holdsNumber(windowType, kMapper))) {
            return;
        }
        const std::string id = number(wId);
        const std::string table(tbl);
        RunCommand("set coordsys window " + id + " ");
        RunCommand(
            "Select Min(ObjectGeography( obj,1)) \"X1\",Max(ObjectGeography( obj,3)) \"X2\","
            "Min(ObjectGeography( obj,2)) \"Y1\",Max(ObjectGeography( obj,4)) \"Y2\" from \"" +
            table + "\" into temp001 noselect ");
        // Read as the host wrote them, so a decimal comma cannot cut the fraction.
        const double x1 = reader_.hostNumber(Eval("temp001.X1"));
        const double x2 = reader_.hostNumber(Eval("temp001.X2"));
        const double y1 = reader_.hostNumber(Eval("temp001.Y1"));
        const double y2 = reader_.hostNumber(Eval("temp001.Y2"));
        const double cx = (x2 + x1) / 2;
        const double cy = (y2 + y1) / 2;
        const double dx = x2 - x1;
        const double dy = y2 - y1;
        const float w = reader_.toSingle(WindowInfo(wId, window_info::kWidth));
        const float h = reader_.toSingle(WindowInfo(wId, window_info::kHeight));
        std::string statement = "set map window " + id + " center (" + generalNumberText(cx) + "," +
                                generalNumberText(cy) + ") ";
        if (dx != 0 || dy != 0) {
            if (w == 0 || h == 0) throw RunTimeError(err::kDivisionByZero, {}, "showAllOnTable");
            const double z = std::max(dx / w, dy / h);
            const double zoom = 2 * z * w;
            const HostValue units =
                Eval("MapperInfo(" + id + "," + number(mapper_info::kDistanceUnits) + ") ");
            statement +=
                " zoom " + generalNumberText(zoom) + " Units \"" + reader_.joinText(units) + "\" ";
        }
        RunCommand(statement);
        if (IsError()) msgboxErr();
        RunCommand("Close table temp001");
    } catch (const RunTimeError&) {
        LastError::clear();  // the wrapped calls have already reported what the host said
    }
}

}  // namespace veltrano
