// Building and inspecting pack archives.
#include "authoring/pack_writer.h"

#include <cstring>
#include <set>

#include "platform/file_services.h"

namespace authoring {
namespace {

using resources::kPackEntrySize;
using resources::kPackHeaderSize;
using resources::kPackMaxEntries;
using resources::kPackNameLength;

// The game seeks with signed 32-bit offsets, so no archive byte may lie beyond 2 GiB - 1.
constexpr std::uint64_t kMaxArchiveBytes = 0x7FFFFFFF;

bool AllowedInName(unsigned char c) {
  if (c <= 0x20 || c == 0x7F) return false;
  return std::strchr("\\/:*?\"<>|", c) == nullptr;
}

void PutU16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string Quote(std::string_view name) { return "'" + std::string(name) + "'"; }

}  // namespace

std::string IndexNameOf(std::string_view name, char out[kPackNameLength]) {
  std::size_t point = name.find('.');
  std::string_view base = name.substr(0, point);
  std::string_view extension =
      point == std::string_view::npos ? std::string_view() : name.substr(point + 1);
  if (extension.find('.') != std::string_view::npos)
    return Quote(name) + " is not an 8.3 name: more than one point";
  if (base.empty() || base.size() > 8)
    return Quote(name) + " is not an 8.3 name: the base name must have 1 to 8 characters";
  if (extension.size() > 3)
    return Quote(name) + " is not an 8.3 name: the extension must have at most 3 characters";
  for (char c : name) {
    if (c != '.' && !AllowedInName(static_cast<unsigned char>(c)))
      return Quote(name) + " is not an 8.3 name: it holds a blank, a control character, " +
             "a folder separator or one of :*?\"<>|";
  }
  resources::PackIndexName(std::string(name).c_str(), out);
  return "";
}

std::string BuildPack(const std::vector<PackSource>& files, std::vector<std::uint8_t>* archive,
                      const PackBuildOptions& options) {
  if (files.size() > kPackMaxEntries)
    return "too many files: " + std::to_string(files.size()) + " (an archive holds at most " +
           std::to_string(kPackMaxEntries) + ")";

  std::vector<std::uint8_t> index(files.size() * kPackEntrySize, 0);
  std::set<std::string> seen;
  std::uint64_t total = kPackHeaderSize + index.size();
  for (std::size_t i = 0; i < files.size(); ++i) {
    char* entry_name = reinterpret_cast<char*>(index.data() + i * kPackEntrySize);
    if (std::string error = IndexNameOf(files[i].name, entry_name); !error.empty()) return error;
    std::string key(entry_name, kPackNameLength);
    if (!seen.insert(key).second && !options.allow_duplicate_names)
      return "two files have the index name " + Quote(resources::PackDisplayName(entry_name)) +
             " (the second is " + Quote(files[i].name) + ")";
    total += files[i].data.size();
  }
  if (total > kMaxArchiveBytes)
    return "the archive would be " + std::to_string(total) + " bytes, more than the " +
           std::to_string(kMaxArchiveBytes) + " the game can address";

  std::vector<std::uint8_t>& out = *archive;
  out.assign(kPackHeaderSize, 0);
  out.reserve(total);
  std::memcpy(out.data(), resources::kPackMagic, sizeof resources::kPackMagic);
  PutU16(out.data() + 8, static_cast<std::uint32_t>(files.size()));
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::size_t offset = out.size();
    out.insert(out.end(), files[i].data.begin(), files[i].data.end());
    resources::Scramble(out.data() + offset, files[i].data.size());
    std::uint8_t* entry = index.data() + i * kPackEntrySize;
    PutU32(entry + 12, static_cast<std::uint32_t>(offset));
    PutU32(entry + 16, static_cast<std::uint32_t>(files[i].data.size()));
  }
  resources::Scramble(index.data(), index.size());
  out.insert(out.end(), index.begin(), index.end());
  return "";
}

std::string WritePack(const std::filesystem::path& path, const std::vector<PackSource>& files,
                      const PackBuildOptions& options) {
  std::vector<std::uint8_t> archive;
  if (std::string error = BuildPack(files, &archive, options); !error.empty()) return error;
  return WriteWholeFile(path, archive);
}

std::string ReadPackIndex(std::span<const std::uint8_t> archive, std::vector<PackEntry>* entries) {
  entries->clear();
  if (archive.size() < kPackHeaderSize)
    return "not a pack archive: " + std::to_string(archive.size()) +
           " bytes are too few for the header";
  if (std::memcmp(archive.data(), resources::kPackMagic, sizeof resources::kPackMagic) != 0)
    return "not a pack archive: the file does not begin with VELAPACK";
  std::size_t count = archive[8] | archive[9] << 8;
  if (count > kPackMaxEntries)
    return "the index claims " + std::to_string(count) + " entries, more than the " +
           std::to_string(kPackMaxEntries) + " an archive can hold";
  std::size_t index_bytes = count * kPackEntrySize;
  if (archive.size() - kPackHeaderSize < index_bytes)
    return "the index of " + std::to_string(count) + " entries does not fit in the " +
           std::to_string(archive.size()) + "-byte file";

  std::vector<std::uint8_t> index(archive.end() - static_cast<std::ptrdiff_t>(index_bytes),
                                  archive.end());
  resources::Unscramble(index.data(), index.size());
  entries->reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* raw = index.data() + i * kPackEntrySize;
    PackEntry entry;
    std::memcpy(entry.index_name, raw, kPackNameLength);
    entry.name = resources::PackDisplayName(entry.index_name);
    entry.offset = GetU32(raw + 12);
    entry.size = GetU32(raw + 16);
    if (std::uint64_t{entry.offset} + entry.size > archive.size()) {
      entries->clear();
      return "entry " + std::to_string(i) + " (" + Quote(entry.name) + ", offset " +
             std::to_string(entry.offset) + ", " + std::to_string(entry.size) +
             " bytes) reaches past the end of the " + std::to_string(archive.size()) + "-byte file";
    }
    entries->push_back(std::move(entry));
  }
  return "";
}

std::vector<std::uint8_t> PackEntryData(std::span<const std::uint8_t> archive,
                                        const PackEntry& entry) {
  auto first = archive.begin() + entry.offset;
  std::vector<std::uint8_t> data(first, first + entry.size);
  resources::Unscramble(data.data(), data.size());
  return data;
}

std::string ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>* bytes) {
  const platform::ReadOutcome read = platform::ReadRegularFile(path, bytes, kMaxInputBytes);
  if (read.ok()) return "";
  if (read.status == platform::ReadStatus::kMissing) return "cannot open " + path.string();
  return "cannot read " + path.string() + ": " + read.reason;
}

std::string WriteWholeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                           platform::AtLink at_link) {
  const std::string failure = platform::ReplaceFileContents(
      path, {reinterpret_cast<const char*>(bytes.data()), bytes.size()}, at_link);
  if (failure.empty()) return "";
  return "cannot write " + path.string() + ": " + failure;
}

}  // namespace authoring
