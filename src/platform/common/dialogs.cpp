// Modal dialogs from the program's dialog templates. The loop runs the owner's messages
// (painting, timers) while the dialog is open, as a modal dialog does; input meant for the
// owner is dropped, since the owner is disabled meanwhile.
#include <algorithm>
#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/common/platform_state.h"
#include "platform/common/window_table.h"

namespace platform {

DialogsState Dialogs;

namespace {

DialogState* FindDialog(HWND dialog) {
  for (auto& d : Dialogs.open_dialogs) {
    if (d->handle == dialog) return d.get();
  }
  return nullptr;
}

bool IsOwnerInput(UINT message) {
  return (message >= WM_KEYDOWN && message <= WM_CHAR) ||
         (message >= WM_MOUSEMOVE && message <= WM_RBUTTONUP) || message == WM_COMMAND ||
         message == WM_SYSCOMMAND;
}

std::string CheckStates(const DialogState& d) {
  std::string out;
  for (const auto& c : d.layout.controls) {
    if (c.kind != ControlKind::kCheckBox) continue;
    out += " " + (c.script_name.empty() ? std::to_string(c.id) : c.script_name) + "=" +
           (d.checks.count(c.id) && d.checks.at(c.id) ? "1" : "0");
  }
  return out;
}

}  // namespace

void RegisterDialogResource(const std::string& name, DialogSpec dialog) {
  for (auto& [n, layout] : Dialogs.dialog_resources) {
    if (n == name) {
      layout = std::move(dialog);
      return;
    }
  }
  Dialogs.dialog_resources.emplace_back(name, std::move(dialog));
}

const DialogSpec* DialogTemplate(HWND dialog) {
  DialogState* d = FindDialog(dialog);
  return d ? &d->layout : nullptr;
}

bool DialogCheck(HWND dialog, int id) {
  DialogState* d = FindDialog(dialog);
  return d && d->checks.count(id) && d->checks[id];
}

void SetDialogCheck(HWND dialog, int id, bool checked) {
  if (DialogState* d = FindDialog(dialog)) d->checks[id] = checked;
}

void PressDialogButton(HWND dialog, int id) {
  DialogState* d = FindDialog(dialog);
  if (d == nullptr || d->ended) return;
  d->proc(dialog, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void ResetDialogs() { Dialogs = DialogsState{}; }

}  // namespace platform

INT_PTR DialogBoxParamA(HINSTANCE, LPCSTR template_name, HWND, DLGPROC proc, LPARAM init_param) {
  using namespace platform;
  if (template_name == nullptr || proc == nullptr) return -1;
  auto found = std::find_if(Dialogs.dialog_resources.begin(), Dialogs.dialog_resources.end(),
                            [&](const auto& r) { return r.first == template_name; });
  if (found == Dialogs.dialog_resources.end()) return -1;

  auto state = std::make_unique<DialogState>();
  state->handle = NewHandle();
  state->layout = found->second;
  state->proc = proc;
  DialogState* d = state.get();
  HWND h = d->handle;
  Dialogs.open_dialogs.push_back(std::move(state));

  Trace("dialog", "open " + Quoted(d->layout.caption));
  proc(h, WM_INITDIALOG, 0, init_param);
  Backend& backend = CurrentBackend();
  while (!d->ended) {
    backend.DialogStep(h);
    if (d->ended) break;
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
    if (msg.message == WM_QUIT) {
      // Leave the quit for the loop outside the dialog.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (IsOwnerInput(msg.message)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  const INT_PTR result = d->result;
  Trace("dialog", "close " + std::to_string(result) + CheckStates(*d));
  Dialogs.open_dialogs.erase(
      std::remove_if(Dialogs.open_dialogs.begin(), Dialogs.open_dialogs.end(),
                     [h](const auto& x) { return x->handle == h; }),
      Dialogs.open_dialogs.end());
  return result;
}

BOOL EndDialog(HWND dialog, INT_PTR result) {
  platform::DialogState* d = platform::FindDialog(dialog);
  if (d == nullptr) return FALSE;
  d->ended = true;
  d->result = result;
  return TRUE;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wparam, LPARAM) {
  platform::DialogState* d = platform::FindDialog(dialog);
  if (d == nullptr) return 0;
  switch (msg) {
    case BM_GETCHECK: return d->checks.count(id) && d->checks[id] ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK: d->checks[id] = wparam == BST_CHECKED; return 0;
    default: return 0;
  }
}
