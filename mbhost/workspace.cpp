#include "mbhost/workspace.h"

#include "mbhost/diagnostics.h"
#include "mbhost/lexer.h"

namespace mbhost {

Workspace::Workspace(HostIdentity id) : identity(std::move(id)) {
    session = coordSystems.defaultLatLong();
}

Table* Workspace::findTable(std::string_view name) const {
    if (equalsIgnoreCase(name, "selection")) return selection();
    return tables.find(name);
}

Table& Workspace::table(std::string_view name) const {
    Table* t = findTable(name);
    if (t == nullptr) {
        throw MapBasicError(errc::kTableNotOpen, "Table " + std::string(name) + " is not open");
    }
    return *t;
}

Table* Workspace::selection() const {
    return selectionKey.empty() ? nullptr : tables.find(selectionKey);
}

void Workspace::closeTable(const Table& table) {
    const std::string key = table.key();
    std::vector<const Table*> doomed{&table};
    for (const auto& t : tables.all()) {
        if (t->kind() == TableKind::Query && t->sourceKey == key) doomed.push_back(t.get());
    }
    for (const Table* t : doomed) {
        if (t->key() == selectionKey) selectionKey.clear();
        windows.forgetTable(t->key());
        tables.remove(*t);
    }
}

}  // namespace mbhost
