// Starting the built programs from tests.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace hotaru_test {

// Runs `program` with `args` in folder `cwd` (the current folder when empty) and returns its
// exit status (-1 when it could not start or did not exit normally). Standard output and
// error go to `output` when given.
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::filesystem::path& cwd = {}, std::string* output = nullptr);

// The lines of a text file.
std::vector<std::string> ReadLines(const std::filesystem::path& path);

}  // namespace hotaru_test
