// A CD track streamed from its file on the mixer's audio thread, decoded with libsndfile and
// converted to the output's rate and channels.
//
// A game loops its music by asking the drive's status now and then and playing the track
// again once it has stopped, so on a drive the music pauses between the end and the next
// poll. Here a track whose status is polled at a looping pace (not the quick polls of a
// wait for its end) goes on into its next pass when it ends, while the status already
// answers stopped; the stop and the same track's play that the poll brings then carry on
// that pass, without a gap, however late they come (a modal dialog holds the game's polls:
// the music goes on under it as it was). A stop that no such play follows silences it at
// the program's next look at its events or at a volume change. A track nobody polls, or
// polls only to wait for its end, ends at its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform::sdl::mixer {

struct TrackSource;

class TrackStream {
 public:
  TrackStream();
  ~TrackStream();

  // The output's format: 16-bit samples at `rate` with `channels`. Before any play.
  void SetOutput(int rate, int channels);

  // The program's thread.
  bool Play(const std::string& path);
  void Stop();
  // Whether the pass that was played still sounds: the drive's status.
  bool Playing();
  // 0 to 128, as the mixer's volumes.
  void SetVolume(int volume);
  // A stop that was not followed by a play of the same track takes effect.
  void SettleStop();
  // Stops at once, whatever plays.
  void Release();

  // The audio thread: adds the next `frames` frames of the track to `sums`.
  void Mix(std::int32_t* sums, std::size_t frames);

 private:
  std::size_t Pull(std::int16_t* out, std::size_t frames);
  std::unique_ptr<TrackSource> TakeSource();

  std::mutex mutex_;
  std::unique_ptr<TrackSource> source_;
  int rate_ = 44100;
  int channels_ = 2;
  int volume_ = 128;
  // Output frames of the current pass that have been mixed (past its end while it goes on).
  std::int64_t played_ = 0;
  // Where in the pass the status was last asked, and whether the polls came at a looping
  // pace, which lets the track go on past its end.
  std::int64_t last_poll_ = 0;
  bool may_continue_ = false;
  bool ended_ = false;
  bool stop_pending_ = false;
  std::vector<std::int16_t> decoded_;
  std::vector<std::int16_t> converted_;
};

}  // namespace platform::sdl::mixer
