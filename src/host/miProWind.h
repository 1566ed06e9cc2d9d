// One host window as the census last read it.
#pragma once

#include <cstdint>
#include <string>

namespace veltrano {

class miProWind {
public:
    std::int32_t wId() const { return wId_; }
    void setWId(std::int32_t v) { wId_ = v; }
    std::int32_t hwnd() const { return hwnd_; }
    void setHwnd(std::int32_t v) { hwnd_ = v; }
    std::int32_t wType() const { return wType_; }
    void setWType(std::int32_t v) { wType_ = v; }
    std::int32_t leftX() const { return leftX_; }
    void setLeftX(std::int32_t v) { leftX_ = v; }
    std::int32_t topY() const { return topY_; }  // never read from the host
    void setTopY(std::int32_t v) { topY_ = v; }
    std::int32_t width() const { return width_; }
    void setWidth(std::int32_t v) { width_ = v; }
    std::int32_t height() const { return height_; }
    void setHeight(std::int32_t v) { height_ = v; }
    std::int32_t Status() const { return Status_; }
    void setStatus(std::int32_t v) { Status_ = v; }
    const std::string& wTitle() const { return wTitle_; }
    void setWTitle(std::string v) { wTitle_ = std::move(v); }
    const std::string& wTypeS() const { return wTypeS_; }
    void setWTypeS(std::string v) { wTypeS_ = std::move(v); }
    // Map windows only: the centre in whole coordinate units and the scale.
    std::int32_t centerX() const { return centerX_; }
    void setCenterX(std::int32_t v) { centerX_ = v; }
    std::int32_t centerY() const { return centerY_; }
    void setCenterY(std::int32_t v) { centerY_ = v; }
    double mapScale() const { return mapScale_; }
    void setMapScale(double v) { mapScale_ = v; }

    // The name of a host window type code; unknown codes give "WIN_UNKOWN#" and the code.
    static std::string typeName(std::int32_t code);

private:
    std::int32_t wId_ = 0;
    std::int32_t hwnd_ = 0;
    std::int32_t wType_ = 0;
    std::int32_t leftX_ = 0;
    std::int32_t topY_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t Status_ = 0;
    std::string wTitle_;
    std::string wTypeS_;
    std::int32_t centerX_ = 0;
    std::int32_t centerY_ = 0;
    double mapScale_ = 0.0;
};

}  // namespace veltrano
