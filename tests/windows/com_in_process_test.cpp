// The COM adapter's calling conventions and error mapping, against an IDispatch in this
// process that fails on demand.
#include <windows.h>

#include <gtest/gtest.h>

#include <oleauto.h>

#include <functional>
#include <map>
#include <vector>

#include "automation/com/com_apartment.h"
#include "automation/com/com_automation.h"
#include "automation/com/com_ptr.h"
#include "automation/com/hresult_error.h"
#include "automation/com/variant.h"
#include "foundation/run_time_error.h"

namespace veltrano::testing {
namespace {

using com::ComAutomation;
using com::ComPtr;
using com::Variant;

struct Invocation {
    std::wstring member;
    WORD flags;
    std::vector<std::wstring> argumentTexts;
    std::vector<VARTYPE> argumentTypes;
    bool namedPut;
};

// An automation object whose every answer a test decides.
class FakeDispatch final : public IDispatch {
public:
    using Handler = std::function<HRESULT(const Invocation&, VARIANT* result, EXCEPINFO*)>;

    Handler handler = [](const Invocation&, VARIANT*, EXCEPINFO*) { return S_OK; };
    std::vector<Invocation> invocations;
    int nameLookups = 0;
    ULONG references = 1;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT, LCID,
                                            DISPID* ids) override {
        ++nameLookups;
        const std::wstring name = names[0];
        if (name == L"Missing") return DISP_E_UNKNOWNNAME;
        if (!ids_.count(name)) ids_[name] = static_cast<DISPID>(ids_.size() + 1);
        *ids = ids_[name];
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        Invocation call{
            nameOf(id),
            flags,
            {},
            {},
            params->cNamedArgs == 1 && params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT};
        for (UINT k = params->cArgs; k-- > 0;) {  // stored last to first
            VARIANT text;
            VariantInit(&text);
            VariantChangeTypeEx(&text, &params->rgvarg[k], LOCALE_INVARIANT, 0, VT_BSTR);
            call.argumentTexts.emplace_back(text.bstrVal, SysStringLen(text.bstrVal));
            call.argumentTypes.push_back(params->rgvarg[k].vt);
            VariantClear(&text);
        }
        invocations.push_back(call);
        return handler(call, result, exception);
    }

private:
    std::wstring nameOf(DISPID id) const {
        for (const auto& [name, known] : ids_) {
            if (known == id) return name;
        }
        return L"?";
    }
    std::map<std::wstring, DISPID> ids_;
};

class ComInProcess : public ::testing::Test {
protected:
    ComInProcess() : host_(ComPtr<IDispatch>::share(&fake_)) {}

    void answerWith(VARIANT value) {
        fake_.handler = [value](const Invocation&, VARIANT* result, EXCEPINFO*) mutable {
            if (result) VariantCopy(result, &value);
            return S_OK;
        };
    }
    void failWith(HRESULT hr) {
        fake_.handler = [hr](const Invocation&, VARIANT*, EXCEPINFO*) { return hr; };
    }
    RunTimeError evalError() {
        try {
            host_.Eval("1");
        } catch (const RunTimeError& e) {
            return e;
        }
        return RunTimeError(0, "no error");
    }

