#include "model/transferred_image.h"

#include "model/memory_map.h"

#include <algorithm>

namespace zx {

ConfigImage transferredImage(const ConfigImage& image, DeviceModel model, int transferred) {
    const int start = MemoryMap::of(model).startSegment();
    const int end = start + std::clamp(transferred, 0, SegmentCount - start);
    ConfigImage kept;
    for (int s = start; s < end; ++s)
        kept.setSegment(s, image.segment(s));
    return kept;
}

} // namespace zx
