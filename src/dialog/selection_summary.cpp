#include "dialog/selection_summary.h"

#include "foundation/host_codes.h"
#include "foundation/host_number.h"
#include "foundation/run_time_error.h"
#include "host/miProObj.h"
#include "placement/host_answers.h"

namespace veltrano {

namespace {
constexpr const char* kLineBreak = "\r\n";

// A length or perimeter in the regional number format; a refused request reads 0.
std::string regionalLength(const HostValue& answer, const RegionalSettings& regional) {
    double metres = 0.0;
    if (answer.isReal()) {
        metres = answer.asReal();
    } else if (answer.isWhole()) {
        metres = answer.asWhole();
    } else if (answer.isText()) {
        try {
            metres = readHostNumber(answer.asText());
        } catch (const RunTimeError&) {
            metres = 0.0;
        }
    }
    return regional.formatNumber(metres);
}

class SummaryWriter {
public:
    SummaryWriter(miProObj& host, const RegionalSettings& regional, std::string table)
        : host_(host), regional_(regional), table_(std::move(table)) {}

    std::string heading(std::int32_t count) {
        const std::string source = answerText(host_.Eval("SelectionInfo( 1)"));
        const std::string coordSys =
            answerText(host_.TableInfo(std::string_view(table_), host_code::table_info::kCoordSys));
        return "---  Selection :: [" + table_ + "] --- " + kLineBreak + std::to_string(count) +
               " Object(s) from  [" + source + "]:" + kLineBreak + coordSys + "]:" + kLineBreak;
    }

    std::string objects(std::int32_t count) {
        std::string text;
        host_.xDo("fetch first from " + table_);
        for (std::int32_t row = 1; row <= count; ++row) {
            text += objectLine(row) + kLineBreak + "  --------------- " + kLineBreak;
            host_.xDo("fetch next from " + table_);
            if (answerText(host_.Eval("EOT(" + table_ + ")")) == "T") break;
        }
        return text;
    }

private:
    std::string objectLine(std::int32_t row) {
        const std::string objectType = "Str$(" + table_ + ".obj)";
        std::string line =
            " " + std::to_string(row) + ". {" + answerText(host_.Eval(objectType)) + "}";
        const std::string type = answerText(host_.Eval(objectType));
        // One request per statement: operands of + may be evaluated in any order.
        if (type == "Region") {
            line += shape();
            line += kLineBreak + (" with Perimeter = " + length("Perimeter")) + " m";
        } else if (type == "Polyline") {
            line += shape();
            line += kLineBreak + (" with Length = " + length("ObjectLen")) + " m";
        } else if (type == "Line") {
            line += std::string(" - 2 ") + "Points in " + "1 Segment";
            line += kLineBreak + (" with Length = " + length("ObjectLen")) + " m";
        }
        return line;
    }

    // "ObjectInfo(<table>.obj, <code>)"
    std::string objectInfo(std::int32_t code) const {
        return "ObjectInfo(" + table_ + ".obj, " + std::to_string(code) + ")";
    }

    std::string shape() {
        const std::string nodes =
            answerText(host_.Eval(objectInfo(host_code::object_info::kNodeCount)));
        const std::string sections =
            answerText(host_.Eval(objectInfo(host_code::object_info::kSectionCount)));
        return " - " + nodes + " Points in " + sections + " Segment(s)";
    }

    std::string length(const std::string& function) {
        return regionalLength(host_.Eval(function + "(" + table_ + ".obj, \"m\") "), regional_);
    }

    miProObj& host_;
    const RegionalSettings& regional_;
    std::string table_;
};
}  // namespace

std::string selectionSummary(miProObj* host, const RegionalSettings& regional) {
    if (host == nullptr || !host->isLoaded()) return kNoHostSummary;
    const std::int32_t count = answerCount(host->Eval("SelectionInfo( 3) "));
    if (count == 0) return kNoSelectionSummary;
    SummaryWriter writer(*host, regional, answerText(host->Eval("SelectionInfo( 2)")));
    std::string summary = writer.heading(count);
    return summary + writer.objects(count);
}

}  // namespace veltrano
