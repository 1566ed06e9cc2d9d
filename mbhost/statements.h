// Runs statements. Each statement works out everything it needs (values, rows, objects)
// before it changes the workspace, so one that fails changes nothing.
#pragma once

#include "mbhost/ast.h"
#include "mbhost/evaluator.h"
#include "mbhost/workspace.h"

namespace mbhost {

class Executor {
public:
    explicit Executor(Workspace& ws) : ws_(ws), ev_(ws) {}

    // Throws MapBasicError, placed at the statement when nothing more precise is known.
    void run(const Statement& statement);

    // Opens `data` as a base table under its own name; shared by Open Table and Host.
    void openTable(TableData data);

    void operator()(const DimStmt& s);
    void operator()(const UndimStmt& s);
    void operator()(const AssignStmt& s);
    void operator()(const SetCoordSysStmt& s);
    void operator()(const FetchStmt& s);
    void operator()(const SelectStmt& s);
    void operator()(const InsertStmt& s);
    void operator()(const UpdateStmt& s);
    void operator()(const DeleteStmt& s);
    void operator()(const PrintStmt& s);
    void operator()(const CreateTableStmt& s);
    void operator()(const CreateMapStmt& s);
    void operator()(const CreateObjectStmt& s);
    void operator()(const OpenTableStmt& s);
    void operator()(const CommitTableStmt& s);
    void operator()(const CloseTableStmt& s);
    void operator()(const CloseAllStmt& s);
    void operator()(const MapStmt& s);
    void operator()(const BrowseStmt& s);
    void operator()(const SetMapWindowStmt& s);
    void operator()(const SetWindowStmt& s);
    void operator()(const AlterButtonPadStmt& s);
    void operator()(const StatusBarStmt& s);
    void operator()(const RunMenuCommandStmt& s);
    void operator()(const SetApplicationWindowStmt& s);
    void operator()(const EndMapInfoStmt& s);
    void operator()(const SaveWindowStmt& s);
    void operator()(const CloseWindowStmt& s);

private:
    Variable& variable(const std::string& name);
    Table& writableTable(const TableRef& ref);
    Window& mapWindow(const Expr& e);
    struct PictureSize {
        std::int32_t width;
        std::int32_t height;
    };
    PictureSize pictureSize(const SaveWindowStmt& s, const Window& w);
    std::vector<std::int32_t> matchingRows(const Table& t, const Expr* where);
    void fitMap(Window& w);

    Workspace& ws_;
    Evaluator ev_;
};

}  // namespace mbhost
