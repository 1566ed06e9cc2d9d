// The COM adapter's calling conventions and error mapping, against an IDispatch in this
// process that fails on demand.
#include <windows.h>

#include <gtest/gtest.h>

#include <oleauto.h>

#include <algorithm>
#include <functional>
#include <vector>

#include "automation/com/com_apartment.h"
#include "automation/com/com_automation.h"
#include "automation/com/com_ptr.h"
#include "automation/com/hresult_error.h"
#include "automation/com/variant.h"
#include "foundation/run_time_error.h"
#include "raised.h"
#include "replay/dispatch_object.h"

namespace veltrano::testing {
namespace {

using com::ComAutomation;
using com::ComPtr;
using com::Variant;

// An automation object whose every answer a test decides.
class FakeDispatch final : public replay::DispatchObject {
public:
    using Handler = std::function<HRESULT(VARIANT* result, EXCEPINFO*)>;

    Handler handler = [](VARIANT*, EXCEPINFO*) { return S_OK; };
    // One line a call: member, flags, "named" for a property put, then type:text of each argument.
    std::vector<std::wstring> invocations;
    int nameLookups = 0;

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* ids) override {
        ++nameLookups;
        const std::wstring name = names[0];
        if (name == L"Missing") return DISP_E_UNKNOWNNAME;
        auto known = std::find(names_.begin(), names_.end(), name);
        if (known == names_.end()) known = names_.insert(known, name);
        *ids = static_cast<DISPID>(known - names_.begin()) + 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        std::wstring call = names_.at(id - 1) + L" " + std::to_wstring(flags);
        if (params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT) {
            call += L" named";
        }
        for (UINT k = params->cArgs; k-- > 0;) {  // stored last to first
            VARIANT text;
            VariantInit(&text);
            VariantChangeTypeEx(&text, &params->rgvarg[k], LOCALE_INVARIANT, VARIANT_ALPHABOOL,
                                VT_BSTR);
            call += L" " + std::to_wstring(params->rgvarg[k].vt) + L":" +
                    std::wstring(text.bstrVal, SysStringLen(text.bstrVal));
            VariantClear(&text);
        }
        invocations.push_back(call);
        return handler(result, exception);
    }

private:
    std::vector<std::wstring> names_;  // a member's DISPID is its place here, from 1
};

class com_in_process : public ::testing::Test {
protected:
    com_in_process() : host_(ComPtr<IDispatch>::share(&fake_)) {}

    void answerWith(VARIANT value) {
        VariantCopy(answer_.get(), &value);
        fake_.handler = [this](VARIANT* result, EXCEPINFO*) {
            return result ? VariantCopy(result, answer_.get()) : S_OK;
        };
    }

