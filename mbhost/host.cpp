#include "mbhost/host.h"

#include <new>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "foundation/utf8.h"
#include "mbhost/evaluator.h"
#include "mbhost/number_format.h"
#include "mbhost/parser.h"
#include "mbhost/statements.h"

namespace mbhost {

namespace errc {
inline constexpr std::int32_t kInternal = 1099;
}

// Parsed texts by their exact wording: Veltrano repeats many texts (node and count requests,
// selection and cursor statements), and a hit skips lexing and parsing. Texts that carry
// fresh numbers every time (distances between computed points) would only churn the cache,
// so a text is kept from its second sighting on.
struct Host::ParseCache {
    // Enough for every repeated text of a long placement run; when full the cache starts over
    // rather than growing.
    static constexpr std::size_t kMaxEntries = 4096;
    static constexpr std::size_t kMaxSightings = 16384;

    std::unordered_map<std::string, std::shared_ptr<const Expr>> expressions;
    std::unordered_map<std::string, std::shared_ptr<const Program>> programs;
    std::unordered_set<std::size_t> seenOnce;  // hashes of texts parsed once, not kept

    template <class Map, class Parse>
    auto lookUp(Map& map, std::string_view text, Parse parse) {
        if (auto it = map.find(std::string(text)); it != map.end()) return it->second;
        auto parsed = parse(text);
        const std::size_t hash = std::hash<std::string_view>{}(text);
        if (seenOnce.insert(hash).second) {
            if (seenOnce.size() >= kMaxSightings) seenOnce.clear();
            return parsed;
        }
        if (map.size() >= kMaxEntries) map.clear();
        map.emplace(std::string(text), parsed);
        return parsed;
    }

    std::shared_ptr<const Expr> expression(std::string_view text) {
        return lookUp(expressions, text, [](std::string_view t) {
            return std::shared_ptr<const Expr>(parseExpression(t));
        });
    }
    std::shared_ptr<const Program> program(std::string_view text) {
        return lookUp(programs, text, [](std::string_view t) {
            return std::make_shared<const Program>(parseStatements(t));
        });
    }
};

Host::Host(HostIdentity identity)
    : workspace_(std::move(identity)), cache_(std::make_unique<ParseCache>()) {}

Host::~Host() = default;

template <class Action>
auto Host::guarded(Action&& action) -> decltype(action()) {
    std::int32_t code = 0;
    std::string message;
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
    } catch (const std::bad_alloc&) {
        code = errc::kLimit;
        message = "Out of memory";
    } catch (const std::exception& e) {
        code = errc::kInternal;
        message = veltrano::validUtf8(std::string("Internal error: ") + e.what());
    }
    lastErrorCode_ = code;
    lastErrorMessage_ = message;
    throw HostFailure(code, message);
}

std::string Host::eval(std::string_view expression) {
    return guarded([&] {
        const auto expr = cache_->expression(expression);
        Evaluator ev(workspace_);
        return valueText(ev.eval(*expr));
    });
}

void Host::execute(std::string_view statements) {
    guarded([&] {
        const auto program = cache_->program(statements);
        Executor executor(workspace_);
        for (const Statement& s : program->statements) executor.run(s);
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

}  // namespace mbhost
