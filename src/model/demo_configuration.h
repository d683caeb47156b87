#pragma once
// The configuration the demo unit holds: a 4-line unit set up as an office might have it, so
// that a newcomer sees every view filled after a download.
#include "model/config_image.h"

namespace zx {

inline constexpr int DemoCodeDigits = 4;

// A new 4-line configuration with a dozen codes of varied rights, a dozen free numbers, three
// more domestic exceptions, a fourth mobile prefix and a call-in number.
ConfigImage demoConfiguration();

} // namespace zx
