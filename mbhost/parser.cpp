#include "mbhost/parser.h"

#include <optional>
#include <utility>

#include "mbhost/functions.h"
#include "mbhost/lexer.h"

namespace mbhost {

namespace {

class Parser {
public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    Program program() {
        Program p;
        while (true) {
            while (peek().kind == TokenKind::NewLine) ++pos_;
            if (peek().kind == TokenKind::End) break;
            p.statements.push_back(statement());
            expectStatementEnd();
        }
        return p;
    }

    ExprPtr wholeExpression() {
        ExprPtr e = expression();
        if (peek().kind != TokenKind::End) fail(errc::kSyntax, "Unexpected text after expression");
        return e;
    }

private:
    // ---- token helpers ----
    const Token& peek(std::size_t ahead = 0) const {
        const std::size_t i = std::min(pos_ + ahead, tokens_.size() - 1);
        return tokens_[i];
    }
    const Token& take() {
        const Token& t = tokens_[pos_];
        if (pos_ + 1 < tokens_.size()) ++pos_;
        return t;
    }
    bool atStatementEnd() const {
        return peek().kind == TokenKind::NewLine || peek().kind == TokenKind::End;
    }
    bool acceptWord(std::string_view w) {
        if (!peek().isWord(w)) return false;
        ++pos_;
        return true;
    }
    bool acceptSymbol(std::string_view s) {
        if (!peek().isSymbol(s)) return false;
        ++pos_;
        return true;
    }
    [[noreturn]] void fail(std::int32_t code, const std::string& what) const {
        SourceSpot spot = peek().spot();
        if (peek().kind == TokenKind::End || peek().kind == TokenKind::NewLine) {
            spot.near = "end of statement";
        }
        throw MapBasicError(code, what, spot);
    }
    void expectWord(std::string_view w) {
        if (!acceptWord(w)) fail(errc::kSyntax, "Expected " + std::string(w));
    }
    void expectSymbol(std::string_view s) {
        if (!acceptSymbol(s)) fail(errc::kSyntax, "Expected '" + std::string(s) + "'");
    }
    std::string expectName(const char* what) {
        if (peek().kind != TokenKind::Word) fail(errc::kSyntax, std::string("Expected ") + what);
        return take().text;
    }
    TableRef tableRef() {
        if (peek().kind != TokenKind::Word && peek().kind != TokenKind::String) {
            fail(errc::kSyntax, "Expected a table name");
        }
        const Token& t = take();
        return TableRef{t.text, t.spot()};
    }
    void expectStatementEnd() {
        if (!atStatementEnd()) fail(errc::kSyntax, "Unexpected text at end of statement");
    }

    // ---- statements ----
    Statement statement() {
        const Token& first = peek();
        Statement s;
        s.spot = first.spot();
        if (first.kind == TokenKind::Word && peek(1).isSymbol("=")) {
            pos_ += 2;
            s.body = AssignStmt{first.text, expression()};
            return s;
        }
        if (first.kind != TokenKind::Word) fail(errc::kUnrecognizedCommand, "Unrecognized command");
        const std::string word = toLower(first.text);
        ++pos_;
        if (word == "dim")
            s.body = dim();
        else if (word == "undim")
            s.body = undim();
        else if (word == "set")
            s.body = set();
        else if (word == "fetch")
            s.body = fetch();
        else if (word == "select")
            s.body = select();
        else if (word == "insert")
            s.body = insert();
        else if (word == "update")
            s.body = update();
        else if (word == "delete")
            s.body = remove();
        else if (word == "print")
            s.body = PrintStmt{expression()};
        else if (word == "create")
            s.body = create();
        else if (word == "open")
            s.body = open();
        else if (word == "commit")
            s.body = commit();
        else if (word == "close")
            s.body = close();
        else if (word == "map")
            s.body = map();
        else if (word == "browse")
            s.body = browse();
        else if (word == "alter")
            s.body = alter();
        else if (word == "statusbar")
            s.body = statusBar();
        else if (word == "run")
            s.body = run();
        else if (word == "end")
            s.body = endMapInfo();
        else if (word == "save")
            s.body = save();
        else {
            --pos_;
            throw MapBasicError(errc::kUnrecognizedCommand, "Unrecognized command: " + first.text,
                                first.spot());
        }
        return s;
    }

