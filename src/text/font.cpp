#include "text/font.h"

namespace text {

resources::MemHandle FontData = 0;

}  // namespace text
