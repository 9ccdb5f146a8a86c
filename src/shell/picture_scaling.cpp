#include "shell/picture_scaling.h"

#include "core/program_identity.h"
#include "platform/presentation.h"
#include "platform/profile.h"
#include "shell/settings.h"
#include "shell/startup.h"

namespace shell {
namespace {

using platform::Presentation;
using platform::ScaleFilter;
using platform::ScaleMode;

struct ModeRow {
  UINT command;
  ScaleMode mode;
  const char* value;
};
const ModeRow kModes[] = {
    {kCommandScaleFit, ScaleMode::kFit, "fit"},
    {kCommandScaleWhole, ScaleMode::kWhole, "whole"},
    {kCommandScaleStretch, ScaleMode::kStretch, "stretch"},
};

struct FilterRow {
  UINT command;
  ScaleFilter filter;
  const char* value;
};
const FilterRow kFilters[] = {
    {kCommandFilterNearest, ScaleFilter::kNearest, "nearest"},
    {kCommandFilterSmooth, ScaleFilter::kSmooth, "smooth"},
};

void ShowChoice(HWND hwnd, const Presentation& p) {
  HMENU menu = GetMenu(hwnd);
  for (const ModeRow& r : kModes) {
    CheckMenuItem(menu, r.command, r.mode == p.mode ? MF_CHECKED : MF_UNCHECKED);
  }
  for (const FilterRow& r : kFilters) {
    CheckMenuItem(menu, r.command, r.filter == p.filter ? MF_CHECKED : MF_UNCHECKED);
  }
}

void WriteChoice(HWND hwnd, const Presentation& p) {
  const char* mode = kModes[0].value;
  for (const ModeRow& r : kModes) {
    if (r.mode == p.mode) mode = r.value;
  }
  const char* filter = kFilters[0].value;
  for (const FilterRow& r : kFilters) {
    if (r.filter == p.filter) filter = r.value;
  }
  const platform::ProfileEntry entries[] = {{kScalingKey, mode}, {kFilterKey, filter}};
  // Only our own keys change; the file is replaced whole with the rest of it kept.
  WriteIniKeys(hwnd, kScalingSection, entries);
}

}  // namespace

void ReadScalingChoice(HWND hwnd) {
  Presentation p;
  char value[64];
  GetPrivateProfileStringA(kScalingSection, kScalingKey, "", value, sizeof value, core::kIniFile);
  for (const ModeRow& r : kModes) {
    if (StrEqual(value, r.value, 0)) p.mode = r.mode;
  }
  GetPrivateProfileStringA(kScalingSection, kFilterKey, "", value, sizeof value, core::kIniFile);
  for (const FilterRow& r : kFilters) {
    if (StrEqual(value, r.value, 0)) p.filter = r.filter;
  }
  platform::SetPresentation(p);
  ShowChoice(hwnd, p);
}

bool ScalingCommand(HWND hwnd, UINT id) {
  Presentation p = platform::CurrentPresentation();
  bool known = false;
  for (const ModeRow& r : kModes) {
    if (r.command == id) p.mode = r.mode, known = true;
  }
  for (const FilterRow& r : kFilters) {
    if (r.command == id) p.filter = r.filter, known = true;
  }
  if (!known) return false;
  platform::SetPresentation(p);
  ShowChoice(hwnd, p);
  WriteChoice(hwnd, p);
  return true;
}

}  // namespace shell
