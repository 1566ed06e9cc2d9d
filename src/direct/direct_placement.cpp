#include "direct/direct_placement.h"

#include <algorithm>
#include <cctype>

#include "direct/each_part.h"
#include "direct/unplaceable.h"
#include "foundation/host_number.h"
#include "foundation/run_time_error.h"
#include "mbhost/lexer.h"

namespace veltrano {

namespace {

constexpr const char* kSource = "direct placement";

[[noreturn]] void noSuch(const std::string& what) {
    throw RunTimeError(err::kSubscriptOutOfRange, "Subscript out of range: " + what, kSource);
}

}  // namespace

std::int32_t DirectPlacement::selectedCount() {
    const mbhost::Table* selection = host_.workspace().selection();
    return selection ? selection->rowCount() : 0;
}

std::string DirectPlacement::first() {
    selection_ = host_.workspace().selection();
    measuredRow_ = 0;
    moveTo(1);
    return selection_ ? selection_->name() : std::string();
}

void DirectPlacement::moveTo(std::int32_t rowId) {
    cursor_ = 0;
    if (!selection_) return;
    for (std::int32_t id = rowId; id <= selection_->lastRowId(); ++id) {
        if (selection_->row(id)) {
            cursor_ = id;
            return;
        }
    }
}

ObjectPlacement DirectPlacement::placeCurrent(const PlacementRequest& request) {
    auto why = skipReason();
    if (!why) why = unmeasurable();
    if (why) {
        ObjectPlacement skipped;
        skipped.unreached = std::move(*why);
        return skipped;
    }
    if (!eachPart_) return placeAlongObject(*this, request, messages_);
    const mbhost::Row* row = selection_ ? selection_->row(cursor_) : nullptr;
    const mbhost::GeometryPtr path = row ? pathOf(row->object) : nullptr;
    const auto parts =
        static_cast<std::int32_t>(path ? std::max<std::size_t>(path->parts.size(), 1) : 1);
    const ObjectPlacement placed = placeEachPart(parts, [&](std::int32_t part) {
        part_ = part;
        return placeAlongObject(*this, request, messages_);
    });
    part_ = 0;
    return placed;
}

// A projected object with a point that has no longitude and latitude cannot be measured: the
// row is skipped, as one with a coordinate out of range is, and the walk goes on.
std::optional<std::string> DirectPlacement::unmeasurable() {
    if (!selection_ || !selection_->mappable()) return std::nullopt;
    holdObject(selection_->name());
    if (!whole_) return std::nullopt;
    try {
        edges();
    } catch (const mbhost::MapBasicError& e) {
        std::string reason = e.description();
        if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(reason[0]));
        return "out of range: " + reason;
    }
    return std::nullopt;
}

// What the store said of an object it could not read, else what the walk cannot follow.
std::optional<std::string> DirectPlacement::skipReason() const {
    const mbhost::Row* row = selection_ ? selection_->row(cursor_) : nullptr;
    if (!row || !selection_->mappable()) return std::nullopt;  // the engine says why
    if (!row->object) {
        const mbhost::Table* base = host_.workspace().tables.find(selection_->sourceKey);
        const auto place = static_cast<std::size_t>(cursor_ - 1);
        if (base && place < selection_->sourceRows.size()) {
            const auto& unread = base->data().unreadObjects;
            const auto found = unread.find(selection_->sourceRows[place]);
            if (found != unread.end()) return "unreadable object: " + found->second;
        }
    }
    return unplaceable(pathOf(row->object).get(), *selection_->coordSys());
}

bool DirectPlacement::next() {
    moveTo(cursor_ + 1);
    return cursor_ != 0;
}

const mbhost::Table& DirectPlacement::table(const std::string& name) const {
    const mbhost::Table* found = host_.workspace().findTable(name);
    if (!found)
        throw RunTimeError(err::kAutomationFailure, "Table " + name + " is not open", kSource);
    return *found;
}

std::string DirectPlacement::tableName(const std::string& name) {
    const mbhost::Table* found = host_.workspace().findTable(name);
    return found ? found->name() : std::string();
}