    com::ComApartment apartment_;
    FakeDispatch fake_;
    ComAutomation host_;
};

TEST_F(ComInProcess, calls_methods_gets_and_puts_properties_as_automation_expects) {
    host_.Do("Set Map Redraw Off");
    host_.RunMenuCommand(616);
    host_.SetLastErrorCode(0);
    host_.SetVisible(true);
    host_.LastErrorMessage();
    ASSERT_EQ(fake_.invocations.size(), 5u);
    EXPECT_EQ(fake_.invocations[0].member, L"Do");
    EXPECT_EQ(fake_.invocations[0].flags, DISPATCH_METHOD);
    EXPECT_EQ(fake_.invocations[0].argumentTexts, std::vector<std::wstring>{L"Set Map Redraw Off"});
    EXPECT_EQ(fake_.invocations[0].argumentTypes, std::vector<VARTYPE>{VT_BSTR});
    EXPECT_EQ(fake_.invocations[1].argumentTypes, std::vector<VARTYPE>{VT_I4});
    EXPECT_EQ(fake_.invocations[1].argumentTexts, std::vector<std::wstring>{L"616"});
    EXPECT_EQ(fake_.invocations[2].flags, DISPATCH_PROPERTYPUT);
    EXPECT_TRUE(fake_.invocations[2].namedPut);
    EXPECT_EQ(fake_.invocations[2].argumentTypes, std::vector<VARTYPE>{VT_I4});
    EXPECT_EQ(fake_.invocations[3].argumentTypes, std::vector<VARTYPE>{VT_BOOL});
    EXPECT_EQ(fake_.invocations[4].flags, DISPATCH_PROPERTYGET);
    EXPECT_TRUE(fake_.invocations[4].argumentTexts.empty());
}

TEST_F(ComInProcess, looks_each_member_name_up_once) {
    host_.Eval("1");
    host_.Eval("2");
    host_.Do("x");
    host_.Do("y");
    EXPECT_EQ(fake_.nameLookups, 2);
}

TEST_F(ComInProcess, turns_answers_of_any_type_into_host_text) {
    VARIANT v;
    v.vt = VT_R8;
    v.dblVal = 2.5;
    answerWith(v);
    EXPECT_EQ(host_.Eval("x"), "2.5");  // a point whatever the user's decimal separator
    v.vt = VT_I4;
    v.lVal = -12;
    answerWith(v);
    EXPECT_EQ(host_.Eval("x"), "-12");
    v.vt = VT_BOOL;
    v.boolVal = VARIANT_TRUE;
    answerWith(v);
    EXPECT_EQ(host_.Eval("x"), "T");
    v.vt = VT_NULL;
    answerWith(v);
    EXPECT_EQ(host_.Eval("x"), "");
    v.vt = VT_I4;
    v.lVal = 1;
    answerWith(v);
    EXPECT_TRUE(host_.Visible());
    EXPECT_EQ(host_.LastErrorCode(), 1);
}

TEST_F(ComInProcess, an_answer_that_is_no_number_where_one_is_needed_is_a_type_mismatch) {
    VARIANT v;
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(L"many");
    answerWith(v);
    try {
        host_.LastErrorCode();
        FAIL() << "must raise";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::kTypeMismatch);
    }
    VariantClear(&v);
}

TEST_F(ComInProcess, a_host_reported_failure_carries_the_host_description) {
    fake_.handler = [](const Invocation&, VARIANT*, EXCEPINFO* info) {
        info->bstrDescription = SysAllocString(L"Таблица не открыта");
        info->bstrSource = SysAllocString(L"MapInfo");
        return DISP_E_EXCEPTION;
    };
    const RunTimeError e = evalError();
    EXPECT_EQ(e.number(), err::kAutomationFailure);
    EXPECT_EQ(e.description(), "Таблица не открыта");
    EXPECT_EQ(e.source(), "MapInfo");
}

HRESULT STDAPICALLTYPE fillLater(EXCEPINFO* info) {
    info->bstrDescription = SysAllocString(L"filled in late");
    return S_OK;
}

TEST_F(ComInProcess, a_deferred_failure_description_is_fetched) {
    fake_.handler = [](const Invocation&, VARIANT*, EXCEPINFO* info) {
        info->pfnDeferredFillIn = fillLater;
        return DISP_E_EXCEPTION;
    };
    EXPECT_EQ(evalError().description(), "filled in late");
}

TEST_F(ComInProcess, a_failure_without_description_still_reads_clearly) {
    failWith(DISP_E_EXCEPTION);
    const RunTimeError e = evalError();
    EXPECT_EQ(e.number(), err::kAutomationFailure);
    EXPECT_EQ(e.description(), "Automation error: the host reported a failure");
    EXPECT_EQ(e.source(), "Eval");
}

TEST_F(ComInProcess, every_sign_of_a_vanished_server_is_462) {
    for (const HRESULT gone : {HRESULT(0x800706BA), HRESULT(0x800706BE), HRESULT(0x80010108)}) {
        failWith(gone);
        EXPECT_EQ(evalError().number(), err::kHostGone) << std::hex << gone;
    }
}

TEST_F(ComInProcess, a_member_the_object_lacks_is_438_and_other_failures_keep_their_code) {
    com::DispatchClient client(ComPtr<IDispatch>::share(&fake_));
    try {
        client.get(L"Missing");
        FAIL() << "must raise";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), com::kNoSuchMember);
        EXPECT_EQ(e.source(), "Missing");
    }
    failWith(E_ACCESSDENIED);
    const RunTimeError e = evalError();
    EXPECT_EQ(e.number(), static_cast<std::int32_t>(E_ACCESSDENIED));
    EXPECT_FALSE(e.description().empty());
}

TEST_F(ComInProcess, text_that_is_not_utf8_is_refused_before_it_reaches_the_host) {
    try {
        host_.Do("bad \xFF text");
        FAIL() << "must raise";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::kTypeMismatch);
    }
    EXPECT_TRUE(fake_.invocations.empty());
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
    try {
        ComAutomation host{ComPtr<IDispatch>()};
        FAIL() << "must raise";
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 91);
    }
}

}  // namespace
}  // namespace veltrano::testing
