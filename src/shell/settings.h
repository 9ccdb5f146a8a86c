// The five on/off settings in the ini file.
#pragma once

namespace shell {

void ReadSettings();
void WriteSettings();

}  // namespace shell
