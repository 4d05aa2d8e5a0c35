#pragma once
// MS-DOS date and time as ZIP entries carry them: local time, two-second steps, 1980 to 2107.
#include <cstdint>

namespace qln::archive {

struct LocalTime {
  int year = 1980;  // full year
  int month = 1;    // 1..12
  int day = 1;      // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Times outside the DOS range are clamped to its ends.
std::uint32_t to_dos_time(const LocalTime& t);
LocalTime from_dos_time(std::uint32_t dos);

}  // namespace qln::archive
