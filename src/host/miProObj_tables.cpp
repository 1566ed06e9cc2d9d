// The host connection object's questions about the host's tables.
#include <string>

#include "foundation/host_codes.h"
#include "foundation/run_time_error.h"
#include "host/answer_reader.h"
#include "host/miProObj.h"

namespace veltrano {

namespace {

namespace table_info = host_code::table_info;

bool isZero(const HostValue& value) {
    return value.isEmpty() || (value.isWhole() && value.asWhole() == 0) ||
           (value.isReal() && value.asReal() == 0.0);
}

std::string quoted(std::string_view text) {
    // Built by appending: GCC 12 at -O3 warns falsely on "\"" + std::string(...).
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    out += text;
    out += '"';
    return out;
}

}  // namespace

HostValue miProObj::TableInfo(const HostValue& table_id, std::int32_t attr) {
    lastCallFailed_ = true;
    if (!qIsLoaded()) return HostValue::null();
    try {
        if (table_id.isText() && table_id.asText() == "Selection") {
            // Nothing selected: the selection table has no attributes to ask for.
            if (isZero(Eval("SelectionInfo( 3) "))) return HostValue::null();
            lastCallFailed_ = true;
        }
        const std::string text =
            app().Eval("TableInfo(" + reader_.toText(table_id) + "," + std::to_string(attr) + ") ");
        settleHostError();
        return reader_.infoAnswer(text);
    } catch (const RunTimeError& error) {
        reportThroughHost(error);
        return HostValue::null();
    }
}

HostValue miProObj::TableInfo(std::string_view tableName, std::int32_t attr) {
    return TableInfo(HostValue::text(std::string(tableName)), attr);
}

HostValue miProObj::TableInfo(std::int32_t tableNumber, std::int32_t attr) {
    return TableInfo(HostValue::whole(tableNumber), attr);
}

std::int32_t miProObj::NumTables() {
    countTbl_ = qIsLoaded() ? reader_.toWhole(HostValue::text(app().Eval("NumTables()"))) : 0;
    return countTbl_;
}

std::int32_t miProObj::getAllTablesInfo(TableList* vArr) {
    try {
        const std::int32_t n = reader_.toWhole(Eval("NumTables()"));
        arrTbl_.recreate(0, n);
        for (std::int32_t i = 1; i <= n; ++i) {
            auto record = std::make_shared<miProTblInfo>();
            arrTbl_.set(i, record);
            record->GetMiTabInfo(*this, i);
        }
        if (vArr) *vArr = arrTbl_.slots();
        return n;
    } catch (const RunTimeError& error) {
        showWithSource(error);
        LastError::clear();
        return -1;
    }
}

std::shared_ptr<miProTblInfo> miProObj::TablesInfo(std::int32_t ind) {
    if (!isLoaded() || ind < 1 || ind > arrTbl_.upper()) return nullptr;
    const auto& record = arrTbl_.at(ind);
    if (!record) throw RunTimeError(err::kObjectNotSet, {}, "miProObj.TablesInfo");
    record->GetMiTabInfo(*this, ind);
    return record;
}

std::int32_t miProObj::TableNROWS(const HostValue& tab_id) {
    if (!connected_ || !miApp_) return -1;
    std::int32_t result = -1;
    try {
        std::string name;
        if (tab_id.isText()) {
            name = tab_id.asText();
        } else {
            app().SetLastErrorCode(0);
            name = app().Eval("TableInfo(" + reader_.toText(tab_id) + "," + "1" + ")");
            if (app().LastErrorCode() != 0) return -1;
        }
        const std::string scratchPath = app().Eval("TempFileName$(\"\")");
        const std::string scratch = app().Eval("PathToTableName$(" + quoted(scratchPath) + " ) ");
        app().Do("select Count(*) from " + name + " into " + scratch + " Noselect ");
        app().Do("Fetch first from " + scratch);
        const std::string count = app().Eval("Str$(" + scratch + ".COL1)");
        if (reader_.isNumeric(count)) result = reader_.toWhole(HostValue::text(count));
        app().Do("close table " + scratch);
        return result;
    } catch (const RunTimeError&) {
        LastError::clear();  // silent by design: callers only see -1
        return -1;
    }
}

std::int32_t miProObj::openTable(std::string_view tblPath, std::string_view tblOpenAttibutes,
                                 std::string_view tblAliasName) {
    if (!isLoaded() || tblPath.empty()) return -1;
    std::string statement = "Open table " + quoted(tblPath) + " ";
    if (!tblAliasName.empty()) statement += "As  " + std::string(tblAliasName) + " ";
    statement += tblOpenAttibutes.empty() ? std::string("View Automatic ")
                                          : std::string(tblOpenAttibutes) + " ";
    RunCommand(statement);
    if (IsError()) {
        msgboxErr();
        return -1;
    }
    // Compared without touching the caller's text.
    const std::string wanted = upperCase(tblPath);
    const std::int32_t n = NumTables();
    for (std::int32_t i = 1; i <= n; ++i) {
        if (upperCase(reader_.toText(TableInfo(i, table_info::kPath))) == wanted) return i;
    }
    return -1;
}

std::int32_t miProObj::makeSelection(std::string_view tbl, std::string_view crit,
                                     std::string_view outTbl) {
    std::int32_t result = -1;
    if (!qIsLoaded() || tbl.empty() || crit.empty()) return result;
    try {
        RunCommand("select * from " + quoted(tbl) + " where " + std::string(crit) + "  into " +
                   std::string(outTbl) + " ");
        if (!IsError()) {
            const HostValue mappable = TableInfo(outTbl, table_info::kMappable);
            if (mappable.isText() && mappable.asText() == "T") {
                result = reader_.toWhole(TableInfo(outTbl, table_info::kRows));
            } else {
                result = 0;
            }
        }
    } catch (const RunTimeError&) {
        LastError::clear();
    }
    return result;
}

}  // namespace veltrano