    DimStmt dim() {
        DimStmt d;
        do {
            std::vector<std::string> names{expectName("a variable name")};
            while (acceptSymbol(",")) names.push_back(expectName("a variable name"));
            expectWord("As");
            const VarType type = variableType();
            for (auto& name : names) d.variables.emplace_back(std::move(name), type);
        } while (acceptSymbol(","));
        return d;
    }

    VarType variableType() {
        const Token& t = peek();
        const std::string type = t.kind == TokenKind::Word ? toLower(t.text) : std::string();
        static const std::pair<const char*, VarType> kTypes[] = {
            {"object", VarType::Object},   {"float", VarType::Float},
            {"integer", VarType::Integer}, {"smallint", VarType::SmallInt},
            {"string", VarType::String},   {"logical", VarType::Logical},
            {"date", VarType::Date}};
        for (const auto& [name, value] : kTypes) {
            if (type == name) {
                ++pos_;
                return value;
            }
        }
        fail(errc::kSyntax, "Unknown variable type");
    }

    UndimStmt undim() {
        UndimStmt u;
        u.names.push_back(expectName("a variable name"));
        while (acceptSymbol(",")) u.names.push_back(expectName("a variable name"));
        return u;
    }

    StatementBody set() {
        if (acceptWord("CoordSys")) return setCoordSys();
        if (acceptWord("Map")) return setMapWindow();
        if (acceptWord("Window")) {
            SetWindowStmt w;
            w.window = expression();
            if (acceptWord("Max"))
                w.state = 2;
            else if (acceptWord("Min"))
                w.state = 1;
            else if (acceptWord("Restore"))
                w.state = 0;
            else
                fail(errc::kSyntax, "Expected Max, Min or Restore");
            return w;
        }
        if (acceptWord("Application")) {
            expectWord("Window");
            return SetApplicationWindowStmt{expression()};
        }
        throw MapBasicError(errc::kUnrecognizedCommand, "Unrecognized command: Set " + peek().text,
                            peek().spot());
    }

    SetCoordSysStmt setCoordSys() {
        SetCoordSysStmt s;
        if (acceptWord("Table")) {
            s.source = SetCoordSysStmt::Source::Table;
            s.table = tableRef();
        } else if (acceptWord("Window")) {
            s.source = SetCoordSysStmt::Source::Window;
            s.window = expression();
        } else {
            s.clause = clauseText();
        }
        return s;
    }

    // The rest of the statement, as the coordinate-system clause text.
    std::string clauseText() {
        if (!peek().isWord("Earth") && !peek().isWord("NonEarth")) {
            fail(errc::kSyntax, "Expected Earth or NonEarth");
        }
        std::string text;
        bool glue = true;  // no blank before the next token
        while (!atStatementEnd()) {
            const Token& t = take();
            const bool closing = t.isSymbol(",") || t.isSymbol(")");
            if (!glue && !closing) text += ' ';
            if (t.kind == TokenKind::String) {
                text += '"' + t.text + '"';
            } else {
                text += t.text;
            }
            glue = t.isSymbol("(") || t.isSymbol("-");
            if (t.isSymbol("-") && !(text.size() == 1 || text[text.size() - 2] == ' ' ||
                                     text[text.size() - 2] == '(')) {
                glue = false;
            }
        }
        return text;
    }

    SetMapWindowStmt setMapWindow() {
        expectWord("Window");
        SetMapWindowStmt s;
        s.window = expression();
        while (!atStatementEnd()) {
            if (acceptWord("Center")) {
                expectSymbol("(");
                s.centerX = expression();
                expectSymbol(",");
                s.centerY = expression();
                expectSymbol(")");
            } else if (acceptWord("Zoom")) {
                s.zoom = expression();
                if (acceptWord("Units")) s.units = expression();
            } else {
                fail(errc::kSyntax, "Expected Center or Zoom");
            }
        }
        return s;
    }

