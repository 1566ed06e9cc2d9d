// The host connection object: the one gateway between Veltrano and the GIS host. It
// attaches to (or starts) the host, probes whether the link is live, sends MapBasic
// statements, evaluates expressions and converts their text answers, reports the host's
// errors to the user, and keeps a census of the host's windows and tables.
//
// States: Idle (no host object), Held (a host object, link not live) and Connected (a host
// object, link live, census built). The wrapped operations talk to the host only when
// Connected; each probes the link first ("2*2") and checks the host's error code after.
//
// Failures: most operations catch their own RunTimeError, report it (host errors in an
// "MI Error: " box) and return a sentinel. IsError, ClearError, Visible, the mi* texts,
// NumTables, TablesInfo and openTable's search let a failure reach the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/answer_reader.h"
#include "host/automation.h"
#include "host/host_value.h"
#include "host/miProTblInfo.h"
#include "host/miProWind.h"
#include "host/slot_array.h"
#include "platform/message_box.h"
#include "platform/regional_settings.h"
#include "platform/window_activation.h"

namespace veltrano {

// A copy of the table list: slot 0 stays empty, slot i describes host table i.
using TableList = std::vector<std::shared_ptr<miProTblInfo>>;

class miProObj {
public:
    enum class State { Idle, Held, Connected };

    miProObj(AutomationProvider& provider, MessageBoxPort& messages,
             const RegionalSettings& regional, WindowActivationPort& activation);
    // Detaches a live host (it keeps running) and releases the host object.
    ~miProObj();
    miProObj(const miProObj&) = delete;
    miProObj& operator=(const miProObj&) = delete;

    State state() const;

    // The host's window census and its main window handle; any caller may overwrite them.
    std::int32_t countWin() const { return countWin_; }
    void setCountWin(std::int32_t v) { countWin_ = v; }
    std::int32_t minWin() const { return minWin_; }
    void setMinWin(std::int32_t v) { minWin_ = v; }
    std::int32_t maxWin() const { return maxWin_; }
    void setMaxWin(std::int32_t v) { maxWin_ = v; }
    std::int32_t curWinID() const { return curWinID_; }
    void setCurWinID(std::int32_t v) { curWinID_ = v; }
    std::int32_t hwnd() const { return hwnd_; }
    void setHwnd(std::int32_t v) { hwnd_ = v; }

    // --- Connection --------------------------------------------------------------------

    // Attaches to the running host (reusing a live one) and builds the census. Returns the
    // host's SystemInfo(17), or 0 when no host was reached; "no running copy" is silent.
    // A given parentHWnd becomes the host's parent window once the link is live.
    std::int32_t connect2MiPro(const std::optional<HostValue>& parentHWnd = std::nullopt);
    // Starts a new, visible host; as connect2MiPro otherwise.
    std::int32_t openMiPro(std::int32_t parentHWnd = 0);
    // Whether the link is live; a dead host resets the fields and lists (host object kept).
    bool isLoaded();
    // Whether the link is live, without the reset.
    bool qIsLoaded();

    // --- Wrapped calls -----------------------------------------------------------------

    // Evaluates a MapBasic expression: a whole number, a real number, a text, or empty when
    // the link is not live or the host refused. Null for a whole number beyond 32 bits.
    HostValue Eval(std::string_view str);
    // Runs a MapBasic statement. Ask lastCallFailed() afterwards to know whether it ran.
    void xDo(std::string_view str);
    void RunCommand(std::string_view str);
    // The host's SystemInfo(L); null when the link is not live or on a failure.
    HostValue SystemInfo(std::int32_t L);
    // Runs host menu command cmd (a numeric text); always empty.
    HostValue RunMenuCommand(std::string_view cmd);

    // True without a host object; otherwise whether the host's error code is set. A wrapped
    // call reports and clears the code, so afterwards this answers false.
    bool IsError();
    void ClearError();
    // Shows the host's pending error ("MI Error: <code>") and clears it.
    void msgboxErr();
    // Whether the last wrapped call did not complete in the host: the link was not live,
    // the host refused it, or it raised a failure. Kept because msgboxErr clears the
    // host's error code, so IsError cannot tell afterwards.
    bool lastCallFailed() const { return lastCallFailed_; }
    // What the host said when it refused the last Eval or xDo; empty when it said nothing.
    const std::string& lastFailureMessage() const { return lastFailureMessage_; }

    bool Close_All(bool saveInteractive = false);
    void ClosePro(bool doFullExit = false);
    void Attach(std::int32_t hwnd);
    void Set_Application_Window(std::int32_t hwnd);
    // Lets the host go back to its own parent window; the state is kept.
    void Deattach();
    void Visible(bool vl);
    std::string miName();
    std::string miFullName();
    std::string miProductLevel();
    std::string miVersion();
    void subTemplate();
    HostValue functionTemplate();

