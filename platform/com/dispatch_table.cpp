#include "platform/com/dispatch_table.h"

#include "platform/com/class_registry.h"
#include "platform/com/error_info.h"

#include <algorithm>
#include <cctype>
#include <new>

namespace com {

namespace {

// Converts one argument to its parameter's declared type; throws the
// ComError of Variant's conversions when it does not convert.
Variant ConvertArgument(ArgKind kind, const Variant& arg)
{
    switch (kind) {
    case ArgKind::String: return Variant(arg.toString());
    case ArgKind::Long: return Variant(arg.toInt32());
    case ArgKind::Bool: return Variant(arg.toBool());
    case ArgKind::Value:
    case ArgKind::Out: break;
    }
    return arg.deref();
}

ExcepInfo Report(const ClassIdentity& reporter, HRESULT number, const std::string& description)
{
    ExcepInfo info{number, {}, description};
    if (description.empty()) {
        SetErrorInfo(std::nullopt);
        return info;
    }
    info.source = ProgIDFromCLSID(reporter.clsid).value_or("");
    SetErrorInfo(ErrorInfo{info.description, info.source, reporter.iid});
    return info;
}

} // namespace

bool SameNameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

HRESULT Invocation::Bind(const std::vector<Param>& params, const std::vector<Variant>& args, Variant* result,
                         Invocation* bound, std::uint32_t* argError)
{
    if (args.size() > params.size()) return DISP_E_BADPARAMCOUNT;

    Invocation call;
    call.result_ = result;
    for (std::size_t i = 0; i < params.size(); ++i) {
        const Param& param = params[i];
        const bool given = i < args.size() && !args[i].deref().isMissing();
        if (!given) {
            if (!param.optional) return i < args.size() ? DISP_E_PARAMNOTOPTIONAL : DISP_E_BADPARAMCOUNT;
            call.values_.push_back(Variant::Missing());
            call.outs_.push_back(nullptr);
            continue;
        }
        if (param.kind == ArgKind::Out) {
            call.values_.push_back(args[i].deref());
            call.outs_.push_back(args[i].target());
            continue;
        }
        try {
            call.values_.push_back(ConvertArgument(param.kind, args[i]));
        } catch (const ComError&) {
            if (argError) *argError = std::uint32_t(i);
            return DISP_E_TYPEMISMATCH;
        }
        call.outs_.push_back(nullptr);
    }
    *bound = std::move(call);
    return S_OK;
}

std::string Invocation::string(std::size_t index) const
{
    return isMissing(index) ? std::string() : values_.at(index).toString();
}

std::int32_t Invocation::number(std::size_t index) const
{
    return isMissing(index) ? 0 : values_.at(index).toInt32();
}

bool Invocation::flag(std::size_t index) const { return !isMissing(index) && values_.at(index).toBool(); }

const Variant& Invocation::value(std::size_t index) const { return values_.at(index); }

bool Invocation::isMissing(std::size_t index) const { return values_.at(index).isMissing(); }

void Invocation::setOut(std::size_t index, Variant value)
{
    if (Variant* target = outs_.at(index)) *target = std::move(value);
}

void Invocation::setResult(Variant value)
{
    if (result_) *result_ = std::move(value);
}

void Invocation::setSuccessCode(HRESULT code) { successCode_ = code; }

HRESULT RunMember(const ClassIdentity& identity, const std::function<HRESULT()>& member, ExcepInfo* exception)
{
    ExcepInfo failure;
    try {
        return member();
    } catch (const IdentifiedError& error) {
        failure = Report(error.reporter(), error.number(), error.description());
    } catch (const ComError& error) {
        failure = Report(identity, error.number(), error.description());
    } catch (const std::bad_alloc&) {
        failure = Report(identity, E_OUTOFMEMORY, "");
    }
    if (exception) *exception = std::move(failure);
    return DISP_E_EXCEPTION;
}

} // namespace com
