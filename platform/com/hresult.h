#pragma once
// Error numbers as the platform reports them, and the exception that carries
// one from a failing platform call up to the procedure that traps it.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace com {

// A signed 32-bit status: negative values are failures. Logged in decimal, so
// 0x80040E19 appears as -2147217895.
using HRESULT = std::int32_t;

constexpr HRESULT MakeHResult(std::uint32_t bits) { return static_cast<HRESULT>(bits); }
constexpr bool Failed(HRESULT hr) { return hr < 0; }
constexpr bool Succeeded(HRESULT hr) { return hr >= 0; }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = MakeHResult(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = MakeHResult(0x80004002);
inline constexpr HRESULT E_POINTER = MakeHResult(0x80004003);
inline constexpr HRESULT E_FAIL = MakeHResult(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = MakeHResult(0x8000FFFF);
inline constexpr HRESULT E_ACCESSDENIED = MakeHResult(0x80070005);
inline constexpr HRESULT E_OUTOFMEMORY = MakeHResult(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = MakeHResult(0x80070057);

// Late binding.
inline constexpr HRESULT DISP_E_UNKNOWNINTERFACE = MakeHResult(0x80020001);
inline constexpr HRESULT DISP_E_MEMBERNOTFOUND = MakeHResult(0x80020003);
inline constexpr HRESULT DISP_E_PARAMNOTFOUND = MakeHResult(0x80020004);
inline constexpr HRESULT DISP_E_TYPEMISMATCH = MakeHResult(0x80020005);
inline constexpr HRESULT DISP_E_UNKNOWNNAME = MakeHResult(0x80020006);
inline constexpr HRESULT DISP_E_EXCEPTION = MakeHResult(0x80020009);
inline constexpr HRESULT DISP_E_BADINDEX = MakeHResult(0x8002000B);
inline constexpr HRESULT DISP_E_BADPARAMCOUNT = MakeHResult(0x8002000E);
inline constexpr HRESULT DISP_E_PARAMNOTOPTIONAL = MakeHResult(0x8002000F);

// Object creation.
inline constexpr HRESULT REGDB_E_CLASSNOTREG = MakeHResult(0x80040154);
inline constexpr HRESULT CO_E_CLASSSTRING = MakeHResult(0x800401F3);
inline constexpr HRESULT CO_E_DLLNOTFOUND = MakeHResult(0x8004015F);
inline constexpr HRESULT CO_E_ERRORINDLL = MakeHResult(0x800401F9);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = MakeHResult(0x80040111);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = MakeHResult(0x80040110);

// A Windows error code carried as an HRESULT (0x8007xxxx).
constexpr HRESULT HResultFromWin32(std::uint32_t code)
{
    return code == 0 ? S_OK : MakeHResult(0x80070000u | (code & 0xFFFFu));
}

// Automation-client errors raised by the late-binding helper.
inline constexpr HRESULT CTL_E_OBJECTNOTSET = MakeHResult(0x800A005B);
inline constexpr HRESULT CTL_E_OBJECTREQUIRED = MakeHResult(0x800A01A8);

// The standard text of an error number: the system message for a Windows
// error code carried as an HRESULT, the runtime's own text for the codes
// above; empty for a number it does not know.
std::string HResultText(HRESULT number);

// The failure of a platform call: its number and its description text.
class ComError : public std::runtime_error {
public:
    ComError(HRESULT number, std::string description)
        : std::runtime_error(description), number_(number), description_(std::move(description)) {}

    HRESULT number() const { return number_; }
    const std::string& description() const { return description_; }

private:
    HRESULT number_;
    std::string description_;
};

} // namespace com
