#include "vorbis_writer.h"

#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <memory>

namespace demo_sound {
namespace {

constexpr int kSerial = 0x48544152;  // fixed: a file made twice is the same file
constexpr float kQuality = 0.2f;     // about 50 kbit/s for mono at 22050 Hz
constexpr int kChunk = 1024;

bool WritePage(std::FILE* f, const ogg_page& page) {
  return std::fwrite(page.header, 1, static_cast<std::size_t>(page.header_len), f) ==
             static_cast<std::size_t>(page.header_len) &&
         std::fwrite(page.body, 1, static_cast<std::size_t>(page.body_len), f) ==
             static_cast<std::size_t>(page.body_len);
}

}  // namespace

std::string WriteVorbis(const std::string& path, const Samples& samples, int rate,
                        const std::string& title) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!f) return "cannot write " + path;

  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, 1, rate, kQuality) != 0) {
    vorbis_info_clear(&info);
    return "the Vorbis encoder refuses mono at " + std::to_string(rate) + " Hz";
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
  vorbis_comment_add_tag(&comment, "ALBUM", "hotaru demo");
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, kSerial);

  bool ok = true;
  ogg_packet header, header_comment, header_code;
  vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &header_comment);
  ogg_stream_packetin(&stream, &header_code);
  ogg_page page;
  while (ok && ogg_stream_flush(&stream, &page) != 0) ok = WritePage(f.get(), page);

  // Blocks of samples in, packets and pages out; an empty write marks the end.
  std::size_t at = 0;
  bool ended = false;
  while (ok && !ended) {
    const std::size_t count = std::min<std::size_t>(kChunk, samples.size() - at);
    if (count == 0) {
      vorbis_analysis_wrote(&dsp, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (std::size_t i = 0; i < count; ++i) buffer[0][i] = samples[at + i];
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      at += count;
    }
    while (ok && vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (ok && vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
        ogg_stream_packetin(&stream, &packet);
        while (ok && ogg_stream_pageout(&stream, &page) != 0) {
          ok = WritePage(f.get(), page);
          if (ogg_page_eos(&page)) ended = true;
        }
      }
    }
    if (count == 0 && !ended) {
      while (ok && ogg_stream_flush(&stream, &page) != 0) ok = WritePage(f.get(), page);
      ended = true;
    }
  }

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return ok ? "" : "cannot write " + path;
}

}  // namespace demo_sound