// As the host answers TableInfo(t, 29).
std::string DirectPlacement::coordSysClause(const std::string& name) {
    const mbhost::Table& t = table(name);
    return t.mappable() ? "CoordSys " + t.coordSys()->clause() : std::string();
}

bool DirectPlacement::outputHasColumn(const std::string&, const std::string& column) {
    return sink_.hasColumn(column);
}

std::int32_t DirectPlacement::sourceRowId(const std::string&) {
    return cursor_;
}

void DirectPlacement::holdObject(const std::string& name) {
    const mbhost::Table& t = table(name);
    const mbhost::Row* row = t.row(cursor_);
    whole_ = row ? pathOf(row->object) : nullptr;
    object_ = whole_ && part_ > 0 ? partOf(whole_, part_) : whole_;
    coordSys_ = t.coordSys();
    previousAt_ = currentAt_ = {};
    if (measuredRow_ != cursor_) edges_.reset();
}

// The walk asks for every edge, node by node, and then for the whole length: measured at the
// first question, each section's nodes projected in one call, once a row however its parts
// are walked.
const std::vector<std::vector<double>>& DirectPlacement::edges() {
    if (!edges_) {
        measuredRow_ = cursor_;
        edges_.emplace();
        for (const auto& part : whole_->parts) {
            edges_->push_back(measurer_.edgeLengths(*coordSys_, part, edgesClosed()));
        }
    }
    return *edges_;
}

// The edges of the held object's section s: of the part held alone, its own.
const std::vector<double>& DirectPlacement::sectionEdges(std::int32_t s) {
    const auto& all = edges();
    const auto at = static_cast<std::size_t>(part_ > 0 ? part_ : s) - 1;
    if (at >= all.size()) noSuch("the object has no section " + std::to_string(s));
    return all[at];
}

bool DirectPlacement::edgesClosed() const {
    return object_->type == mbhost::ObjectType::Region;
}

// A row without an object places nothing, as a type no walk reads.
std::int32_t DirectPlacement::objectType() {
    return object_ && coordSys_ ? static_cast<std::int32_t>(object_->type) : 0;
}

void DirectPlacement::releaseObject() {
    object_.reset();
    whole_.reset();
}

InsertOutcome DirectPlacement::insertPoint(const OutputTarget& target, const PlacedPoint& point) {
    PlacedPoint placed = point;
    placed.part = part_;
    return sink_.point(target, placed);
}

InsertOutcome DirectPlacement::insertLabel(const OutputTarget& target, std::string_view label,
                                           const PlacedPoint& point, const LabelExtent& box) {
    return sink_.label(target, label, point, box);
}

const std::vector<mbhost::Point>& DirectPlacement::section(std::int32_t s) const {
    if (s < 1 || s > static_cast<std::int32_t>(object_->parts.size())) {
        noSuch("the object has no section " + std::to_string(s));
    }
    return object_->parts[static_cast<std::size_t>(s - 1)];
}

HostPoint DirectPlacement::remember(mbhost::Point p, NodeAt at) {
    previous_ = current_;
    current_ = p;
    previousAt_ = currentAt_;
    currentAt_ = at;
    return {p.x, p.y};
}

HostPoint DirectPlacement::lineEnd(bool end) {
    const auto& nodes = section(1);
    if (nodes.empty()) noSuch("the line has no nodes");
    const auto last = static_cast<std::int32_t>(nodes.size());
    return remember(end ? nodes.back() : nodes.front(), {1, end ? last : 1});
}

std::int16_t DirectPlacement::sectionCount() {
    return toInt16(static_cast<double>(object_->parts.size()));
}

std::int32_t DirectPlacement::nodeCount(std::int32_t s) {
    return static_cast<std::int32_t>(section(s).size());
}

HostPoint DirectPlacement::node(std::int32_t s, std::int32_t n) {
    const auto& nodes = section(s);
    if (n < 1 || n > static_cast<std::int32_t>(nodes.size())) {
        noSuch("section " + std::to_string(s) + " has no node " + std::to_string(n));
    }
    return remember(nodes[static_cast<std::size_t>(n - 1)], {s, n});
}

