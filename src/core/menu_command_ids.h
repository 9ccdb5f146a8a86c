// The menu's command ids: the window sizes and full screen, and the other commands.
#pragma once

#include <cstdint>

namespace core {

constexpr std::uint16_t kModeFullScreen = 40000;
constexpr std::uint16_t kModeWindow640 = 40003;
constexpr std::uint16_t kModeOtherSize = 40009;

// The window sizes of the size commands 40001 to 40008 (client width × height).
struct ClientSize {
  std::uint16_t width;
  std::uint16_t height;
};
constexpr ClientSize kSizeTable[8] = {{320, 200}, {480, 300},  {640, 400},  {800, 500},
                                      {960, 600}, {1024, 640}, {1280, 800}, {1600, 1000}};
constexpr std::uint16_t kModeFirstSize = 40001;

constexpr std::uint16_t kCommandSettings = 40020;
constexpr std::uint16_t kCommandSkip = 40030;
constexpr std::uint16_t kCommandVersion = 40040;
constexpr std::uint16_t kCommandQuit = 40050;

}  // namespace core
