#include "workspace_dump.h"

#include <map>
#include <sstream>

#include "mbhost/number_format.h"

namespace mbhost::testing {

namespace {

void dump(std::ostream& out, const Geometry& g) {
    out << objectTypeName(g.type) << "[";
    for (const auto& part : g.parts) {
        out << "(";
        for (const Point& p : part) out << realText(p.x) << " " << realText(p.y) << ";";
        out << ")";
    }
    out << g.text;
    for (const auto& m : g.members) dump(out, m);
    out << "]";
}

void dump(std::ostream& out, const Value& v) {
    if (v.kind() != ValueKind::Object) {
        out << static_cast<int>(v.kind()) << ":" << valueText(v);
        return;
    }
    const ObjectValue& o = v.asObject();
    if (o.geometry) dump(out, *o.geometry);
    out << " in " << (o.coordSys ? o.coordSys->clause() : "?");
}

}  // namespace

std::string dumpWorkspace(const Workspace& ws) {
    std::ostringstream out;
    out << "session " << ws.session->clause() << "\nselection " << ws.selectionKey << " next query "
        << ws.nextQueryNumber << "\n";
    for (const auto& t : ws.tables.all()) {
        out << "table " << t->name() << " kind " << static_cast<int>(t->kind()) << " cs "
            << t->data().coordSysClause << " path " << t->data().path << " cursor " << t->cursor()
            << " eot " << t->eot() << " edited " << t->edited() << " source " << t->sourceKey
            << "\n";
        for (const auto& c : t->data().columns)
            out << "  column " << c.name << " " << columnTypeText(c) << "\n";
        for (const auto& r : t->data().rows) {
            out << "  row" << (r.deleted ? " deleted" : "") << ":";
            for (const auto& f : r.fields) dump(out << " ", f);
            if (r.object) dump(out << " obj ", *r.object);
            out << "\n";
        }
    }
    for (const auto& [key, v] :
         std::map<std::string, Variable>(ws.variables.begin(), ws.variables.end())) {
        out << "variable " << v.name << " " << static_cast<int>(v.type) << " ";
        dump(out, v.value);
        out << "\n";
    }
    for (const auto& w : ws.windows.documents()) {
        out << "window " << w.id << " " << w.type << " " << w.title << " state " << w.state
            << " centre " << realText(w.center.x) << " " << realText(w.center.y) << " zoom "
            << realText(w.zoomMetres) << "\n";
    }
    for (const auto& p : ws.windows.pads())
        out << "pad " << p.title << " shown " << p.shown << "\n";
    out << "front " << ws.windows.frontWindow() << " statusbar " << ws.statusBarShown << " ended "
        << ws.ended << " app window " << ws.applicationWindow << " menu " << ws.lastMenuCommand
        << "\n";
    return out.str();
}

}  // namespace mbhost::testing
