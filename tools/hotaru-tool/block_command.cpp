// hotaru-tool block: packed data blocks (an i32 unpacked size, then the stream) to and from
// their plain bytes.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/block_encoder.h"
#include "authoring/pack_writer.h"
#include "command_support.h"
#include "commands.h"
#include "resources/block_unpacker.h"

namespace tool {
namespace {

constexpr const char* kUsage =
    "usage: hotaru-tool block unpack IN OUT\n"
    "       hotaru-tool block pack IN OUT\n"
    "\n"
    "  unpack  IN is a packed block (the unpacked size as a 4-byte little-endian number,\n"
    "          then the stream); writes the unpacked bytes to OUT\n"
    "  pack    writes the bytes of IN to OUT as a packed block (at most 16 MiB, the most\n"
    "          the game unpacks)\n";
const CommandText kCommand{"block", kUsage};

int Unpack(const std::string& in, const std::string& out) {
  std::vector<std::uint8_t> packed;
  if (std::string error = authoring::ReadWholeFile(in, &packed); !error.empty())
    return kCommand.Failure(error);
  if (packed.size() < 4)
    return kCommand.Failure(in + ": too short for a packed block (" +
                            std::to_string(packed.size()) + " bytes)");
  const auto size = static_cast<std::int32_t>(packed[0] | packed[1] << 8 | packed[2] << 16 |
                                              static_cast<std::uint32_t>(packed[3]) << 24);
  if (size < 0)
    return kCommand.Failure(in + ": the unpacked size is negative (" + std::to_string(size) + ")");
  const std::size_t stream_size = packed.size() - 4;
  // Two stream bytes make at most 18 bytes, so a size beyond that cannot be reached; said
  // before anything that large is allocated.
  if (static_cast<std::uint64_t>(size) > std::uint64_t{9} * stream_size)
    return kCommand.Failure(in + ": the stream (" + std::to_string(stream_size) +
                            " bytes) is too short for " + std::to_string(size) + " bytes");
  if (size > resources::kMaxUnpackedBlockSize)
    std::fprintf(stderr,
                 "hotaru-tool block: warning: %s: the game unpacks at most %d bytes, not %d\n",
                 in.c_str(), resources::kMaxUnpackedBlockSize, size);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  const std::size_t produced =
      resources::UnpackStream(packed.data() + 4, stream_size, data.data(), data.size());
  if (produced < data.size())
    return kCommand.Failure(in + ": the stream ends after " + std::to_string(produced) + " of " +
                            std::to_string(size) + " bytes");
  if (std::string error = authoring::WriteWholeFile(out, data); !error.empty())
    return kCommand.Failure(error);
  return 0;
}

int Pack(const std::string& in, const std::string& out) {
  std::vector<std::uint8_t> data;
  if (std::string error = authoring::ReadWholeFile(in, &data); !error.empty())
    return kCommand.Failure(error);
  if (data.size() > static_cast<std::size_t>(resources::kMaxUnpackedBlockSize))
    return kCommand.Failure(in + ": " + std::to_string(data.size()) +
                            " bytes; the game unpacks at most " +
                            std::to_string(resources::kMaxUnpackedBlockSize));
  if (std::string error = authoring::WriteWholeFile(out, authoring::PackBlock(data));
      !error.empty())
    return kCommand.Failure(error);
  return 0;
}

}  // namespace

int BlockCommand(int argc, char** argv) {
  if (kCommand.HelpAsked(argc, argv)) return 0;
  if (argc < 1) return kCommand.UsageError("missing subcommand");
  std::string_view action = argv[0];
  if (action != "unpack" && action != "pack")
    return kCommand.UsageError("unknown subcommand '" + std::string(action) + "'");
  if (argc != 3) return kCommand.UsageError(std::string(action) + " takes IN OUT");
  return action == "unpack" ? Unpack(argv[1], argv[2]) : Pack(argv[1], argv[2]);
}

}  // namespace tool
