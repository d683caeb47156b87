#pragma once
// Writing the free-number list into its table of the image.
#include "model/checked.h"
#include "model/config_image.h"
#include "model/image_patch.h"
#include "model/raw_text.h"

#include <optional>
#include <string>
#include <vector>

namespace zx {

// The one store of the free-number list, whichever command reaches it (leaving the page, a
// save, an upload, an import on the command line): every entry of the table becomes 16
// spaces, then entry i of the list, with spaces and control characters removed from both ends,
// is written at table start + 16 * i, padded with spaces. Nothing is cut: an entry longer than
// 16 characters so trimmed, or more entries than the model's table holds, is refused with a
// message naming it, and nothing is written (so the code table after the list is never touched).
Checked<ImagePatch> freeNumbersPatch(DeviceModel model, const std::vector<RawText>& entries);
// The same patch applied to the image; the refusal, when there is one, and the image untouched.
std::optional<Refusal> writeFreeNumbers(ConfigImage& image, DeviceModel model,
                                        const std::vector<RawText>& entries);

} // namespace zx
