// Screenshots (F12): the game's picture as shown, written as a PNG file into the user's
// pictures folder.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace platform::sdl {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width × height × 3, top row first
};

// The picture of picture_width × picture_height that a client area of client_width ×
// client_height shows (RGB, as on the screen). A client area at least that large shows it
// whole: scaled with nearest pixels to the client size when the client area has the
// picture's shape, else at its own size in the top left corner (full screen, with a black
// band below); each picture pixel is read back from
// a client pixel showing it, so the shot is the picture exactly, without the scaling. A
// smaller client area shows less than the picture: the shot is the client area as it is.
RgbPicture PictureOfClient(const std::vector<std::uint8_t>& client_rgb, int client_width,
                           int client_height, int picture_width, int picture_height);

// `xdg-user-dir PICTURES`, else (not installed, or no pictures folder set, which it answers
// with the home folder) ~/Pictures.
std::filesystem::path PicturesFolder();

// Writes the picture into `folder` (made when missing) as "hotaru YYYY-MM-DD HH-MM-SS.png",
// adding " (2)", " (3)" … to the name rather than replacing a file. False with a reason.
bool SaveScreenshot(const RgbPicture& picture, const std::filesystem::path& folder,
                    const std::tm& when, std::filesystem::path* saved, std::string* error);

}  // namespace platform::sdl
