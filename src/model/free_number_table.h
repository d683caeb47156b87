#pragma once
// Writing the free-number list into its table of the image.
#include "model/config_image.h"
#include "model/image_patch.h"
#include "model/raw_text.h"

#include <string>
#include <vector>

namespace zx {

// Every entry of the table becomes 16 spaces, then entry i of the list is written at
// table start + 16 * i, padded with spaces or cut to 16 characters. With trimEntries, spaces
// and control characters are first removed from both ends of each entry. Entries beyond the
// model's capacity are not written, so the code table after the list is never touched.
ImagePatch freeNumbersPatch(DeviceModel model, const std::vector<RawText>& entries,
                            bool trimEntries = false);
// The same patch applied to the image.
void writeFreeNumbers(ConfigImage& image, DeviceModel model, const std::vector<RawText>& entries,
                      bool trimEntries = false);

} // namespace zx
