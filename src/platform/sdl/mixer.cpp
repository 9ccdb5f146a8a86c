#include "platform/sdl/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/sdl/output_limiter.h"
#include "platform/sdl/track_stream.h"

namespace platform::sdl::mixer {
namespace {

// The one SDL audio output and what plays on it. Not reset by assigning a fresh one: the
// members follow SDL's lifetime (Open, Close, the track and the loaded chunk) and the audio
// thread reads the event type and the serial, so Close sets back what it must itself.
struct MixerState {
  Output output = Output::kClosed;
  // The CD track: added to the wave channel's mix on the audio thread after SDL2_mixer has
  // mixed it, then the sum goes through the limiter.
  TrackStream track;
  int channels = 2;
  std::unique_ptr<OutputLimiter> limiter;
  std::vector<std::int32_t> sums;
  Mix_Chunk* chunk = nullptr;
  // Registered with SDL by the first use after an Open; 0 until then.
  std::uint32_t wave_event = 0;
  // Counts the buffers handed to the mixer; an end event carries the count it belongs to.
  std::atomic<std::int32_t> wave_serial{0};
  bool wave_playing = false;
  // The wave volume as the mixer's panning, 0 to 255 a side.
  int wave_left = 255;
  int wave_right = 255;
};

MixerState Mixer;

// 512 frames at 44100 Hz: a buffer of about 12 ms between the mixer and the driver.
constexpr int kRate = 44100;
constexpr int kFrames = 512;

// Audio thread, after SDL2_mixer has mixed the wave channel into `stream`: the track is
// added at full precision, and the limiter brings the sum back into 16 bits.
void PostMix(void*, Uint8* stream, int bytes) {
  auto* samples = reinterpret_cast<std::int16_t*>(stream);
  const std::size_t count = static_cast<std::size_t>(bytes) / 2;
  std::vector<std::int32_t>& sums = Mixer.sums;
  if (sums.size() < count) sums.resize(count);
  for (std::size_t i = 0; i < count; ++i) sums[i] = samples[i];
  const std::size_t frames = count / static_cast<std::size_t>(Mixer.channels);
  Mixer.track.Mix(sums.data(), frames);
  Mixer.limiter->Process(sums.data(), samples, frames);
}

bool OpenOn(const char* driver) {
  if (driver != nullptr) SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, driver, SDL_HINT_OVERRIDE);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
  if (Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kFrames) == 0) {
    int rate = kRate;
    Uint16 format = AUDIO_S16SYS;
    int channels = 2;
    if (Mix_QuerySpec(&rate, &format, &channels) != 0 && format == AUDIO_S16SYS) {
      Mixer.channels = channels;
      Mixer.track.SetOutput(rate, channels);
      Mixer.limiter = std::make_unique<OutputLimiter>(rate, channels);
      Mixer.sums.assign(static_cast<std::size_t>(kFrames * channels), 0);
      Mix_SetPostMix(PostMix, nullptr);
      return true;
    }
    Mix_CloseAudio();
  }
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return false;
}

}  // namespace

Output Open(bool device) {
  if (Mixer.output != Output::kClosed) return Mixer.output;
  if (device && OpenOn(nullptr)) {
    Mixer.output = Output::kDevice;
  } else if (OpenOn("dummy")) {
    Mixer.output = Output::kSilent;
  } else {
    Mixer.output = Output::kFailed;
  }
  return Mixer.output;
}

Output State() { return Mixer.output; }

}  // namespace platform::sdl::mixer

