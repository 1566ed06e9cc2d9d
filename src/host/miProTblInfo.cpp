#include "host/miProTblInfo.h"

#include "foundation/host_codes.h"
#include "host/answer_reader.h"
#include "host/miProObj.h"

namespace veltrano {

namespace {

using namespace host_code::table_info;

}  // namespace

std::string miProTblInfo::typeName(std::int32_t code) {
    switch (code) {
        case 1:
        case 3:
            return "TAB_TYPE_BASE";
        case 2:
            return "TAB_TYPE_QUERY";
        case 4:
            return "TAB_TYPE_IMAGE";
        case 5:
            return "TAB_TYPE_VIEW";
        case 6:
            return "TAB_TYPE_WMS";
        case 7:
            return "TAB_TYPE_WFS";
        case 8:
            return "TAB_TYPE_FME";
        default:
            return "TAB_TYPE_UNKNOWN";
    }
}

void miProTblInfo::GetMiTabInfo(miProObj& ObjMI, std::int32_t id) {
    const std::int32_t n = ObjMI.NumTables();
    if (!(id > 0 && id <= n)) {
        setOutOfRange();
        return;
    }
    const AnswerReader& reader = ObjMI.answerReader();
    const auto text = [&](std::int32_t attr) { return reader.toText(ObjMI.TableInfo(id, attr)); };
    const auto whole = [&](std::int32_t attr) { return reader.toWhole(ObjMI.TableInfo(id, attr)); };
    const auto flag = [&](std::int32_t attr) { return upperCase(text(attr)) == "T"; };
    // Bounds are read as the host wrote them, so a decimal comma cannot cut the fraction.
    const auto bound = [&](std::int32_t attr) {
        return reader.hostNumber(ObjMI.TableInfo(id, attr));
    };

    tName_ = text(kName);
    tNum_ = whole(kNumber);
    tNCOLS_ = whole(kColumns);
    tNROWS_ = whole(kRows);
    tPath_ = text(kPath);
    tIsGeoMap_ = flag(kMappable);
    tCoordsys_ = tIsGeoMap_ ? text(kCoordSys) : std::string();
    tIsReadOnly_ = flag(kReadOnly);
    tIsTemp_ = flag(kTemporary);
    tMBR_minX_ = bound(kMinX);
    tMBR_minY_ = bound(kMinY);
    tMBR_maxX_ = bound(kMaxX);
    tMBR_maxY_ = bound(kMaxY);
    tType_ = typeName(whole(kType));
}

void miProTblInfo::setOutOfRange() {
    tName_.clear();
    tNum_ = tNCOLS_ = tNROWS_ = kNoTable;
    tType_.clear();
    tPath_.clear();
    tIsGeoMap_ = false;
    tCoordsys_.clear();
    tIsReadOnly_ = false;
    tIsTemp_ = false;
    tMBR_minX_ = tMBR_minY_ = tMBR_maxX_ = tMBR_maxY_ = 0.0;
}

}  // namespace veltrano
