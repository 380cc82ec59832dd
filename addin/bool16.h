// The add-in's booleans are 16 bits wide, true -1 and false 0, as the mail
// client passes them (the send event's cancel flag) and as the send choice
// keeps them.
#pragma once

#include <cstdint>

namespace brellin {

using Bool16 = std::int16_t;

inline constexpr Bool16 kTrue16 = -1;
inline constexpr Bool16 kFalse16 = 0;

constexpr Bool16 ToBool16(bool value) { return value ? kTrue16 : kFalse16; }

}  // namespace brellin
