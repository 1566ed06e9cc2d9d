// Parses kept by the text's shape (text_shape.h): Veltrano sends the same texts again and
// again with other numbers in them (node indices, coordinates, distances), and a text whose
// shape was seen before gets the kept parse with its own numbers bound into the literals,
// without lexing or parsing. Bounded: when full, the cache starts over.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>

#include "mbhost/parser.h"
#include "mbhost/text_shape.h"

namespace mbhost {

// Parsed: Expr (Eval texts) or Program (Do texts).
template <class Parsed>
class ShapeCache {
public:
    explicit ShapeCache(std::size_t capacity) : capacity_(capacity) {}

    // Valid until the next find: the cache is not re-entered while a parse is in use.
    struct Found {
        const Parsed* parsed = nullptr;
        // Made from another text of the shape: its source positions are that text's.
        bool shared = false;
    };

    // Longer texts are parsed for themselves and not kept, so that the cache stays within
    // tens of megabytes whatever is sent; Veltrano's texts are far shorter.
    static constexpr std::size_t kLongestKept = 8192;

    // The parse of `text`, with text's numbers in it. Throws as the parser does.
    Found find(std::string_view text) {
        if (text.size() > kLongestKept || !shapeOf(text, shape_)) {
            NumberLiterals ignored;
            unshaped_ = owned(parse(text, ignored));
            return {unshaped_.get(), false};
        }
        const auto it = entries_.find(std::string_view(shape_.key));
        if (it != entries_.end()) {
            Entry& entry = it->second;
            if (entry.numbers.complete) return {bind(entry), true};
            if (entry.text == text) return {entry.parsed.get(), false};
        }
        Entry entry;
        entry.parsed = owned(parse(text, entry.numbers));
        entry.numbers.complete =
            entry.numbers.complete && entry.numbers.slots.size() == shape_.numbers.size();
        if (!entry.numbers.complete) entry.text = text;
        if (it != entries_.end()) {
            it->second = std::move(entry);
            return {it->second.parsed.get(), false};
        }
        if (entries_.size() >= capacity_) entries_.clear();
        return {entries_.emplace(shape_.key, std::move(entry)).first->second.parsed.get(), false};
    }

private:
    struct Entry {
        std::unique_ptr<Parsed> parsed;
        NumberLiterals numbers;
        std::string text;  // a parse that holds numbers of its own: the text it was made of
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const {
            return std::hash<std::string_view>{}(key);
        }
    };

    static auto parse(std::string_view text, NumberLiterals& numbers) {
        if constexpr (std::is_same_v<Parsed, Expr>) {
            return parseExpression(text, numbers);
        } else {
            return parseStatements(text, numbers);
        }
    }
    static std::unique_ptr<Parsed> owned(std::unique_ptr<Parsed> parsed) { return parsed; }
    static std::unique_ptr<Parsed> owned(Parsed parsed) {
        return std::make_unique<Parsed>(std::move(parsed));
    }

    const Parsed* bind(Entry& entry) const {
        for (std::size_t i = 0; i < shape_.numbers.size(); ++i) {
            Value& literal = entry.numbers.slots[i]->literal;
            const double v = shape_.numbers[i];
            literal = literal.kind() == ValueKind::Integer
                          ? Value::integer(static_cast<std::int64_t>(v))
                          : Value::real(v);
        }
        return entry.parsed.get();
    }

    std::size_t capacity_;
    std::unordered_map<std::string, Entry, KeyHash, std::equal_to<>> entries_;
    TextShape shape_;
    std::unique_ptr<Parsed> unshaped_;  // the last text without a shape, parsed for itself
};

}  // namespace mbhost