namespace platform::sdl::mixer {
namespace {

constexpr int kWaveChannel = 0;

// Audio thread: nothing but an event for the program's thread.
void ChannelFinished(int channel) {
  if (channel != kWaveChannel || Mixer.wave_event == 0) return;
  SDL_Event e{};
  e.type = Mixer.wave_event;
  e.user.code = Mixer.wave_serial.load();
  SDL_PushEvent(&e);
}

bool Ready() {
  const Output state = State() == Output::kClosed ? Open(true) : State();
  if (state == Output::kFailed) return false;
  if (Mixer.wave_event == 0) {
    Mixer.wave_event = SDL_RegisterEvents(1);
    Mix_AllocateChannels(1);
    Mix_ChannelFinished(ChannelFinished);
  }
  return true;
}

void PutLe(std::uint8_t* p, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

bool PlayTrack(const std::string& path) {
  if (!Ready()) return false;
  return Mixer.track.Play(path);
}

void StopTrack() { Mixer.track.Stop(); }

void SettleTrack() { Mixer.track.SettleStop(); }

bool TrackPlaying() { return Mixer.track.Playing(); }

void SetTrackVolume(std::uint16_t left, std::uint16_t right) {
  if (!Ready()) return;
  // Music has one volume: the mean of the two channels.
  Mixer.track.SetVolume(((left + right) / 2 * MIX_MAX_VOLUME + 0x7FFF) / 0xFFFF);
}

bool PlayWave(int rate, int channels, const void* data, std::size_t bytes, std::uint32_t plays) {
  if (!Ready()) return false;
  StopWave();
  // The buffer travels as a WAV file in memory, which the mixer converts to its own format.
  std::vector<std::uint8_t> wav(44 + bytes);
  std::uint8_t* h = wav.data();
  std::memcpy(h, "RIFF", 4);
  PutLe(h + 4, static_cast<std::uint32_t>(36 + bytes), 4);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  PutLe(h + 16, 16, 4);
  PutLe(h + 20, 1, 2);
  PutLe(h + 22, static_cast<std::uint32_t>(channels), 2);
  PutLe(h + 24, static_cast<std::uint32_t>(rate), 4);
  PutLe(h + 28, static_cast<std::uint32_t>(rate * channels * 2), 4);
  PutLe(h + 32, static_cast<std::uint32_t>(channels * 2), 2);
  PutLe(h + 34, 16, 2);
  std::memcpy(h + 36, "data", 4);
  PutLe(h + 40, static_cast<std::uint32_t>(bytes), 4);
  if (bytes > 0) std::memcpy(h + 44, data, bytes);
  Mixer.chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(wav.data(), static_cast<int>(wav.size())), 1);
  if (Mixer.chunk == nullptr) return false;
  Mix_SetPanning(kWaveChannel, static_cast<Uint8>(Mixer.wave_left),
                 static_cast<Uint8>(Mixer.wave_right));
  // The mixer's loop count is the number of repeats after the first play.
  const int loops = plays == 0 ? -1 : static_cast<int>(plays) - 1;
  Mixer.wave_playing = true;
  if (Mix_PlayChannel(kWaveChannel, Mixer.chunk, loops) < 0) {
    StopWave();
    return false;
  }
  return true;
}

void StopWave() {
  if (Mixer.chunk == nullptr) return;
  // Halted first, then the count moves on: the end event of the halt is stale.
  Mix_HaltChannel(kWaveChannel);
  ++Mixer.wave_serial;
  Mixer.wave_playing = false;
  Mix_FreeChunk(Mixer.chunk);
  Mixer.chunk = nullptr;
}

void SetWaveVolume(std::uint16_t left, std::uint16_t right) {
  Mixer.wave_left = left >> 8;
  Mixer.wave_right = right >> 8;
  if (!Ready()) return;
  Mix_SetPanning(kWaveChannel, static_cast<Uint8>(Mixer.wave_left),
                 static_cast<Uint8>(Mixer.wave_right));
}

std::uint32_t WaveDoneEventType() { return Mixer.wave_event; }

bool WaveDone(std::int32_t code) {
  if (!Mixer.wave_playing || code != Mixer.wave_serial.load()) return false;
  Mixer.wave_playing = false;
  return true;
}

void Close() {
  if (State() == Output::kClosed) return;
  if (State() != Output::kFailed) {
    Mixer.track.Release();
    StopWave();
    Mix_ChannelFinished(nullptr);
    Mix_SetPostMix(nullptr, nullptr);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  Mix_Quit();
  Mixer.output = Output::kClosed;
  // The event type stays registered with SDL; a new Open registers its own.
  Mixer.wave_event = 0;
}

}  // namespace platform::sdl::mixer
