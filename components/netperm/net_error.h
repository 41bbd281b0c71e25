#pragma once
// The component's error scheme: a failing system call with code c is
// reported through the error object under CSPShares and ICSPShares, whichever
// class failed, with the text FormatNetError(c) and the number 0x80040000 | c.

#include "platform/com/hresult.h"

#include <string>
#include <utility>

namespace netperm {

constexpr com::HRESULT NetErrorResult(long code)
{
    return com::MakeHResult(0x80040000u | (std::uint32_t(code) & 0xFFFFu));
}

// "This Computer Name is Invalid" for 2351, else the system's text of code.
std::string FormatNetError(long code);

// Fails the member with the scheme's error.
[[noreturn]] void FailWithNetError(long code);
// Fails the member with the scheme's error for a failure of the network
// layer; one that carries no system code keeps its own number and text.
[[noreturn]] void FailWithNetError(const com::ComError& failure);
// Sets the error object as the scheme does, and lets the member go on.
void ReportNetError(const com::ComError& failure);

// Runs a call of the network layer; its failure fails the member with the
// scheme's error.
template <class Call>
auto NetCall(Call&& call) -> decltype(call())
{
    try {
        return std::forward<Call>(call)();
    } catch (const com::ComError& error) {
        FailWithNetError(error);
    }
}

} // namespace netperm
