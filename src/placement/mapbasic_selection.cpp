#include "placement/mapbasic_selection.h"

#include "engine/mapbasic_placement.h"
#include "placement/host_answers.h"

namespace veltrano {

PlacementEngine mapBasicEngine(EnginePorts ports) {
    return [ports](miProObj& host, const PlacementRequest& request) {
        MapBasicPlacement port(host, ports.random, ports.timer);
        return placeAlongObject(port, request, ports.messages);
    };
}

std::int32_t MapBasicSelection::selectedCount() {
    return host_ ? answerCount(host_->Eval("SelectionInfo( 3) ")) : 0;
}

std::string MapBasicSelection::first() {
    table_ = answerText(host_->Eval("SelectionInfo( 2)"));
    host_->xDo("fetch first From " + table_);
    return table_;
}

bool MapBasicSelection::hostErrorPending() {
    return host_->IsError();
}

ObjectPlacement MapBasicSelection::placeCurrent(const PlacementRequest& request) {
    return engine_(*host_, request);
}

bool MapBasicSelection::next() {
    host_->xDo("fetch next From " + table_);
    return answerText(host_->Eval("EOT(" + table_ + ") ")) != "T";
}

}  // namespace veltrano
