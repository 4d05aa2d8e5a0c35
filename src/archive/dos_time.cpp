#include "archive/dos_time.h"

#include <algorithm>

namespace qln::archive {

std::uint32_t to_dos_time(const LocalTime& t) {
  if (t.year < 1980) return (1u << 5 | 1u) << 16;  // 1980-01-01 00:00:00
  if (t.year > 2107) return (127u << 9 | 12u << 5 | 31u) << 16 | (23u << 11 | 59u << 5 | 29u);
  const std::uint32_t date = static_cast<std::uint32_t>(t.year - 1980) << 9 |
                             static_cast<std::uint32_t>(std::clamp(t.month, 1, 12)) << 5 |
                             static_cast<std::uint32_t>(std::clamp(t.day, 1, 31));
  const std::uint32_t time = static_cast<std::uint32_t>(std::clamp(t.hour, 0, 23)) << 11 |
                             static_cast<std::uint32_t>(std::clamp(t.minute, 0, 59)) << 5 |
                             static_cast<std::uint32_t>(std::clamp(t.second, 0, 59) / 2);
  return date << 16 | time;
}

LocalTime from_dos_time(std::uint32_t dos) {
  LocalTime t;
  const std::uint32_t date = dos >> 16;
  const std::uint32_t time = dos & 0xFFFF;
  t.year = 1980 + static_cast<int>(date >> 9);
  t.month = std::clamp(static_cast<int>((date >> 5) & 0x0F), 1, 12);
  t.day = std::clamp(static_cast<int>(date & 0x1F), 1, 31);
  t.hour = std::min(static_cast<int>(time >> 11), 23);
  t.minute = std::min(static_cast<int>((time >> 5) & 0x3F), 59);
  t.second = std::min(static_cast<int>(time & 0x1F) * 2, 59);
  return t;
}

}  // namespace qln::archive
