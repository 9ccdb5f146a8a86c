// Screenshots (F12): the game's picture as shown, written as a PNG file into the user's
// pictures folder.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sdl/picture_placement.h"

namespace platform::sdl {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width × height × 3, top row first
};

// The picture that the client surface holds where `source` says (the client area as it is
// when it is smaller than the picture), read back pixel for pixel: each picture pixel from
// a client pixel showing it, so the shot is the picture exactly, whatever the window's size
// or the way the player chose to show it. Empty when the client pixels or the source's
// place do not fit the client's size.
RgbPicture PictureOfClient(const std::vector<std::uint8_t>& client_rgb, int client_width,
                           int client_height, const PictureSource& source);

// `xdg-user-dir PICTURES`, else (not installed, or no pictures folder set, which it answers
// with the home folder) ~/Pictures.
std::filesystem::path PicturesFolder();

// Writes the picture into `folder` (made when missing) as "hotaru YYYY-MM-DD HH-MM-SS.png",
// adding " (2)", " (3)" … to the name rather than replacing a file. False with a reason.
bool SaveScreenshot(const RgbPicture& picture, const std::filesystem::path& folder,
                    const std::tm& when, std::filesystem::path* saved, std::string* error);

}  // namespace platform::sdl