    FetchStmt fetch() {
        FetchStmt f;
        if (acceptWord("First"))
            f.where = FetchStmt::Where::First;
        else if (acceptWord("Next"))
            f.where = FetchStmt::Where::Next;
        else if (acceptWord("Prev"))
            f.where = FetchStmt::Where::Prev;
        else if (acceptWord("Last"))
            f.where = FetchStmt::Where::Last;
        else if (acceptWord("Rec")) {
            f.where = FetchStmt::Where::Rec;
            f.record = additive();
        } else {
            fail(errc::kSyntax, "Expected First, Next, Prev, Last or Rec");
        }
        expectWord("From");
        f.table = tableRef();
        return f;
    }

    SelectStmt select() {
        SelectStmt s;
        do {
            SelectItem item;
            if (peek().isWord("From")) fail(errc::kSyntax, "Expected a column list");
            if (!acceptSymbol("*")) {
                item.expr = expression();
                if (peek().kind == TokenKind::String) {
                    item.alias = take().text;
                } else if (peek().kind == TokenKind::Word && !peek().isWord("From")) {
                    item.alias = take().text;
                }
            }
            s.items.push_back(std::move(item));
        } while (acceptSymbol(","));
        expectWord("From");
        s.from = tableRef();
        while (!atStatementEnd()) {
            if (acceptWord("Where"))
                s.where = expression();
            else if (acceptWord("Into"))
                s.into = expectName("a table name");
            else if (acceptWord("NoSelect"))
                s.noSelect = true;
            else
                fail(errc::kSyntax, "Expected Where, Into or NoSelect");
        }
        return s;
    }

    InsertStmt insert() {
        expectWord("Into");
        InsertStmt s;
        s.table = tableRef();
        if (acceptSymbol("(")) {
            do s.columns.push_back(expectName("a column name"));
            while (acceptSymbol(","));
            expectSymbol(")");
        }
        expectWord("Values");
        expectSymbol("(");
        do s.values.push_back(expression());
        while (acceptSymbol(","));
        expectSymbol(")");
        return s;
    }

    UpdateStmt update() {
        UpdateStmt s;
        s.table = tableRef();
        expectWord("Set");
        do {
            std::string column = expectName("a column name");
            expectSymbol("=");
            s.assignments.emplace_back(std::move(column), expression());
        } while (acceptSymbol(","));
        if (acceptWord("Where")) s.where = expression();
        return s;
    }

    DeleteStmt remove() {
        acceptWord("Object");
        expectWord("From");
        DeleteStmt s;
        s.table = tableRef();
        if (acceptWord("Where")) s.where = expression();
        return s;
    }

    StatementBody create() {
        if (acceptWord("Table")) return createTable();
        if (acceptWord("Map")) {
            expectWord("For");
            CreateMapStmt m;
            m.table = tableRef();
            if (acceptWord("CoordSys")) m.clause = clauseText();
            return m;
        }
        if (acceptWord("Point")) return createObject(ObjectType::Point);
        if (acceptWord("Line")) return createObject(ObjectType::Line);
        if (acceptWord("Pline")) return createObject(ObjectType::Polyline);
        if (acceptWord("Region")) return createObject(ObjectType::Region);
        if (acceptWord("Text")) return createObject(ObjectType::Text);
        throw MapBasicError(errc::kUnrecognizedCommand,
                            "Unrecognized command: Create " + peek().text, peek().spot());
    }

    CreateTableStmt createTable() {
        CreateTableStmt s;
        s.table = tableRef();
        expectSymbol("(");
        do s.columns.push_back(columnDef());
        while (acceptSymbol(","));
        expectSymbol(")");
        if (acceptWord("File")) s.file = expression();
        return s;
    }

