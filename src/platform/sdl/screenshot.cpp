#include "platform/sdl/screenshot.h"

#include <fcntl.h>
#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/common/png_writer.h"
#include "platform/common/window_table.h"
#include "platform/sdl/sdl_backend.h"

namespace platform::sdl {
namespace {

constexpr std::uint32_t kTitleNoteMs = 1000;

std::filesystem::path HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return home;
  const passwd* pw = getpwuid(getuid());
  return pw != nullptr && pw->pw_dir != nullptr ? pw->pw_dir : ".";
}

// Reserves a name no file has (O_EXCL), so that two shots in one second, or a file the
// player made, are never written over.
bool ReserveName(const std::filesystem::path& folder, const std::string& stem,
                 std::filesystem::path* path, std::string* error) {
  for (int n = 1; n < 1000; ++n) {
    const std::string name = stem + (n == 1 ? "" : " (" + std::to_string(n) + ")") + ".png";
    const std::filesystem::path candidate = folder / name;
    const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      close(fd);
      *path = candidate;
      return true;
    }
    if (errno != EEXIST) {
      *error = "cannot write " + candidate.string() + ": " + std::strerror(errno);
      return false;
    }
  }
  *error = "too many screenshots named " + stem + " in " + folder.string();
  return false;
}

}  // namespace

RgbPicture PictureOfClient(const std::vector<std::uint8_t>& client_rgb, int client_width,
                           int client_height, const PictureSource& source) {
  RgbPicture out;
  const std::size_t client_bytes = static_cast<std::size_t>(std::max(client_width, 0)) *
                                   static_cast<std::size_t>(std::max(client_height, 0)) * 3;
  const PixelRect& in = source.in_client;
  if (client_width <= 0 || client_height <= 0 || client_rgb.size() < client_bytes ||
      source.width <= 0 || source.height <= 0 || in.x < 0 || in.y < 0 || in.w < source.width ||
      in.h < source.height || in.right() > client_width || in.bottom() > client_height) {
    return out;
  }
  const PlacedAxis x_axis(source.width, 0, source.width, in.x, in.w);
  const PlacedAxis y_axis(source.height, 0, source.height, in.y, in.h);
  out.width = source.width;
  out.height = source.height;
  out.rgb.resize(static_cast<std::size_t>(source.width) * static_cast<std::size_t>(source.height) *
                 3);
  std::uint8_t* to = out.rgb.data();
  for (int y = 0; y < source.height; ++y) {
    const std::size_t row =
        static_cast<std::size_t>(y_axis.ClientOf(y)) * static_cast<std::size_t>(client_width);
    for (int x = 0; x < source.width; ++x, to += 3) {
      const std::uint8_t* from =
          &client_rgb[(row + static_cast<std::size_t>(x_axis.ClientOf(x))) * 3];
      to[0] = from[0];
      to[1] = from[1];
      to[2] = from[2];
    }
  }
  return out;
}

std::filesystem::path PicturesFolder() {
  const std::filesystem::path home = HomeFolder();
  std::unique_ptr<FILE, int (*)(FILE*)> answer(popen("xdg-user-dir PICTURES 2>/dev/null", "r"),
                                               &pclose);
  if (answer) {
    char line[4096] = "";
    if (std::fgets(line, sizeof line, answer.get()) != nullptr) {
      std::string folder = line;
      while (!folder.empty() && (folder.back() == '\n' || folder.back() == '\r')) folder.pop_back();
      if (!folder.empty() && folder[0] == '/' &&
          std::filesystem::path(folder).lexically_normal() != home.lexically_normal()) {
        return folder;
      }
    }
  }
  return home / "Pictures";
}

bool SaveScreenshot(const RgbPicture& picture, const std::filesystem::path& folder,
                    const std::tm& when, std::filesystem::path* saved, std::string* error) {
  if (picture.width <= 0 || picture.height <= 0) {
    *error = "there is no picture to save";
    return false;
  }
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) {
    *error = "cannot make " + folder.string() + ": " + ec.message();
    return false;
  }
  char stem[64];
  std::strftime(stem, sizeof stem, "hotaru %Y-%m-%d %H-%M-%S", &when);
  std::filesystem::path path;
  if (!ReserveName(folder, stem, &path, error)) return false;
  if (!WritePngRgb(path.string(), picture.width, picture.height, picture.rgb)) {
    std::filesystem::remove(path, ec);
    *error = "cannot write " + path.string();
    return false;
  }
  *saved = path;
  return true;
}

void SdlBackend::TakeScreenshot() {
  WindowRecord* w = Main();
  if (w == nullptr) return;
  const RgbPicture picture =
      PictureOfClient(ClientRgb(*w), w->surface.width, w->surface.height,
                      SourceOfClient(w->surface.width, w->surface.height, view_.full_screen()));
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  std::filesystem::path saved;
  std::string error;
  if (SaveScreenshot(picture, PicturesFolder(), local, &saved, &error)) {
    Trace("screenshot", Quoted(saved.string()));
    ShowTitleNote("screenshot " + saved.filename().string());
  } else {
    std::fprintf(stderr, "hotaru: screenshot not saved: %s\n", error.c_str());
    ShowTitleNote("screenshot not saved");
  }
}

void SdlBackend::ShowTitleNote(const std::string& note) {
  WindowRecord* w = Main();
  if (w == nullptr || !view_.is_open()) return;
  view_.SetTitle(w->title + " \u2014 " + note);
  title_note_until_ = Now() + kTitleNoteMs;
}

void SdlBackend::EndTitleNoteWhenDue() {
  if (!title_note_until_ || static_cast<std::int32_t>(Now() - *title_note_until_) < 0) return;
  title_note_until_.reset();
  if (WindowRecord* w = Main(); w != nullptr && view_.is_open()) view_.SetTitle(w->title);
}

}  // namespace platform::sdl