    // --- Tables ------------------------------------------------------------------------

    // One attribute of a table given by name (text) or number: null, whole, real or text.
    HostValue TableInfo(const HostValue& table_id, std::int32_t attr);
    HostValue TableInfo(std::string_view tableName, std::int32_t attr);
    HostValue TableInfo(std::int32_t tableNumber, std::int32_t attr);
    std::int32_t NumTables();
    // Rereads every table; the count, or -1 after a failure (shown). vArr gets a copy.
    std::int32_t getAllTablesInfo(TableList* vArr = nullptr);
    // The record of table ind, refreshed, or none.
    std::shared_ptr<miProTblInfo> TablesInfo(std::int32_t ind);
    // Rows counted by a query; -1 on any failure, silently.
    std::int32_t TableNROWS(const HostValue& tab_id);
    // Opens a table file; its table number, or -1.
    std::int32_t openTable(std::string_view tblPath, std::string_view tblOpenAttibutes,
                           std::string_view tblAliasName);
    // Selects rows of tbl where crit into outTbl; the rows of a mappable result, 0 for a
    // non-mappable one, -1 when nothing was selected.
    std::int32_t makeSelection(std::string_view tbl, std::string_view crit,
                               std::string_view outTbl = {});

    // --- Windows -----------------------------------------------------------------------

    std::int32_t NumWindows();
    std::int32_t NumAllWindows();
    std::int32_t FrontWindow();
    std::int32_t FrontWindowId();
    std::int32_t WindowId(std::int32_t window_num);
    HostValue WindowInfo(std::int32_t window_spec, std::int32_t attr);
    HostValue MapperInfo(std::int32_t window_spec, std::int32_t attr);
    std::string WindowInfoType(std::int32_t win_id);
    // Rebuilds the window census and then the table list.
    void RefreshWindowsInfo();
    // The census record of window number ind (as last read), or none.
    std::shared_ptr<miProWind> miWindows(std::int32_t ind);
    // Fits map window wId to all objects of table tbl.
    void showAllOnTable(std::int32_t wId, std::string_view tbl);
    // Shows the host and brings it to the front.
    void ShowMiObj();

    // Read-only views of the census and the table list as they stand.
    const SlotArray<miProWind>& windowSlots() const { return arrWin_; }
    const SlotArray<miProTblInfo>& tableSlots() const { return arrTbl_; }

    // The held host automation object whatever the state, or none. The engine reads geometry
    // through it with bare Eval and Do: there a host failure is a run-time error for the
    // engine's own handler, not a message box per request as the wrapped calls would show.
    const AutomationPtr& GetMiApp() const { return miApp_; }
    // How this object converts the host's answers (by the user's regional settings).
    const AnswerReader& answerReader() const { return reader_; }

private:
    // The held host object; none raises err::kObjectNotSet, since a report of the link's
    // loss releases it in the middle of an operation.
    Automation& app() const;
    // version = SystemInfo(17), then hwnd = SystemInfo(9); a failure in the second read
    // leaves version as read, which the callers return.
    void readIdentity(std::int32_t& version);
    void resetState(bool releaseHost);
    void setConnected(bool value);
    void clearAfterDeadProbe();
    bool probe();
    void showButtonPads();
    // After a wrapped call: the host's error is shown and cleared, or the call completed.
    void settleHostError();
    void reportThroughHost(const RunTimeError& error);
    void showDescription(const RunTimeError& error);
    void showWithSource(const RunTimeError& error);
    HostValue queryInfo(std::string_view expression, HostValue whenNotLive);
    HostValue askInfo(std::string_view expression);
    std::int32_t queryWhole(std::string_view expression, bool reportsThroughHost);
    void readWindow(std::int32_t number);

    AutomationProvider& provider_;
    MessageBoxPort& messages_;
    const RegionalSettings& regional_;
    WindowActivationPort& activation_;
    AnswerReader reader_;

    std::int32_t countWin_ = 0;
    std::int32_t minWin_ = 0;
    std::int32_t maxWin_ = 0;
    std::int32_t curWinID_ = 0;
    std::int32_t hwnd_ = 0;

    AutomationPtr miApp_;
    bool connected_ = false;
    SlotArray<miProWind> arrWin_;
    SlotArray<miProTblInfo> arrTbl_;
    std::int32_t countTbl_ = 0;
    std::string lastFailureMessage_;
    bool lastCallFailed_ = false;
};

}  // namespace veltrano
