// What every subcommand of hotaru-tool shares: its messages on stderr, named by the command,
// with the exit statuses they stand for, and the --help that prints its usage.
#pragma once

#include <string>

namespace tool {

class CommandText {
 public:
  CommandText(const char* name, const char* usage) : name_(name), usage_(usage) {}

  // Wrong usage: the message and the usage on stderr; exit status 2.
  int UsageError(const std::string& what) const;
  // The command failed: the message on stderr; exit status 1.
  int Failure(const std::string& what) const;
  // True when any argument is --help or -h; the usage is then printed on stdout.
  bool HelpAsked(int argc, char** argv) const;

 private:
  const char* name_;
  const char* usage_;
};

// A name read from a file, fit for a terminal: control bytes and DEL become \xNN, so a
// damaged or hostile archive cannot move the cursor or change the terminal's state.
std::string Printable(const std::string& name);

}  // namespace tool
