#include "model/transferred_image.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(TransferredImage, KeepsOnlyTheConfigurationSegmentsThatWentOverTheLine) {
    ConfigImage image;
    for (std::size_t i = 0; i < ImageSize; ++i)
        image.set(i, static_cast<Byte>(i % 251 + 1)); // no byte zero anywhere
    const struct {
        DeviceModel model;
        int transferred;
        int firstKept; // segments firstKept..endKept-1 as they were, every other one zero
        int endKept;
    } cases[] = {
        {DeviceModel::Line4, AllSegments, 44, 256},
        {DeviceModel::Line16, AllSegments, 51, 256},
        {DeviceModel::Line4, 10, 44, 54},
        {DeviceModel::Line16, 1, 51, 52},
        {DeviceModel::Line4, 0, 44, 44},
        {DeviceModel::Line16, -5, 51, 51},
        {DeviceModel::Line16, 205, 51, 256},
    };
    for (const auto& c : cases) {
        const ConfigImage kept = transferredImage(image, c.model, c.transferred);
        for (int s = 0; s < SegmentCount; ++s) {
            const bool inside = s >= c.firstKept && s < c.endKept;
            EXPECT_EQ(kept.segment(s), inside ? image.segment(s) : ConfigImage::Segment{})
                << "model " << modelIndex(c.model) << ", " << c.transferred << " sent, segment "
                << s;
        }
    }
}

} // namespace
} // namespace zx