    std::int32_t smallCount() {
        if (peek().kind != TokenKind::Integer || peek().number > 1e6) {
            fail(errc::kSyntax, "Expected a whole number");
        }
        return static_cast<std::int32_t>(take().number);
    }

    ColumnDef columnDef() {
        ColumnDef c;
        c.name = expectName("a column name");
        const std::string type = toLower(expectName("a column type"));
        if (type == "char") {
            c.type = ColumnType::Char;
            expectSymbol("(");
            c.width = smallCount();
            expectSymbol(")");
            if (c.width < 1 || c.width > 254) fail(errc::kSyntax, "Char width must be 1 to 254");
        } else if (type == "decimal") {
            c.type = ColumnType::Decimal;
            expectSymbol("(");
            c.width = smallCount();
            expectSymbol(",");
            c.decimals = smallCount();
            expectSymbol(")");
        } else if (type == "integer")
            c.type = ColumnType::Integer;
        else if (type == "smallint")
            c.type = ColumnType::SmallInt;
        else if (type == "float")
            c.type = ColumnType::Float;
        else if (type == "logical")
            c.type = ColumnType::Logical;
        else if (type == "date")
            c.type = ColumnType::Date;
        else {
            --pos_;
            fail(errc::kSyntax, "Unknown column type");
        }
        return c;
    }

    std::pair<ExprPtr, ExprPtr> coordinatePair() {
        expectSymbol("(");
        ExprPtr x = expression();
        expectSymbol(",");
        ExprPtr y = expression();
        expectSymbol(")");
        return {std::move(x), std::move(y)};
    }

    std::vector<std::pair<ExprPtr, ExprPtr>> nodeList(bool counted) {
        std::vector<std::pair<ExprPtr, ExprPtr>> nodes;
        std::int32_t expected = -1;
        if (counted && peek().kind == TokenKind::Integer) expected = smallCount();
        while (peek().isSymbol("(") && (expected < 0 || std::cmp_less(nodes.size(), expected))) {
            nodes.push_back(coordinatePair());
        }
        if (expected >= 0 && std::cmp_not_equal(nodes.size(), expected)) {
            fail(errc::kSyntax, "Expected " + std::to_string(expected) + " nodes");
        }
        return nodes;
    }

    CreateObjectStmt createObject(ObjectType type) {
        CreateObjectStmt s;
        s.type = type;
        expectWord("Into");
        expectWord("Variable");
        s.variable = expectName("a variable name");
        switch (type) {
            case ObjectType::Point:
                s.parts.emplace_back().push_back(coordinatePair());
                break;
            case ObjectType::Line: {
                auto& part = s.parts.emplace_back();
                part.push_back(coordinatePair());
                part.push_back(coordinatePair());
                break;
            }
            case ObjectType::Text: {
                s.text = expression();
                auto& part = s.parts.emplace_back();
                part.push_back(coordinatePair());
                part.push_back(coordinatePair());
                break;
            }
            case ObjectType::Polyline: {
                if (acceptWord("Multiple")) {
                    const std::int32_t sections = smallCount();
                    for (std::int32_t i = 0; i < sections; ++i) s.parts.push_back(nodeList(true));
                } else {
                    s.parts.push_back(nodeList(true));
                }
                break;
            }
            case ObjectType::Region: {
                const std::int32_t polygons = smallCount();
                for (std::int32_t i = 0; i < polygons; ++i) s.parts.push_back(nodeList(true));
                break;
            }
            default:
                break;
        }
        skipStyleClauses();
        return s;
    }

    // Pen (...), Brush (...), Symbol (...), Font (...): accepted and not kept.
    void skipStyleClauses() {
        while (peek().isWord("Pen") || peek().isWord("Brush") || peek().isWord("Symbol") ||
               peek().isWord("Font")) {
            ++pos_;
            expectSymbol("(");
            int depth = 1;
            while (depth > 0 && !atStatementEnd()) {
                if (peek().isSymbol("(")) ++depth;
                if (peek().isSymbol(")")) --depth;
                ++pos_;
            }
            if (depth > 0) fail(errc::kSyntax, "Expected ')'");
        }
    }