// An edge of the held object when the two points are its ends, read in order.
double DirectPlacement::distanceFromPreviousNode() {
    const auto& [s, n] = currentAt_;
    if (s > 0 && n > 1 && previousAt_.section == s && previousAt_.node == n - 1) {
        const auto& section = sectionEdges(s);
        if (static_cast<std::size_t>(n - 1) <= section.size()) {
            return section[static_cast<std::size_t>(n - 2)];
        }
    }
    return measurer_.distance(*coordSys_, previous_, current_);
}

double DirectPlacement::objectLength(bool perimeter) {
    if (perimeter == edgesClosed()) {
        return part_ > 0 ? mbhost::Measurer::sum(sectionEdges(1))
                         : mbhost::Measurer::total(edges());
    }
    mbhost::Measurer& measure = measurer_;
    return perimeter ? measure.perimeter(*coordSys_, *object_)
                     : measure.length(*coordSys_, *object_);
}

std::string DirectPlacement::measuringCoordSys(const std::string& name) {
    return coordSysClause(name);
}

double DirectPlacement::distance(double ax, double ay, double x, double y) {
    return measurer_.distance(*coordSys_, {ax, ay}, {x, y});
}

std::optional<double> longestPlaceable(mbhost::Host& host, const mbhost::Table& selection,
                                       mbhost::Measure measure) {
    std::optional<double> longest;
    if (!selection.mappable()) return longest;
    const mbhost::CoordSys& system = *selection.coordSys();
    for (std::int32_t id = 1; id <= selection.lastRowId(); ++id) {
        const mbhost::Row* row = selection.row(id);
        const mbhost::GeometryPtr path = row ? pathOf(row->object) : nullptr;
        if (!path || unplaceable(path.get(), system)) continue;
        try {
            const double length = path->type == mbhost::ObjectType::Region
                                      ? host.measurer(measure).perimeter(system, *path)
                                      : host.measurer(measure).length(system, *path);
            longest = std::max(longest.value_or(0), length);
        } catch (const mbhost::MapBasicError&) {
            // the walk skips it and says why
        }
    }
    return longest;
}

bool TableRowSink::hasColumn(std::string_view column) {
    const mbhost::Table* t = host_.workspace().findTable(table_);
    return t && t->findColumn(mbhost::toLower(column)) >= 0;
}

InsertOutcome TableRowSink::append(const OutputTarget& target, const PlacedPoint& point,
                                   mbhost::Geometry object) {
    const mbhost::Table* t = host_.workspace().findTable(table_);
    mbhost::Row row;
    row.fields.resize(t ? t->data().columns.size() : 0);
    const auto put = [&](const std::string& column, mbhost::Value value) {
        const int at = column.empty() || !t ? -1 : t->findColumn(mbhost::toLower(column));
        if (at >= 0) row.fields[static_cast<std::size_t>(at)] = std::move(value);
    };
    put(target.distColumn, mbhost::Value::real(point.dist));
    put(target.rowIdColumn, mbhost::Value::integer(point.rowId));
    row.object = std::make_shared<const mbhost::Geometry>(std::move(object));
    try {
        host_.appendRow(table_, std::move(row));
    } catch (const mbhost::HostFailure& refusal) {
        return {false, refusal.what()};
    }
    return {};
}

InsertOutcome TableRowSink::point(const OutputTarget& target, const PlacedPoint& point) {
    return append(target, point, mbhost::Geometry::point(point.x, point.y));
}

InsertOutcome TableRowSink::label(const OutputTarget&, std::string_view text,
                                  const PlacedPoint& point, const LabelExtent& box) {
    mbhost::Geometry label;
    label.type = mbhost::ObjectType::Text;
    label.parts = {{{point.x, point.y}, {point.x + box.east, point.y + box.north}}};
    label.text = std::string(text);
    return append({}, point, std::move(label));
}

}  // namespace veltrano
