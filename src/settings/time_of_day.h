#pragma once
// The time of the daily backup as the settings file stores it: "hh:nn:ss".
#include <optional>
#include <string>
#include <string_view>

#include "platform/environment.h"

namespace qln {

// Two digits each, joined by ":".
std::string format_time_of_day(const TimeOfDay& t);

// Hours 0-23, minutes and seconds 0-59, one or two digits each, separated by ":" or by the
// locale's time separator; the seconds may be left out. nullopt for anything else.
std::optional<TimeOfDay> parse_time_of_day(std::string_view text,
                                           std::string_view locale_separator = ":");

}  // namespace qln
