// GetLocalTime: the wall-clock time in the user's time zone, as the system reports it.

#include <ctime>

#include "platform/backend.h"

void GetLocalTime(SYSTEMTIME* time) {
  if (time == nullptr) return;
  if (platform::CurrentBackend().LocalTime(time)) return;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  std::tm local{};
  // localtime_r reads the zone only once per process; tzset picks up a changed one (TZ).
  ::tzset();
  ::localtime_r(&now.tv_sec, &local);
  time->wYear = static_cast<WORD>(local.tm_year + 1900);
  time->wMonth = static_cast<WORD>(local.tm_mon + 1);
  time->wDayOfWeek = static_cast<WORD>(local.tm_wday);  // 0 is Sunday on both sides
  time->wDay = static_cast<WORD>(local.tm_mday);
  time->wHour = static_cast<WORD>(local.tm_hour);
  time->wMinute = static_cast<WORD>(local.tm_min);
  // A leap second (tm_sec 60) is not a value Windows gives.
  time->wSecond = static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec);
  time->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}