    com::ComApartment apartment_;
    FakeDispatch fake_;
    ComAutomation host_;
    Variant answer_;
};

TEST_F(com_in_process, calls_methods_gets_and_puts_properties_as_automation_expects) {
    host_.Do("Set Map Redraw Off");
    host_.RunMenuCommand(616);
    host_.SetLastErrorCode(0);
    host_.SetVisible(true);
    host_.LastErrorMessage();
    EXPECT_EQ(fake_.invocations,
              (std::vector<std::wstring>{L"Do 1 8:Set Map Redraw Off", L"RunMenuCommand 1 3:616",
                                         L"LastErrorCode 4 named 3:0", L"Visible 4 named 11:True",
                                         L"LastErrorMessage 2"}));
    host_.Do("y");
    EXPECT_EQ(fake_.nameLookups, 5) << "each member's name is looked up once";
}

TEST_F(com_in_process, turns_answers_of_any_type_into_host_text) {
    VARIANT real{}, whole{}, yes{}, null{};
    real.vt = VT_R8;
    real.dblVal = 2.5;  // a point whatever the user's decimal separator
    whole.vt = VT_I4;
    whole.lVal = -12;
    yes.vt = VT_BOOL;
    yes.boolVal = VARIANT_TRUE;
    null.vt = VT_NULL;
    for (const auto& [value, text] :
         {std::pair{real, "2.5"}, {whole, "-12"}, {yes, "T"}, {null, ""}}) {
        answerWith(value);
        EXPECT_EQ(host_.Eval("x"), text);
    }
}

TEST_F(com_in_process, text_that_is_no_number_or_not_utf8_is_a_type_mismatch) {
    EXPECT_EQ(errorNumberOf([this] { host_.Do("bad \xFF text"); }), err::kTypeMismatch);
    EXPECT_TRUE(fake_.invocations.empty()) << "the host saw text that is not UTF-8";
    answerWith(*Variant::text("many").get());
    EXPECT_EQ(errorNumberOf([this] { host_.LastErrorCode(); }), err::kTypeMismatch);
}

HRESULT STDAPICALLTYPE fillLater(EXCEPINFO* info) {
    info->bstrDescription = SysAllocString(L"filled in late");
    return S_OK;
}

TEST_F(com_in_process, failures_become_error_numbers_with_a_readable_description) {
    struct Row {
        HRESULT hr;
        const wchar_t* description;  // what the host puts in EXCEPINFO, if anything
        HRESULT(STDAPICALLTYPE* deferred)(EXCEPINFO*);
        std::int32_t number;
        std::string shown, source;  // empty: any
    };
    const std::string noText = "Automation error: the host reported a failure";
    const Row rows[] = {
        {DISP_E_EXCEPTION, L"Таблица не открыта", nullptr, err::kAutomationFailure,
         "Таблица не открыта", "MapInfo"},
        {DISP_E_EXCEPTION, nullptr, fillLater, err::kAutomationFailure, "filled in late", ""},
        {DISP_E_EXCEPTION, nullptr, nullptr, err::kAutomationFailure, noText, "Eval"},
        {HRESULT(0x800706BA), nullptr, nullptr, err::kHostGone, "", ""},  // the server vanished
        {HRESULT(0x800706BE), nullptr, nullptr, err::kHostGone, "", ""},
        {HRESULT(0x80010108), nullptr, nullptr, err::kHostGone, "", ""},
        {E_ACCESSDENIED, nullptr, nullptr, static_cast<std::int32_t>(E_ACCESSDENIED), "", ""}};
    for (const Row& row : rows) {
        fake_.handler = [&row](VARIANT*, EXCEPINFO* info) {
            if (row.description) {
                info->bstrDescription = SysAllocString(row.description);
                info->bstrSource = SysAllocString(L"MapInfo");
            }
            info->pfnDeferredFillIn = row.deferred;
            return row.hr;
        };
        const Raised e = raisedBy([this] { host_.Eval("1"); });
        EXPECT_EQ(e.number, row.number) << std::hex << row.hr;
        EXPECT_FALSE(e.description.empty()) << std::hex << row.hr;
        if (!row.shown.empty()) {
            EXPECT_EQ(e.description, row.shown);
        }
        if (!row.source.empty()) {
            EXPECT_EQ(e.source, row.source);
        }
    }
    com::DispatchClient client(ComPtr<IDispatch>::share(&fake_));
    const Raised missing = raisedBy([&] { client.get(L"Missing"); });
    EXPECT_EQ(missing.number, com::kNoSuchMember);
    EXPECT_EQ(missing.source, "Missing");
}

TEST(com_ptr, releases_exactly_once_and_moves_ownership) {
    FakeDispatch object;
    {
        auto first = ComPtr<IDispatch>::share(&object);
        EXPECT_EQ(object.references, 2u);
        ComPtr<IDispatch> second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_TRUE(second);
        ComPtr<IDispatch> third;
        third = std::move(second);
        EXPECT_EQ(object.references, 2u);
        auto unknown = third.query<IUnknown>();
        EXPECT_EQ(object.references, 3u);
        auto none = third.query<IStream>();
        EXPECT_FALSE(none);
    }
    EXPECT_EQ(object.references, 1u);
}

TEST(com_ptr, an_empty_pointer_cannot_make_an_automation_object) {
    EXPECT_EQ(errorNumberOf([] { ComAutomation host{ComPtr<IDispatch>()}; }), 91);
}

}  // namespace
}  // namespace veltrano::testing
