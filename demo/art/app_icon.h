// The program's icon for the desktop: a firefly glowing over night grass on a rounded tile.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace demo_art {

// The icon's side lengths, the sizes desktops look for in the hicolor theme.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon at `size` × `size` as RGBA bytes, top row first. Integer arithmetic only, so it
// is the same from every build.
std::vector<std::uint8_t> PaintAppIcon(int size);

// Writes every size into `theme_dir`/NxN/apps/`name`.png; an error text, or "".
std::string WriteAppIcons(const std::filesystem::path& theme_dir, const std::string& name);

}  // namespace demo_art
