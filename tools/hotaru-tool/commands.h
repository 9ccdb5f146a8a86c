// Subcommands of hotaru-tool. Each takes the arguments after its own name and returns the
// process exit status (0 success, 1 failure, 2 wrong usage); errors go to stderr.
#pragma once

namespace tool {

int PackCommand(int argc, char** argv);
int PictureCommand(int argc, char** argv);
int BlockCommand(int argc, char** argv);
int FontCommand(int argc, char** argv);
int ScnCommand(int argc, char** argv);
int SaveCommand(int argc, char** argv);

}  // namespace tool
