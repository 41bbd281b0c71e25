#pragma once
// Members of a component class declared once, as a table: DISPID, name, kind,
// parameters and the code that runs. The table answers GetIDsOfNames and
// Invoke: it finds the member, binds and converts the arguments, runs the
// member and turns a thrown ComError into DISP_E_EXCEPTION with the error
// object set for the reporting class.

#include "platform/com/dispatch.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace com {

// The class that reports a member's errors: its CLSID gives the error
// object's source (the ProgID registered for it), iid the interface.
struct ClassIdentity {
    CLSID clsid;
    IID iid;
};

// A member failure reported under another class than the one called.
class IdentifiedError : public ComError {
public:
    IdentifiedError(HRESULT number, std::string description, ClassIdentity reporter)
        : ComError(number, std::move(description)), reporter_(reporter) {}
    const ClassIdentity& reporter() const { return reporter_; }

private:
    ClassIdentity reporter_;
};

// How a parameter is passed: by value, converted to the declared type, or as
// an out parameter that the member writes through the caller's reference.
enum class ArgKind : std::uint8_t { String, Long, Bool, Value, Out };

struct Param {
    ArgKind kind;
    bool optional = false;
};

inline constexpr Param StringArg{ArgKind::String};
inline constexpr Param LongArg{ArgKind::Long};
inline constexpr Param BoolArg{ArgKind::Bool};
inline constexpr Param VariantArg{ArgKind::Value};
inline constexpr Param OutArg{ArgKind::Out};
constexpr Param Optional(Param param)
{
    param.optional = true;
    return param;
}

// The arguments of one call, bound to the member's parameters by position.
class Invocation {
public:
    // Checks the count, converts each given argument to its parameter's type
    // and fills left-out optional ones with Variant::Missing(). Fails with
    // DISP_E_BADPARAMCOUNT, DISP_E_PARAMNOTOPTIONAL or DISP_E_TYPEMISMATCH
    // (argError then names the argument).
    static HRESULT Bind(const std::vector<Param>& params, const std::vector<Variant>& args, Variant* result,
                        Invocation* bound, std::uint32_t* argError);

    // Converted values; a left-out optional argument gives "", 0 or false.
    std::string string(std::size_t index) const;
    std::int32_t number(std::size_t index) const;
    bool flag(std::size_t index) const;
    // The value as passed (a reference already followed).
    const Variant& value(std::size_t index) const;
    bool isMissing(std::size_t index) const;

    // Writes an out parameter; lost when the caller passed it by value.
    void setOut(std::size_t index, Variant value);
    void setResult(Variant value);
    // Has Invoke answer a success code other than S_OK, such as S_FALSE for
    // a member whose result says that it did not do its work; a member that
    // fails throws its ComError instead.
    void setSuccessCode(HRESULT code);
    HRESULT successCode() const { return successCode_; }

private:
    std::vector<Variant> values_;
    std::vector<Variant*> outs_;
    Variant* result_ = nullptr;
    HRESULT successCode_ = S_OK;
};

// Member names compare without regard to (ASCII) case.
bool SameNameIgnoringCase(std::string_view a, std::string_view b);

// Runs a member's code and answers the success code it returns: a ComError
// it throws becomes DISP_E_EXCEPTION with exception filled and the thread's
// error object set (cleared when the error has no text); running out of
// memory becomes E_OUTOFMEMORY the same way.
HRESULT RunMember(const ClassIdentity& identity, const std::function<HRESULT()>& member, ExcepInfo* exception);

template <class T>
class DispatchTable {
public:
    using Handler = std::function<void(T&, Invocation&)>;

    DispatchTable& method(DISPID id, std::string name, std::vector<Param> params, Handler handler)
    {
        return add(id, std::move(name), DISPATCH_METHOD, std::move(params), std::move(handler));
    }
    DispatchTable& get(DISPID id, std::string name, std::vector<Param> params, Handler handler)
    {
        return add(id, std::move(name), DISPATCH_PROPERTYGET, std::move(params), std::move(handler));
    }
    // The new value is the put's only argument.
    DispatchTable& put(DISPID id, std::string name, Param value, Handler handler)
    {
        return add(id, std::move(name), DISPATCH_PROPERTYPUT, {value}, std::move(handler));
    }

    HRESULT idOf(std::string_view name, DISPID* id) const
    {
        for (const auto& member : members_)
            if (SameNameIgnoringCase(member.name, name)) {
                *id = member.id;
                return S_OK;
            }
        return DISP_E_UNKNOWNNAME;
    }

    HRESULT invoke(T& self, const ClassIdentity& identity, DISPID id, std::uint16_t flags,
                   const std::vector<Variant>& args, Variant* result, ExcepInfo* exception,
                   std::uint32_t* argError) const
    {
        const Member* member = find(id, flags);
        if (!member) return DISP_E_MEMBERNOTFOUND;
        Invocation call;
        if (const HRESULT bound = Invocation::Bind(member->params, args, result, &call, argError); Failed(bound))
            return bound;
        return RunMember(
            identity,
            [&] {
                member->handler(self, call);
                return call.successCode();
            },
            exception);
    }

private:
    struct Member {
        DISPID id;
        std::string name;
        std::uint16_t kind;
        std::vector<Param> params;
        Handler handler;
    };

    DispatchTable& add(DISPID id, std::string name, std::uint16_t kind, std::vector<Param> params, Handler handler)
    {
        members_.push_back({id, std::move(name), kind, std::move(params), std::move(handler)});
        return *this;
    }

    // A put matches only a put; a request for method and get together (as
    // automation clients send for "obj.Member(args)") matches either kind.
    const Member* find(DISPID id, std::uint16_t flags) const
    {
        const std::uint16_t wanted = (flags & DISPATCH_PROPERTYPUT) ? DISPATCH_PROPERTYPUT : (flags & 3);
        for (const auto& member : members_)
            if (member.id == id && (member.kind & wanted)) return &member;
        return nullptr;
    }

    std::vector<Member> members_;
};

} // namespace com
