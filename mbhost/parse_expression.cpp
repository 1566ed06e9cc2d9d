// The expression rules, one per precedence level from Or down to a single value.
#include <optional>
#include <span>

#include "mbhost/functions.h"
#include "mbhost/parser.h"
#include "mbhost/parser_detail.h"

namespace mbhost::detail {

namespace {

struct OperatorText {
    std::string_view text;  // a symbol, or a word compared ignoring case
    Op op;
};
constexpr OperatorText kComparisons[] = {
    {"=", Op::Equal},      {"<>", Op::NotEqual},     {"<", Op::Less},   {">", Op::Greater},
    {"<=", Op::LessEqual}, {">=", Op::GreaterEqual}, {"Like", Op::Like}};
constexpr OperatorText kAdditive[] = {{"+", Op::Add}, {"-", Op::Subtract}, {"&", Op::Concat}};
constexpr OperatorText kMultiplicative[] = {
    {"*", Op::Multiply}, {"/", Op::Divide}, {"\\", Op::IntDivide}, {"Mod", Op::Mod}};

// The operator of one precedence level that `t` is, if it is one.
std::optional<Op> operatorOf(const Token& t, std::span<const OperatorText> ops) {
    for (const auto& candidate : ops) {
        if (t.isSymbol(candidate.text) || t.isWord(candidate.text)) return candidate.op;
    }
    return std::nullopt;
}

}  // namespace

// A chain of n operators builds a tree n deep, so each operator counts as one level.
struct Parser::ChainGuard {
    explicit ChainGuard(Parser& p) : parser(p) {}
    void link() {
        ++links;
        if (++parser.depth_ > kMaxNesting) parser.fail(errc::kLimit, "Expression too long");
    }
    ~ChainGuard() { parser.depth_ -= links; }
    Parser& parser;
    int links = 0;
};

struct Parser::DepthGuard {
    explicit DepthGuard(Parser& p) : parser(p) {
        if (++parser.depth_ > kMaxNesting) {
            parser.fail(errc::kLimit, "Expression nested too deeply");
        }
    }
    ~DepthGuard() { --parser.depth_; }
    Parser& parser;
};

ExprPtr Parser::makeNode(ExprKind kind, const SourceSpot& spot) {
    auto e = std::make_unique<Expr>();
    e->kind = kind;
    e->spot = spot;
    return e;
}

ExprPtr Parser::binary(Op op, const SourceSpot& spot, ExprPtr lhs, ExprPtr rhs) {
    ExprPtr e = makeNode(ExprKind::Binary, spot);
    e->op = op;
    e->args.push_back(std::move(lhs));
    e->args.push_back(std::move(rhs));
    return e;
}

ExprPtr Parser::expression() {
    DepthGuard guard(*this);
    ExprPtr lhs = conjunction();
    ChainGuard chain(*this);
    while (peek().isWord("Or")) {
        chain.link();
        const SourceSpot spot = take().spot();
        lhs = binary(Op::Or, spot, std::move(lhs), conjunction());
    }
    return lhs;
}

ExprPtr Parser::conjunction() {
    ExprPtr lhs = negation();
    ChainGuard chain(*this);
    while (peek().isWord("And")) {
        chain.link();
        const SourceSpot spot = take().spot();
        lhs = binary(Op::And, spot, std::move(lhs), negation());
    }
    return lhs;
}

ExprPtr Parser::negation() {
    if (peek().isWord("Not")) {
        DepthGuard guard(*this);
        const SourceSpot spot = take().spot();
        ExprPtr e = makeNode(ExprKind::Unary, spot);
        e->op = Op::Not;
        e->args.push_back(negation());
        return e;
    }
    return comparison();
}

ExprPtr Parser::comparison() {
    ExprPtr lhs = additive();
    if (const auto op = operatorOf(peek(), kComparisons)) {
        const SourceSpot spot = take().spot();
        return binary(*op, spot, std::move(lhs), additive());
    }
    return lhs;
}

ExprPtr Parser::additive() {
    ExprPtr lhs = multiplicative();
    ChainGuard chain(*this);
    while (const auto op = operatorOf(peek(), kAdditive)) {
        chain.link();
        const SourceSpot spot = take().spot();
        lhs = binary(*op, spot, std::move(lhs), multiplicative());
    }
    return lhs;
}

ExprPtr Parser::multiplicative() {
    ExprPtr lhs = unary();
    ChainGuard chain(*this);
    while (const auto op = operatorOf(peek(), kMultiplicative)) {
        chain.link();
        const SourceSpot spot = take().spot();
        lhs = binary(*op, spot, std::move(lhs), unary());
    }
    return lhs;
}

ExprPtr Parser::unary() {
    if (peek().isSymbol("-") || peek().isSymbol("+")) {
        DepthGuard guard(*this);
        const Token& t = take();
        ExprPtr operand = unary();
        if (t.text == "+") return operand;
        ExprPtr e = makeNode(ExprKind::Unary, t.spot());
        e->op = Op::Negate;
        e->args.push_back(std::move(operand));
        return e;
    }
    return primary();
}

ExprPtr Parser::primary() {
    const Token& t = peek();
    switch (t.kind) {
        case TokenKind::Integer:
        case TokenKind::Float: {
            ++pos_;
            ExprPtr e = makeNode(ExprKind::Literal, t.spot());
            e->literal = t.kind == TokenKind::Integer && t.number <= 2147483647.0
                             ? Value::integer(static_cast<std::int64_t>(t.number))
                             : Value::real(t.number);
            if (numberLiterals_) numberLiterals_->push_back(e.get());
            return e;
        }
        case TokenKind::String: {
            ++pos_;
            ExprPtr e = makeNode(ExprKind::Literal, t.spot());
            e->literal = Value::text(t.text);
            return e;
        }
        case TokenKind::Word:
            return word();
        default:
            break;
    }
    if (acceptSymbol("(")) {
        ExprPtr e = expression();
        expectSymbol(")");
        return e;
    }
    fail(errc::kSyntax, "Expected an expression");
}

ExprPtr Parser::word() {
    const Token& t = take();
    if (peek().isSymbol("(")) return call(t);
    if (peek().isSymbol(".") && peek(1).kind == TokenKind::Word) {
        ++pos_;
        const Token& field = take();
        ExprPtr e = makeNode(ExprKind::Field, t.spot());
        e->table = t.text;
        e->tableKey = toLower(t.text);
        e->name = field.text;
        e->key = toLower(field.text);
        return e;
    }
    ExprPtr e = makeNode(ExprKind::Name, t.spot());
    e->name = t.text;
    e->key = toLower(t.text);
    return e;
}

ExprPtr Parser::call(const Token& name) {
    const FunctionSpec* signature = findFunction(toLower(name.text));
    if (signature == nullptr) {
        throw MapBasicError(errc::kUnknownFunction, "Unrecognized function: " + name.text,
                            name.spot());
    }
    expectSymbol("(");
    ExprPtr e = makeNode(ExprKind::Call, name.spot());
    e->name = name.text;
    e->function = signature;
    if (!acceptSymbol(")")) {
        do {
            if (peek().isSymbol("*")) {
                e->args.push_back(makeNode(ExprKind::Star, take().spot()));
            } else {
                e->args.push_back(expression());
            }
        } while (acceptSymbol(","));
        expectSymbol(")");
    }
    const int n = static_cast<int>(e->args.size());
    if (n < signature->minArgs || n > signature->maxArgs) {
        std::string expected = std::to_string(signature->minArgs);
        if (signature->maxArgs != signature->minArgs)
            expected += " to " + std::to_string(signature->maxArgs);
        throw MapBasicError(errc::kArgumentCount,
                            "Wrong number of arguments for " + name.text + ": " +
                                std::to_string(n) + " given, " + expected + " expected",
                            name.spot());
    }
    return e;
}

}  // namespace mbhost::detail
