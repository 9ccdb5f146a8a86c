#include "platform/sdl/track_stream.h"

#include <SDL.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>

namespace platform::sdl::mixer {

// An open track file and its conversion to the output's format.
struct TrackSource {
  std::string path;
  SNDFILE* file = nullptr;
  SF_INFO info{};
  SDL_AudioStream* convert = nullptr;
  // One pass of the file in output frames.
  std::int64_t pass_frames = 0;

  ~TrackSource() {
    if (convert != nullptr) SDL_FreeAudioStream(convert);
    if (file != nullptr) sf_close(file);
  }
};

namespace {

// Decoded frames handed to the converter at a time.
constexpr std::size_t kDecodeFrames = 1024;
// Status polls less than this far apart wait for the end of a track played once; a loop's
// poll comes every few hundred milliseconds.
constexpr double kLoopPollSeconds = 0.15;

std::unique_ptr<TrackSource> OpenSource(const std::string& path, int rate, int channels) {
  auto source = std::make_unique<TrackSource>();
  source->path = path;
  source->file = sf_open(path.c_str(), SFM_READ, &source->info);
  if (source->file == nullptr || source->info.frames <= 0 || source->info.samplerate <= 0 ||
      source->info.channels <= 0 || source->info.channels > 8) {
    return nullptr;
  }
  source->convert =
      SDL_NewAudioStream(AUDIO_S16SYS, static_cast<Uint8>(source->info.channels),
                         source->info.samplerate, AUDIO_S16SYS, static_cast<Uint8>(channels), rate);
  if (source->convert == nullptr) return nullptr;
  source->pass_frames = static_cast<std::int64_t>(
      std::llround(static_cast<double>(source->info.frames) * rate / source->info.samplerate));
  return source->pass_frames > 0 ? std::move(source) : nullptr;
}

}  // namespace

TrackStream::TrackStream() = default;
TrackStream::~TrackStream() = default;

void TrackStream::SetOutput(int rate, int channels) {
  Release();
  const std::lock_guard lock(mutex_);
  rate_ = rate;
  channels_ = channels;
  decoded_.assign(kDecodeFrames * 8, 0);
}

std::unique_ptr<TrackSource> TrackStream::TakeSource() {
  stop_pending_ = false;
  ended_ = false;
  return std::move(source_);
}

bool TrackStream::Play(const std::string& path) {
  {
    const std::lock_guard lock(mutex_);
    if (source_ && !ended_ && source_->path == path && played_ >= source_->pass_frames) {
      // The same track again, asked for while a later pass already sounds: that pass is the
      // new play, and the track is one the game loops.
      played_ %= source_->pass_frames;
      last_poll_ = played_;
      may_continue_ = true;
      stop_pending_ = false;
      return true;
    }
  }
  Release();
  std::unique_ptr<TrackSource> source = OpenSource(path, rate_, channels_);
  if (!source) return false;
  const std::lock_guard lock(mutex_);
  source_ = std::move(source);
  played_ = 0;
  last_poll_ = 0;
  may_continue_ = false;
  ended_ = false;
  stop_pending_ = false;
  return true;
}

void TrackStream::Stop() {
  {
    const std::lock_guard lock(mutex_);
    if (source_ && !ended_ && played_ >= source_->pass_frames) {
      stop_pending_ = true;
      return;
    }
  }
  Release();
}

bool TrackStream::Playing() {
  const std::lock_guard lock(mutex_);
  if (!source_ || ended_ || played_ >= source_->pass_frames) return false;
  may_continue_ = static_cast<double>(played_ - last_poll_) >= kLoopPollSeconds * rate_;
  last_poll_ = played_;
  return true;
}

void TrackStream::SetVolume(int volume) {
  // A fade's last step restores the volume after its stop: the stopped pass must not be
  // heard at it.
  SettleStop();
  const std::lock_guard lock(mutex_);
  volume_ = std::clamp(volume, 0, 128);
}

void TrackStream::SettleStop() {
  bool pending = false;
  {
    const std::lock_guard lock(mutex_);
    pending = stop_pending_;
  }
  if (pending) Release();
}

void TrackStream::Release() {
  std::unique_ptr<TrackSource> old;
  {
    const std::lock_guard lock(mutex_);
    old = TakeSource();
  }
  // The file is closed outside the lock, so the audio thread never waits on it.
}

void TrackStream::Mix(std::int32_t* sums, std::size_t frames) {
  const std::lock_guard lock(mutex_);
  if (!source_ || ended_) return;
  // A track that may go on is mixed until it is stopped.
  const auto wanted = may_continue_
                          ? frames
                          : static_cast<std::size_t>(std::min<std::int64_t>(
                                static_cast<std::int64_t>(frames), source_->pass_frames - played_));
  const std::size_t samples = wanted * static_cast<std::size_t>(channels_);
  if (converted_.size() < samples) converted_.resize(samples);
  const std::size_t got = Pull(converted_.data(), wanted);
  for (std::size_t i = 0; i < got * static_cast<std::size_t>(channels_); ++i) {
    sums[i] += converted_[i] * volume_ / 128;
  }
  played_ += static_cast<std::int64_t>(wanted);
  if ((!may_continue_ && played_ >= source_->pass_frames) || got < wanted) ended_ = true;
}

// The file is read round and round: its start follows its end in the same stream, so a
// pass that goes on has no seam.
std::size_t TrackStream::Pull(std::int16_t* out, std::size_t frames) {
  const int frame_bytes = channels_ * 2;
  const int wanted = static_cast<int>(frames) * frame_bytes;
  const int file_channels = source_->info.channels;
  bool rewound = false;
  while (SDL_AudioStreamAvailable(source_->convert) < wanted) {
    const sf_count_t read = sf_readf_short(source_->file, decoded_.data(), kDecodeFrames);
    if (read > 0) {
      rewound = false;
      SDL_AudioStreamPut(source_->convert, decoded_.data(),
                         static_cast<int>(read) * file_channels * 2);
      continue;
    }
    // The end of the file: once back to its start; a file that gives nothing from its start
    // either is done.
    if (rewound || sf_seek(source_->file, 0, SEEK_SET) != 0) {
      SDL_AudioStreamFlush(source_->convert);
      break;
    }
    rewound = true;
  }
  const int got = SDL_AudioStreamGet(source_->convert, out, wanted);
  return got > 0 ? static_cast<std::size_t>(got / frame_bytes) : 0;
}

}  // namespace platform::sdl::mixer
