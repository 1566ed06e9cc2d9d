#include "workspace_dump.h"

#include <map>
#include <sstream>

#include "mbhost/number_format.h"

namespace mbhost::testing {

namespace {

void dumpGeometry(std::ostringstream& out, const Geometry& g) {
    out << objectTypeName(g.type) << "[";
    for (const auto& part : g.parts) {
        out << "(";
        for (const Point& p : part) out << realText(p.x) << " " << realText(p.y) << ";";
        out << ")";
    }
    out << g.text;
    for (const auto& m : g.members) dumpGeometry(out, m);
    out << "]";
}

void dumpValue(std::ostringstream& out, const Value& v) {
    if (v.kind() == ValueKind::Object) {
        const ObjectValue& o = v.asObject();
        if (o.geometry) dumpGeometry(out, *o.geometry);
        out << " in " << (o.coordSys ? o.coordSys->clause() : "?");
        return;
    }
    out << static_cast<int>(v.kind()) << ":" << valueText(v);
}

}  // namespace

std::string dumpWorkspace(const Workspace& ws) {
    std::ostringstream out;
    out << "session " << ws.session->clause() << "\n";
    out << "selection " << ws.selectionKey << " next query " << ws.nextQueryNumber << "\n";
    for (const auto& t : ws.tables.all()) {
        out << "table " << t->name() << " kind " << static_cast<int>(t->kind()) << " cs "
            << t->data().coordSysClause << " path " << t->data().path << " cursor " << t->cursor()
            << " eot " << t->eot() << " edited " << t->edited() << " source " << t->sourceKey
            << "\n";
        for (const auto& c : t->data().columns)
            out << "  column " << c.name << " " << columnTypeText(c) << "\n";
        for (const auto& r : t->data().rows) {
            out << "  row" << (r.deleted ? " deleted" : "") << ":";
            for (const auto& f : r.fields) {
                out << " ";
                dumpValue(out, f);
            }
            if (r.object) {
                out << " obj ";
                dumpGeometry(out, *r.object);
            }
            out << "\n";
        }
    }
    const std::map<std::string, Variable> variables(ws.variables.begin(), ws.variables.end());
    for (const auto& [key, v] : variables) {
        out << "variable " << v.name << " " << static_cast<int>(v.type) << " ";
        dumpValue(out, v.value);
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
