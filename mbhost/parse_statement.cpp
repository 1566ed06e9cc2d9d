// The statement rules: one per MapBasic command mbhost knows.
#include <utility>

#include "mbhost/parser_detail.h"

namespace mbhost::detail {

Statement Parser::statement() {
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

DimStmt Parser::dim() {
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

VarType Parser::variableType() {
    const Token& t = peek();
    const std::string type = t.kind == TokenKind::Word ? toLower(t.text) : std::string();
    static const std::pair<const char*, VarType> kTypes[] = {
        {"object", VarType::Object},     {"float", VarType::Float},   {"integer", VarType::Integer},
        {"smallint", VarType::SmallInt}, {"string", VarType::String}, {"logical", VarType::Logical},
        {"date", VarType::Date}};
    for (const auto& [name, value] : kTypes) {
        if (type == name) {
            ++pos_;
            return value;
        }
    }
    fail(errc::kSyntax, "Unknown variable type");
}

UndimStmt Parser::undim() {
    UndimStmt u;
    u.names.push_back(expectName("a variable name"));
    while (acceptSymbol(",")) u.names.push_back(expectName("a variable name"));
    return u;
}

StatementBody Parser::set() {
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

SetCoordSysStmt Parser::setCoordSys() {
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
std::string Parser::clauseText() {
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
        if (t.isSymbol("-") &&
            !(text.size() == 1 || text[text.size() - 2] == ' ' || text[text.size() - 2] == '(')) {
            glue = false;
        }
    }
    return text;
}

SetMapWindowStmt Parser::setMapWindow() {
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

FetchStmt Parser::fetch() {
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

SelectStmt Parser::select() {
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

InsertStmt Parser::insert() {
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

UpdateStmt Parser::update() {
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

DeleteStmt Parser::remove() {
    acceptWord("Object");
    expectWord("From");
    DeleteStmt s;
    s.table = tableRef();
    if (acceptWord("Where")) s.where = expression();
    return s;
}

StatementBody Parser::create() {
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
    throw MapBasicError(errc::kUnrecognizedCommand, "Unrecognized command: Create " + peek().text,
                        peek().spot());
}

CreateTableStmt Parser::createTable() {
    CreateTableStmt s;
    s.table = tableRef();
    expectSymbol("(");
    do s.columns.push_back(columnDef());
    while (acceptSymbol(","));
    expectSymbol(")");
    if (acceptWord("File")) s.file = expression();
    return s;
}

std::int32_t Parser::smallCount() {
    if (peek().kind != TokenKind::Integer || peek().number > 1e6) {
        fail(errc::kSyntax, "Expected a whole number");
    }
    return static_cast<std::int32_t>(take().number);
}

ColumnDef Parser::columnDef() {
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

std::pair<ExprPtr, ExprPtr> Parser::coordinatePair() {
    expectSymbol("(");
    ExprPtr x = expression();
    expectSymbol(",");
    ExprPtr y = expression();
    expectSymbol(")");
    return {std::move(x), std::move(y)};
}

std::vector<std::pair<ExprPtr, ExprPtr>> Parser::nodeList(bool counted) {
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

CreateObjectStmt Parser::createObject(ObjectType type) {
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
void Parser::skipStyleClauses() {
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

OpenTableStmt Parser::open() {
    expectWord("Table");
    OpenTableStmt s;
    s.path = primary();
    while (!atStatementEnd()) {
        if (acceptWord("As"))
            s.alias = expectName("a table alias");
        else if (acceptWord("Layer"))
            s.layer = primary();
        else if (acceptWord("ReadOnly"))
            s.readOnly = true;
        else if (acceptWord("Interactive") || acceptWord("Hide"))
            continue;
        else if (acceptWord("View"))
            expectWord("Automatic");
        else if (acceptWord("CoordSys"))
            s.coordSys = clauseText();  // takes the rest of the statement
        else
            fail(errc::kSyntax,
                 "Expected As, Layer, ReadOnly, Interactive, View Automatic or CoordSys");
    }
    return s;
}

CommitTableStmt Parser::commit() {
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

StatementBody Parser::close() {
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

MapStmt Parser::map() {
    expectWord("From");
    MapStmt s;
    do s.tables.push_back(tableRef());
    while (acceptSymbol(","));
    return s;
}

BrowseStmt Parser::browse() {
    expectSymbol("*");
    expectWord("From");
    return BrowseStmt{tableRef()};
}

AlterButtonPadStmt Parser::alter() {
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

StatusBarStmt Parser::statusBar() {
    if (acceptWord("Hide")) return StatusBarStmt{false};
    if (acceptWord("Show")) return StatusBarStmt{true};
    fail(errc::kSyntax, "Expected Show or Hide");
}

RunMenuCommandStmt Parser::run() {
    expectWord("Menu");
    expectWord("Command");
    acceptWord("ID");
    return RunMenuCommandStmt{expression()};
}

EndMapInfoStmt Parser::endMapInfo() {
    expectWord("MapInfo");
    acceptWord("Interactive");
    return {};
}

SaveWindowStmt Parser::save() {
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

}  // namespace mbhost::detail
