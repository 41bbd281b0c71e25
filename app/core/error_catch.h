#pragma once
// Catching the failure of one statement: an error raised by a platform call
// (com::ComError) with its number and description, or any other exception as
// a general failure. The error trap and the error log's own procedures both
// handle their failures through it.

#include "platform/com/hresult.h"

#include <exception>
#include <optional>
#include <string>
#include <utility>

struct CaughtError {
    com::HRESULT number;
    std::string description;
};

// Runs the statement; the error it raised, or nothing when it succeeded.
template <class Statement>
std::optional<CaughtError> CatchError(Statement&& statement)
{
    try {
        std::forward<Statement>(statement)();
    } catch (const com::ComError& error) {
        return CaughtError{error.number(), error.description()};
    } catch (const std::exception& error) {
        return CaughtError{com::E_FAIL, error.what()};
    }
    return std::nullopt;
}
