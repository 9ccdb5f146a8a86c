#include "authoring/scn_file.h"

#include <stdexcept>

#include "authoring/block_encoder.h"
#include "resources/block_unpacker.h"

namespace authoring {
namespace {

constexpr std::size_t kSizeField = 4;
constexpr std::size_t kPositionUnit = 16;

std::string UnpackOne(std::span<const std::uint8_t> file, std::size_t at, const char* name,
                      std::vector<std::uint8_t>* out, std::vector<std::string>* warnings) {
  if (at >= file.size())
    return std::string(name) + " lies at byte " + std::to_string(at) +
           ", past the end of the file (" + std::to_string(file.size()) + " bytes)";
  const std::uint8_t* packed = file.data() + at;
  const auto packed_size = static_cast<std::uint32_t>(file.size() - at);
  const std::int32_t size = resources::PackedBlockSize(packed, packed_size);
  if (size > resources::kMaxUnpackedBlockSize)
    return std::string(name) + " declares " + std::to_string(size) +
           " bytes; the game unpacks at most " + std::to_string(resources::kMaxUnpackedBlockSize);
  out->assign(static_cast<std::size_t>(size), 0);
  if (size > 0) {
    const std::size_t produced = resources::UnpackStream(
        packed + kSizeField, packed_size - kSizeField, out->data(), out->size());
    if (produced < out->size())
      warnings->push_back(std::string(name) + ": the stream ends after " +
                          std::to_string(produced) + " of " + std::to_string(size) +
                          " bytes (the rest is 0)");
  }
  return "";
}

void PadTo16(std::vector<std::uint8_t>& file) {
  while (file.size() % kPositionUnit != 0) file.push_back(0);
}

}  // namespace

std::string UnpackScenarioFile(std::span<const std::uint8_t> file, ScenarioBlocks* out,
                               std::vector<std::string>* warnings) {
  if (file.size() < 4)
    return "the header is cut short (" + std::to_string(file.size()) + " bytes, 4 needed)";
  const std::size_t event_at = (file[0] | file[1] << 8) * kPositionUnit;
  const std::size_t message_at = (file[2] | file[3] << 8) * kPositionUnit;
  ScenarioBlocks blocks;
  if (std::string error = UnpackOne(file, event_at, "EVENT DATA", &blocks.event, warnings);
      !error.empty())
    return error;
  if (std::string error = UnpackOne(file, message_at, "MESSAGE DATA", &blocks.messages, warnings);
      !error.empty())
    return error;
  *out = std::move(blocks);
  return "";
}

std::vector<std::uint8_t> BuildScenarioFile(const ScenarioBlocks& blocks) {
  std::vector<std::uint8_t> file(kPositionUnit, 0);
  std::size_t positions[2];
  const std::vector<std::uint8_t>* parts[2] = {&blocks.event, &blocks.messages};
  for (int i = 0; i < 2; ++i) {
    PadTo16(file);
    positions[i] = file.size() / kPositionUnit;
    if (positions[i] > 0xFFFF)
      throw std::length_error(
          "the scenario file is too large: a block would start past byte 1048560");
    const std::vector<std::uint8_t> packed = PackBlock(*parts[i]);
    file.insert(file.end(), packed.begin(), packed.end());
  }
  for (int i = 0; i < 2; ++i) {
    file[2 * i] = static_cast<std::uint8_t>(positions[i] & 0xFF);
    file[2 * i + 1] = static_cast<std::uint8_t>(positions[i] >> 8);
  }
  return file;
}

}  // namespace authoring
