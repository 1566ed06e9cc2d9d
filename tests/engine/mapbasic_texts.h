// The MapBasic texts the engine sends for one object's geometry, written out by hand (apart
// from the engine) and shared by the scripted-host and the mbhost tests.
#pragma once

#include <string>

namespace mapbasic_text {

inline const std::string kPicture = "\"#0.######################E+00\"";

inline std::string distance(const std::string& x1, const std::string& y1, const std::string& x2,
                            const std::string& y2) {
    return "Format$(Distance(" + x1 + ", " + y1 + ", " + x2 + "," + y2 + ",\"m\")," + kPicture +
           ")";
}
inline std::string length(const std::string& obj) {
    return "Format$(ObjectLen(" + obj + ",\"m\")," + kPicture + ")";
}
inline std::string lineEnd(const std::string& obj, int a, int b) {
    return "format$(ObjectGeography( " + obj + ", " + std::to_string(a) + ")," + kPicture +
           ") + \";\" + format$(ObjectGeography( " + obj + ", " + std::to_string(b) + ")," +
           kPicture + " )";
}

}  // namespace mapbasic_text
