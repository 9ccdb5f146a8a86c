#include "text/backlog.h"

namespace text {

void RecordMessage(std::uint8_t) {}  // placeholder; waits for the message backlog

}  // namespace text
