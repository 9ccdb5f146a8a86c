// A track file's length in every format the track lookup accepts: the headless runner's
// virtual track ends where the SDL backend's decoder (libsndfile) ends the same file, and
// where SDL2_mixer would; a file that is no audio has no length.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "platform/common/audio_devices.h"

namespace {

namespace fs = std::filesystem;

struct Format {
  const char* extension;
  int sf_format;
  int rate;
  int channels;
};

// `frames` of a 440 Hz tone written with libsndfile's own encoders.
bool WriteTone(const fs::path& path, const Format& f, sf_count_t frames) {
  SF_INFO info{};
  info.samplerate = f.rate;
  info.channels = f.channels;
  info.format = f.sf_format;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) return false;
  std::vector<short> samples(static_cast<std::size_t>(frames * f.channels));
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto frame = static_cast<double>(i / static_cast<std::size_t>(f.channels));
    samples[i] = static_cast<short>(6000 * std::sin(frame * 2 * M_PI * 440 / f.rate));
  }
  const bool written = sf_writef_short(file, samples.data(), frames) == frames;
  return sf_close(file) == 0 && written;
}

class TrackLength : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir_ = fs::temp_directory_path() / ("hotaru-track-length-" + std::to_string(rd()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(TrackLength, EveryAcceptedFormatMeasuresAsTheSdlDecoderPlaysIt) {
  const Format formats[] = {
      {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050, 1},
      {"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2},
      {"flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 2},
      {"ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 2},
      {"opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000, 2},
      {"mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 44100, 2},
  };
  SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
  Mix_Init(MIX_INIT_OGG | MIX_INIT_FLAC | MIX_INIT_MP3 | MIX_INIT_OPUS);
  ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 512), 0) << Mix_GetError();
  int n = 0;
  for (const Format& f : formats) {
    // 2.75 s: not a whole number of any codec's blocks.
    const fs::path path = dir_ / ("track" + std::to_string(++n) + "." + f.extension);
    SCOPED_TRACE(path.string());
    ASSERT_TRUE(WriteTone(path, f, f.rate * 11 / 4)) << path;
    const auto length = platform::TrackLengthMs(path.string());
    ASSERT_TRUE(length) << path;
    EXPECT_NEAR(*length, 2750, 2) << path;
    SF_INFO info{};
    SNDFILE* played = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(played, nullptr) << path;
    sf_close(played);
    EXPECT_NEAR(*length, info.frames * 1000.0 / info.samplerate, 1) << path;
    Mix_Music* music = Mix_LoadMUS(path.c_str());
    ASSERT_NE(music, nullptr) << path << ": " << Mix_GetError();
    EXPECT_NEAR(*length, Mix_MusicDuration(music) * 1000, 3) << path;
    Mix_FreeMusic(music);
  }
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

TEST_F(TrackLength, AFileThatHoldsNoSoundHasNone) {
  std::ofstream(dir_ / "text.ogg") << "not a sound file at all, only words\n";
  std::ofstream(dir_ / "empty.wav");
  const Format wav{"wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2};
  ASSERT_TRUE(WriteTone(dir_ / "silent.wav", wav, 0));
  for (const char* name : {"text.ogg", "empty.wav", "silent.wav", "missing.flac"}) {
    EXPECT_FALSE(platform::TrackLengthMs((dir_ / name).string())) << name;
  }
}

}  // namespace
