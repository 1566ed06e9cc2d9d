#include "host/miProWind.h"

namespace veltrano {

std::string miProWind::typeName(std::int32_t code) {
    switch (code) {
        case 1:
            return "WIN_MAPPER";
        case 2:
            return "WIN_BROWSER";
        case 3:
            return "WIN_LAYOUT";
        case 4:
            return "WIN_GRAPH";
        case 19:
            return "WIN_BUTTONPAD";
        case 25:
            return "WIN_TOOLBAR";
        case 27:
            return "WIN_CART_LEGEND";
        case 28:
            return "WIN_3DMAP";
        case 1001:
            return "WIN_HELP";
        case 1002:
            return "WIN_MAPBASIC";
        case 1003:
            return "WIN_MESSAGE";
        case 1007:
            return "WIN_RULER";
        case 1008:
            return "WIN_INFO";
        case 1009:
            return "WIN_LEGEND";
        case 1010:
            return "WIN_STATISTICS";
        case 1011:
            return "WIN_MAPINFO";
        default:
            // Spelled as the program has always shown it.
            return "WIN_UNKOWN#" + std::to_string(code);
    }
}

}  // namespace veltrano
