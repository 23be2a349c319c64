// Whole numbers as text: hex digits as REGEDIT writes them, zero-padded
// decimals of dates and times, and decimals for the window's wide text.
// Made here rather than with the C library's formatted output, which brings
// the whole of its printf into each Windows program that uses it.
#pragma once

#include <cstdint>
#include <string>

namespace kwetro {

// Lower-case hex digits, at least digits of them (zeros before).
std::string HexDigits(std::uint64_t value, int digits = 1);

// Decimal digits, at least digits of them, a minus sign counted (as "%0*d").
std::string ZeroPadded(int value, int digits);

// Decimal digits in wide characters.
std::wstring WideDecimal(long long value);

}  // namespace kwetro
