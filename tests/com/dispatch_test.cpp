#include "local_network.h"

#include "platform/com/dispatch_object.h"
#include "platform/com/error_info.h"
#include "platform/com/object.h"

using namespace com;
using com_testing::LocalNetworkTest;

namespace {

const ClassIdentity SampleIdentity{GuidLiteral("{11111111-2222-3333-4444-555555555555}"),
                                   GuidLiteral("{11111111-2222-3333-4444-666666666666}")};
const ClassIdentity OtherIdentity{GuidLiteral("{99999999-2222-3333-4444-555555555555}"),
                                  GuidLiteral("{99999999-2222-3333-4444-666666666666}")};

Module& TestModule()
{
    static Module module({}, "");
    return module;
}

// A component class with one member of each kind the table supports.
class Sample : public DispatchObject<Sample> {
public:
    Sample() : DispatchObject(TestModule()) {}

    static const ClassIdentity& Identity() { return SampleIdentity; }
    static const DispatchTable<Sample>& Members()
    {
        static const auto table = DispatchTable<Sample>()
            .get(1, "Text", {}, [](Sample& self, Invocation& call) { call.setResult(self.text_); })
            .put(1, "Text", StringArg, [](Sample& self, Invocation& call) { self.text_ = call.string(0); })
            .method(2, "Join", {StringArg, Optional(StringArg)},
                    [](Sample&, Invocation& call) {
                        call.setResult(call.string(0) + (call.isMissing(1) ? "<none>" : "+" + call.string(1)));
                    })
            .method(3, "Double", {LongArg, OutArg},
                    [](Sample&, Invocation& call) {
                        call.setOut(1, call.number(0) * 2);
                        call.setResult(call.number(0));
                    })
            .method(4, "Fail", {LongArg},
                    [](Sample&, Invocation& call) {
                        throw ComError(MakeHResult(0x80040200u + std::uint32_t(call.number(0))),
                                       "failed " + std::to_string(call.number(0)));
                    })
            .method(5, "FailAsOther", {},
                    [](Sample&, Invocation&) { throw IdentifiedError(MakeHResult(0x80040202), "Invalid array", OtherIdentity); })
            .method(6, "FailSilently", {}, [](Sample&, Invocation&) { throw ComError(MakeHResult(0x80040200), ""); })
            .get(7, "Child", {}, [](Sample&, Invocation& call) { call.setResult(DispatchVariant(MakeObject<Sample>())); });
        return table;
    }

private:
    std::string text_ = "start";
};

class DispatchTest : public LocalNetworkTest {
protected:
    void SetUp() override
    {
        LocalNetworkTest::SetUp();
        WriteClassesRoot("CLSID\\" + SampleIdentity.clsid.toString() + "\\ProgID", "Sample.Object");
        SetErrorInfo(std::nullopt);
    }

    ComPtr<IDispatch> sample = MakeObject<Sample>();
    Object object{sample};

    HRESULT invoke(const std::string& name, std::uint16_t flags, std::vector<Variant> args, Variant* result = nullptr,
                   ExcepInfo* exception = nullptr, std::uint32_t* argError = nullptr)
    {
        DISPID id = 0;
        EXPECT_EQ(sample->GetIDsOfNames(name, &id), S_OK) << name;
        return sample->Invoke(id, flags, args, result, exception, argError);
    }
};

} // namespace

