#pragma once
// Conversions and arithmetic as the engine's procedures do them: a failure
// raises the runtime error number (13 type mismatch, 11 division by zero) so
// that the procedure's error trap handles it like any other error.

#include <string>
#include <string_view>

// The number a text holds ("3", " 2 ", "1.5"); kTypeMismatch otherwise.
double NumberFromText(std::string_view text);
// The whole number a text holds, rounded half to even; kTypeMismatch otherwise.
int IntegerFromText(std::string_view text);
// Whether the text holds exactly that number (a text that is no number holds none).
bool TextIsNumber(std::string_view text, double number);

// dividend / divisor; kDivisionByZero when the divisor is 0, so that a step
// never becomes infinite or not a number.
double Divide(double dividend, double divisor);

// The text without leading and trailing blanks.
std::string Trim(std::string_view text);
// Whether the text contains the part, in any letter case.
bool ContainsIgnoringCase(std::string_view text, std::string_view part);
