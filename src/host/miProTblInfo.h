// One host table as the host link last read it.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano {

class miProObj;

class miProTblInfo {
public:
    // Reads every attribute of host table number id through ObjMI. An id outside 1 to the
    // host's table count leaves the out-of-range values: -9999 counts, empty texts, false
    // flags and zero bounds. Failures (including a host that has gone) reach the caller as
    // RunTimeError.
    void GetMiTabInfo(miProObj& ObjMI, std::int32_t id);

    const std::string& tName() const { return tName_; }
    void setTName(std::string v) { tName_ = std::move(v); }
    std::int32_t tNum() const { return tNum_; }
    void setTNum(std::int32_t v) { tNum_ = v; }
    std::int32_t tNCOLS() const { return tNCOLS_; }
    void setTNCOLS(std::int32_t v) { tNCOLS_ = v; }
    std::int32_t tNROWS() const { return tNROWS_; }
    void setTNROWS(std::int32_t v) { tNROWS_ = v; }
    const std::string& tType() const { return tType_; }
    void setTType(std::string v) { tType_ = std::move(v); }
    const std::string& tPath() const { return tPath_; }
    void setTPath(std::string v) { tPath_ = std::move(v); }
    bool tIsGeoMap() const { return tIsGeoMap_; }
    void setTIsGeoMap(bool v) { tIsGeoMap_ = v; }
    const std::string& tCoordsys() const { return tCoordsys_; }
    void setTCoordsys(std::string v) { tCoordsys_ = std::move(v); }
    bool tIsReadOnly() const { return tIsReadOnly_; }
    void setTIsReadOnly(bool v) { tIsReadOnly_ = v; }
    bool tIsTemp() const { return tIsTemp_; }
    void setTIsTemp(bool v) { tIsTemp_ = v; }
    double tMBR_minX() const { return tMBR_minX_; }
    void setTMBR_minX(double v) { tMBR_minX_ = v; }
    double tMBR_minY() const { return tMBR_minY_; }
    void setTMBR_minY(double v) { tMBR_minY_ = v; }
    double tMBR_maxX() const { return tMBR_maxX_; }
    void setTMBR_maxX(double v) { tMBR_maxX_ = v; }
    double tMBR_maxY() const { return tMBR_maxY_; }
    void setTMBR_maxY(double v) { tMBR_maxY_ = v; }

    // The type name for a host table type code (1 and 3 are both base tables).
    static std::string typeName(std::int32_t code);

    // The value of the counts when the table number is out of range.
    static constexpr std::int32_t kNoTable = -9999;

private:
    void setOutOfRange();

    std::string tName_;
    std::int32_t tNum_ = 0;
    std::int32_t tNCOLS_ = 0;
    std::int32_t tNROWS_ = 0;
    std::string tType_;
    std::string tPath_;
    bool tIsGeoMap_ = false;
    std::string tCoordsys_;
    bool tIsReadOnly_ = false;
    bool tIsTemp_ = false;
    double tMBR_minX_ = 0.0;
    double tMBR_minY_ = 0.0;
    double tMBR_maxX_ = 0.0;
    double tMBR_maxY_ = 0.0;
};

}  // namespace veltrano