    OpenTableStmt open() {
        expectWord("Table");
        OpenTableStmt s;
        s.path = primary();
        while (!atStatementEnd()) {
            if (acceptWord("As"))
                s.alias = expectName("a table alias");
            else if (acceptWord("ReadOnly"))
                s.readOnly = true;
            else if (acceptWord("Interactive") || acceptWord("Hide"))
                continue;
            else if (acceptWord("View"))
                expectWord("Automatic");
            else
                fail(errc::kSyntax, "Expected As, ReadOnly, Interactive or View Automatic");
        }
        return s;
    }

    CommitTableStmt commit() {
        expectWord("Table");
        CommitTableStmt s;
        s.table = tableRef();
        while (!atStatementEnd()) {
            if (acceptWord("As"))
                s.path = primary();
            else if (acceptWord("Interactive"))
                continue;
            else
                fail(errc::kSyntax, "Expected As or Interactive");
        }
        return s;
    }

    StatementBody close() {
        if (acceptWord("All")) {
            acceptWord("Interactive");
            return CloseAllStmt{};
        }
        if (acceptWord("Window")) return CloseWindowStmt{expression()};
        expectWord("Table");
        CloseTableStmt s{tableRef()};
        acceptWord("Interactive");
        return s;
    }

    MapStmt map() {
        expectWord("From");
        MapStmt s;
        do s.tables.push_back(tableRef());
        while (acceptSymbol(","));
        return s;
    }

    BrowseStmt browse() {
        expectSymbol("*");
        expectWord("From");
        return BrowseStmt{tableRef()};
    }

    AlterButtonPadStmt alter() {
        expectWord("ButtonPad");
        AlterButtonPadStmt s;
        s.name = primary();
        if (acceptWord("Show"))
            s.show = true;
        else if (acceptWord("Hide"))
            s.show = false;
        else
            fail(errc::kSyntax, "Expected Show or Hide");
        return s;
    }

    StatusBarStmt statusBar() {
        if (acceptWord("Hide")) return StatusBarStmt{false};
        if (acceptWord("Show")) return StatusBarStmt{true};
        fail(errc::kSyntax, "Expected Show or Hide");
    }

    RunMenuCommandStmt run() {
        expectWord("Menu");
        expectWord("Command");
        acceptWord("ID");
        return RunMenuCommandStmt{expression()};
    }

    EndMapInfoStmt endMapInfo() {
        expectWord("MapInfo");
        acceptWord("Interactive");
        return {};
    }

    SaveWindowStmt save() {
        expectWord("Window");
        SaveWindowStmt s;
        s.window = additive();
        expectWord("As");
        s.path = primary();
        while (!atStatementEnd()) {
            if (acceptWord("Type")) {
                primary();  // the type follows the file's extension
            } else if (acceptWord("Width")) {
                s.width = additive();
                if (acceptWord("Units")) s.widthUnits = primary();
            } else if (acceptWord("Height")) {
                s.height = additive();
                if (acceptWord("Units")) s.heightUnits = primary();
            } else if (acceptWord("Resolution")) {
                s.resolution = additive();
            } else {
                fail(errc::kSyntax, "Expected Type, Width, Height or Resolution");
            }
        }
        return s;
    }

    // ---- expressions ----
    struct OperatorText {
        std::string_view text;  // a symbol, or a word compared ignoring case
        Op op;
    };
    static constexpr OperatorText kComparisons[] = {
        {"=", Op::Equal},   {"<>", Op::NotEqual},  {"<", Op::Less},
        {">", Op::Greater}, {"<=", Op::LessEqual}, {">=", Op::GreaterEqual}};
    static constexpr OperatorText kAdditive[] = {
        {"+", Op::Add}, {"-", Op::Subtract}, {"&", Op::Concat}};
    static constexpr OperatorText kMultiplicative[] = {
        {"*", Op::Multiply}, {"/", Op::Divide}, {"\\", Op::IntDivide}, {"Mod", Op::Mod}};

