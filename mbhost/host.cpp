#include "mbhost/host.h"

#include <new>
#include <stdexcept>

#include "foundation/utf8.h"
#include "mbhost/evaluator.h"
#include "mbhost/number_format.h"
#include "mbhost/parser.h"
#include "mbhost/shape_cache.h"
#include "mbhost/statements.h"

namespace mbhost {

namespace errc {
inline constexpr std::int32_t kInternal = 1099;
}

// Enough for every shape a long placement run sends (a few dozen a line, as each line gets a
// fresh variable name).
struct Host::ParseCache {
    ShapeCache<Expr> expressions{kParseCacheEntries};
    ShapeCache<Program> programs{kParseCacheEntries};
};

Host::Host(HostIdentity identity)
    : workspace_(std::move(identity)), cache_(std::make_unique<ParseCache>()) {}

Host::~Host() = default;

template <class Action>
auto Host::guarded(Action&& action) -> decltype(action()) {
    std::int32_t code = 0;
    std::string message, reason;
    std::exception_ptr cause;
    try {
        if constexpr (std::is_void_v<decltype(action())>) {
            action();
            setLastErrorCode(0);
            return;
        } else {
            auto result = action();
            setLastErrorCode(0);
            return result;
        }
    } catch (const MapBasicError& e) {
        code = e.code();
        message = e.what();
        reason = formatDiagnostic(e.description(), {});
        cause = e.cause();
    } catch (const std::bad_alloc&) {
        code = errc::kLimit;
        message = reason = "Out of memory";
    } catch (const std::exception& e) {
        code = errc::kInternal;
        message = reason = veltrano::validUtf8(std::string("Internal error: ") + e.what());
    }
    lastErrorCode_ = code;
    lastErrorMessage_ = message;
    throw HostFailure(code, message, reason, std::move(cause));
}

// A parse shared with another text of the shape answers the same, but its messages would
// point into that text: a failure is repeated on this text's own parse, which fails the same
// way with the right positions. Expressions have no side effects, and a failed statement
// leaves the workspace as it was, so the repeat changes nothing.
std::string Host::eval(std::string_view expression) {
    return guarded([&] {
        const auto found = cache_->expressions.find(expression);
        Evaluator ev(workspace_);
        if (!found.shared) return valueText(ev.eval(*found.parsed));
        try {
            return valueText(ev.eval(*found.parsed));
        } catch (const MapBasicError&) {
            return valueText(ev.eval(*parseExpression(expression)));
        }
    });
}

void Host::execute(std::string_view statements) {
    guarded([&] {
        const auto found = cache_->programs.find(statements);
        Executor executor(workspace_);
        const auto& list = found.parsed->statements;
        std::size_t done = 0;
        try {
            for (; done < list.size(); ++done) executor.run(list[done]);
        } catch (const MapBasicError&) {
            if (!found.shared) throw;
            const Program own = parseStatements(statements);
            for (; done < own.statements.size(); ++done) executor.run(own.statements[done]);
        }
    });
}

void Host::runMenuCommand(std::int32_t command) {
    guarded([&] {
        if (command <= 0) {
            throw MapBasicError(errc::kArgumentRange,
                                "Menu command " + std::to_string(command) + " does not exist");
        }
        workspace_.lastMenuCommand = command;
    });
}

void Host::setLastErrorCode(std::int32_t code) {
    lastErrorCode_ = code;
    if (code == 0) lastErrorMessage_.clear();
}

void Host::setPrintSink(std::function<void(std::string_view)> sink) {
    workspace_.print = std::move(sink);
}

TableData TableStore::openLayer(const std::string& path, const std::string& layer) {
    throw std::runtime_error("cannot open " + path + ": this store has no layer " + layer);
}

void Host::setTableStore(std::shared_ptr<TableStore> store) {
    workspace_.store = std::move(store);
}

void Host::setMapRenderer(std::shared_ptr<MapRenderer> renderer) {
    workspace_.renderer = std::move(renderer);
}

void Host::addTable(TableData data) {
    guarded([&] { Executor(workspace_).openTable(std::move(data)); });
}

void Host::appendRow(std::string_view table, Row row) {
    guarded([&] {
        Table* t = workspace_.findTable(table);
        if (t == nullptr) {
            throw MapBasicError(errc::kTableNotOpen,
                                "Table " + std::string(table) + " is not open");
        }
        if (t->readOnly()) {
            throw MapBasicError(errc::kReadOnlyTable, "Table " + t->name() + " is read-only");
        }
        t->appendRow(std::move(row));
    });
}

}  // namespace mbhost
