#pragma once
// Writing the free-number list into its table of the image.
#include "model/config_image.h"
#include "model/image_patch.h"
#include "model/raw_text.h"

#include <string>
#include <vector>

namespace zx {

// The one store of the free-number list, whichever command reaches it (leaving the page, a
// save, an upload, an import on the command line): every entry of the table becomes 16
// spaces, then entry i of the list, with spaces and control characters removed from both ends,
// is written at table start + 16 * i, padded with spaces or cut to 16 characters. Entries
// beyond the model's capacity are not written, so the code table after the list is never
// touched.
ImagePatch freeNumbersPatch(DeviceModel model, const std::vector<RawText>& entries);
// The same patch applied to the image.
void writeFreeNumbers(ConfigImage& image, DeviceModel model, const std::vector<RawText>& entries);

} // namespace zx