    // The operator of this level that the next token is, if it is one.
    template <std::size_t N>
    std::optional<Op> operatorAt(const OperatorText (&ops)[N]) const {
        for (const auto& candidate : ops) {
            if (peek().isSymbol(candidate.text) || peek().isWord(candidate.text))
                return candidate.op;
        }
        return std::nullopt;
    }

    ExprPtr makeNode(ExprKind kind, const SourceSpot& spot) {
        auto e = std::make_unique<Expr>();
        e->kind = kind;
        e->spot = spot;
        return e;
    }

    ExprPtr binary(Op op, const SourceSpot& spot, ExprPtr lhs, ExprPtr rhs) {
        ExprPtr e = makeNode(ExprKind::Binary, spot);
        e->op = op;
        e->args.push_back(std::move(lhs));
        e->args.push_back(std::move(rhs));
        return e;
    }

    // A chain of n operators builds a tree n deep, so each operator counts as one level.
    struct ChainGuard {
        explicit ChainGuard(Parser& p) : parser(p) {}
        void link() {
            ++links;
            if (++parser.depth_ > kMaxNesting) parser.fail(errc::kLimit, "Expression too long");
        }
        ~ChainGuard() { parser.depth_ -= links; }
        Parser& parser;
        int links = 0;
    };

    struct DepthGuard {
        explicit DepthGuard(Parser& p) : parser(p) {
            if (++parser.depth_ > kMaxNesting) {
                parser.fail(errc::kLimit, "Expression nested too deeply");
            }
        }
        ~DepthGuard() { --parser.depth_; }
        Parser& parser;
    };

    ExprPtr expression() {
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

    ExprPtr conjunction() {
        ExprPtr lhs = negation();
        ChainGuard chain(*this);
        while (peek().isWord("And")) {
            chain.link();
            const SourceSpot spot = take().spot();
            lhs = binary(Op::And, spot, std::move(lhs), negation());
        }
        return lhs;
    }

    ExprPtr negation() {
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

    ExprPtr comparison() {
        ExprPtr lhs = additive();
        if (const auto op = operatorAt(kComparisons)) {
            const SourceSpot spot = take().spot();
            return binary(*op, spot, std::move(lhs), additive());
        }
        return lhs;
    }

    ExprPtr additive() {
        ExprPtr lhs = multiplicative();
        ChainGuard chain(*this);
        while (const auto op = operatorAt(kAdditive)) {
            chain.link();
            const SourceSpot spot = take().spot();
            lhs = binary(*op, spot, std::move(lhs), multiplicative());
        }
        return lhs;
    }

    ExprPtr multiplicative() {
        ExprPtr lhs = unary();
        ChainGuard chain(*this);
        while (const auto op = operatorAt(kMultiplicative)) {
            chain.link();
            const SourceSpot spot = take().spot();
            lhs = binary(*op, spot, std::move(lhs), unary());
        }
        return lhs;
    }

    ExprPtr unary() {
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

    ExprPtr primary() {
        const Token& t = peek();
        switch (t.kind) {
            case TokenKind::Integer: {
                ++pos_;
                ExprPtr e = makeNode(ExprKind::Literal, t.spot());
                e->literal = t.number <= 2147483647.0
                                 ? Value::integer(static_cast<std::int64_t>(t.number))
                                 : Value::real(t.number);
                return e;
            }
            case TokenKind::Float: {
                ++pos_;
                ExprPtr e = makeNode(ExprKind::Literal, t.spot());
                e->literal = Value::real(t.number);
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

    ExprPtr word() {
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

    ExprPtr call(const Token& name) {
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

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

}  // namespace

Program parseStatements(std::string_view text) {
    return Parser(tokenize(text)).program();
}

ExprPtr parseExpression(std::string_view text) {
    return Parser(tokenize(text)).wholeExpression();
}

}  // namespace mbhost
