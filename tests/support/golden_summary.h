// The summary of a golden playthrough: what a run of the headless runner did, one fact per
// line, so that a change in review reads as the facts that changed. Built from the run's
// trace (with --trace-ops) and the pictures its shots wrote; the golden test compares it
// with the committed NAME.expect, and in update mode writes it there.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace hotaru_test::golden {

// The file names of the `shot` actions of an input script, in the script's order.
std::vector<std::string> ShotNames(const std::vector<std::string>& input_lines);

// "WxH HASH": the size of a shot and a 64-bit FNV-1a hash of its decoded pixels as RGB
// bytes, top row first (the PNG's own bytes do not matter); an error text for a shot that
// cannot be read.
std::string PixelHash(const std::filesystem::path& png);

// The summary: the run's events in the order they happened (scenarios entered, choices,
// music, sounds, slot reads and writes, message boxes, errors, the ending), the last script
// instruction and the exit status, then one line per shot (found in `shot_dir`) and the
// virtual length of the run.
std::vector<std::string> Summarise(const std::vector<std::string>& trace_lines,
                                   const std::vector<std::string>& shot_names,
                                   const std::filesystem::path& shot_dir);

// The lines that differ between two summaries, as "- expected" and "+ actual" lines in the
// order of the files, each group after the line that both share before it.
std::string LineDiff(const std::vector<std::string>& expected,
                     const std::vector<std::string>& actual);

}  // namespace hotaru_test::golden