TEST_F(DispatchTest, FindsMembersByNameWithoutRegardToCase)
{
    for (const char* name : {"Join", "join", "JOIN", "jOiN"}) {
        DISPID id = 0;
        EXPECT_EQ(sample->GetIDsOfNames(name, &id), S_OK) << name;
        EXPECT_EQ(id, 2) << name;
    }
    DISPID id = 0;
    EXPECT_EQ(sample->GetIDsOfNames("Joint", &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(sample->GetIDsOfNames("", &id), DISP_E_UNKNOWNNAME);
}

TEST_F(DispatchTest, BindsArgumentsToTheDeclaredParameters)
{
    struct Case {
        const char* what;
        std::vector<Variant> args;
        HRESULT expected;
        std::string result;
    };
    Variant referenced("r");
    const std::vector<Case> cases = {
        {"optional left out at the end", {"a"}, S_OK, "a<none>"},
        {"optional passed as missing", {"a", Variant::Missing()}, S_OK, "a<none>"},
        {"both given", {"a", "b"}, S_OK, "a+b"},
        {"numbers convert to text", {std::int32_t(7), 1.5}, S_OK, "7+1.5"},
        {"a reference is followed", {Variant::ByRef(&referenced), "b"}, S_OK, "r+b"},
        {"no arguments", {}, DISP_E_BADPARAMCOUNT, ""},
        {"too many", {"a", "b", "c"}, DISP_E_BADPARAMCOUNT, ""},
        {"required one missing", {Variant::Missing(), "b"}, DISP_E_PARAMNOTOPTIONAL, ""},
    };
    for (const auto& c : cases) {
        Variant result;
        EXPECT_EQ(invoke("Join", DISPATCH_METHOD, c.args, &result), c.expected) << c.what;
        if (c.expected == S_OK) {
            EXPECT_EQ(result.toString(), c.result) << c.what;
        }
    }

    std::uint32_t argError = 99;
    EXPECT_EQ(invoke("Double", DISPATCH_METHOD, {"not a number", Variant()}, nullptr, nullptr, &argError),
              DISP_E_TYPEMISMATCH);
    EXPECT_EQ(argError, 0u);
}

TEST_F(DispatchTest, OutArgumentsAreWrittenThroughTheCallersReference)
{
    Variant doubled("untouched");
    EXPECT_EQ(object.call("Double", 21, Variant::ByRef(&doubled)).toInt32(), 21);
    EXPECT_EQ(doubled, Variant(std::int32_t(42)));

    // Passed by value the out argument is simply lost.
    EXPECT_EQ(object.call("Double", 5, Variant()).toInt32(), 5);
}

TEST_F(DispatchTest, MatchesTheKindOfCall)
{
    Variant result;
    EXPECT_EQ(invoke("Text", DISPATCH_METHOD, {}, &result), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(invoke("Join", DISPATCH_PROPERTYPUT, {"x"}), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(invoke("Text", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.toString(), "start");

    object.put("text", "changed");
    EXPECT_EQ(object.get("TEXT").toString(), "changed");
    EXPECT_EQ(object.get("Child").get("Text").toString(), "start") << "results chain into calls";
}

TEST_F(DispatchTest, AFailingMemberReportsThroughTheErrorObject)
{
    ExcepInfo exception;
    ASSERT_EQ(invoke("Fail", DISPATCH_METHOD, {std::int32_t(7)}, nullptr, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.scode, MakeHResult(0x80040207));
    EXPECT_EQ(exception.description, "failed 7");
    EXPECT_EQ(exception.source, "Sample.Object");

    auto info = GetErrorInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->description, "failed 7");
    EXPECT_EQ(info->source, "Sample.Object");
    EXPECT_EQ(info->iid, SampleIdentity.iid);
    EXPECT_FALSE(GetErrorInfo()) << "taking the error object clears it";

    ASSERT_EQ(invoke("FailAsOther", DISPATCH_METHOD, {}, nullptr, &exception), DISP_E_EXCEPTION);
    info = GetErrorInfo();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->iid, OtherIdentity.iid);
    EXPECT_EQ(info->source, "") << "a class without a registered ProgID has no source";

    ASSERT_EQ(invoke("FailSilently", DISPATCH_METHOD, {}, nullptr, &exception), DISP_E_EXCEPTION);
    EXPECT_EQ(exception.description, "");
    EXPECT_FALSE(GetErrorInfo());
}

TEST_F(DispatchTest, TheLateBindingHelperThrowsTheMembersError)
{
    const auto thrown = [](const std::function<void()>& call) {
        try {
            call();
        } catch (const ComError& error) {
            return std::make_pair(error.number(), error.description());
        }
        return std::make_pair(S_OK, std::string("nothing thrown"));
    };
    EXPECT_EQ(thrown([&] { object.call("Fail", 3); }), std::make_pair(MakeHResult(0x80040203), std::string("failed 3")));
    EXPECT_EQ(thrown([&] { object.call("FailSilently"); }),
              std::make_pair(MakeHResult(0x80040200), std::string("Automation error")));
    EXPECT_EQ(thrown([&] { object.call("NoSuchMember"); }).first, DISP_E_UNKNOWNNAME);
    EXPECT_EQ(thrown([&] { object.call("Join"); }).first, DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(thrown([&] { Object().get("Text"); }),
              std::make_pair(CTL_E_OBJECTNOTSET, std::string("Object variable or With block variable not set")));
    EXPECT_EQ(thrown([&] { Object(Variant("text")); }).first, CTL_E_OBJECTREQUIRED);
    EXPECT_FALSE(Object(Variant())) << "Empty is Nothing";
}

TEST_F(DispatchTest, AnswersWhichInterfaceReportsErrors)
{
    auto support = ComPtr<IUnknown>(sample).query<ISupportErrorInfo>(IID_ISupportErrorInfo);
    ASSERT_TRUE(support);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(SampleIdentity.iid), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IDispatch), S_FALSE);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(OtherIdentity.iid), S_FALSE);

    EXPECT_TRUE(ComPtr<IUnknown>(sample).query<IDispatch>(SampleIdentity.iid)) << "the class's own interface";
    EXPECT_FALSE(ComPtr<IUnknown>(sample).query<IUnknown>(OtherIdentity.iid));
}

// The Sample objects count in TestModule(); the module under test only
// serves them through its class factory.
TEST(ModuleLifetime, CountsLiveObjectsAndServesOnlyItsClasses)
{
    Module module({{SampleIdentity.clsid, [] { return ComPtr<IDispatch>(MakeObject<Sample>()); }}}, "");
    const auto liveBefore = TestModule().lockCount();

    void* pointer = nullptr;
    EXPECT_EQ(module.getClassObject(OtherIdentity.clsid, IID_IClassFactory, &pointer), CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(module.getClassObject(SampleIdentity.clsid, IID_IClassFactory, &pointer), S_OK);
    auto factory = ComPtr<IClassFactory>::attach(static_cast<IClassFactory*>(pointer));

    ComPtr<IUnknown> outer(factory.get());
    EXPECT_EQ(factory->CreateInstance(outer.get(), IID_IDispatch, &pointer), CLASS_E_NOAGGREGATION);
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, &pointer), S_OK);
    auto instance = ComPtr<IDispatch>::attach(static_cast<IDispatch*>(pointer));
    EXPECT_EQ(TestModule().lockCount(), liveBefore + 1);
    instance.reset();
    EXPECT_EQ(TestModule().lockCount(), liveBefore);

    EXPECT_EQ(module.canUnloadNow(), S_OK);
    factory->LockServer(true);
    EXPECT_EQ(module.canUnloadNow(), S_FALSE);
    factory->LockServer(false);
    EXPECT_EQ(module.canUnloadNow(), S_OK);
}
