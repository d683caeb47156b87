// The document's one rule for the modified flag: a store or a replaced record marks the
// configuration modified only when a byte of the record changed.
#include "ui/config_document.h"

#include "model/new_configuration.h"

#include <gtest/gtest.h>

namespace zx {
namespace {

TEST(ConfigDocument, OnlyAChangedByteMarksTheConfigurationModified) {
    struct Case {
        const char* what;
        std::vector<ImagePatch::Write> writes;
        bool modified;
    };
    // The new 16-line configuration holds a blank at 1686 (the number terminator).
    const Case cases[] = {
        {"the byte that is there", {{1686, ' '}}, false},
        {"another byte", {{1686, '#'}}, true},
        {"changed and put back", {{1686, '#'}, {1686, ' '}}, false},
        {"past the image", {{ImageSize, 1}}, false},
    };
    for (const Case& c : cases) {
        DatabaseRecord record;
        applyNewConfiguration(record, DeviceModel::Line16);
        ConfigDocument document(record);
        ImagePatch patch;
        for (const ImagePatch::Write& w : c.writes)
            patch.set(w.offset, w.value);
        document.apply(patch);
        EXPECT_EQ(document.isModified(), c.modified) << c.what;
    }
}

TEST(ConfigDocument, AReplacedRecordIsAChangeOnlyWhenItDiffers) {
    DatabaseRecord record;
    applyNewConfiguration(record, DeviceModel::Line4);
    ConfigDocument document(record);
    DatabaseRecord same = record;
    EXPECT_FALSE(document.replaceRecord(same));
    EXPECT_FALSE(document.isModified());

    DatabaseRecord renamed = record;
    renamed.setText(DatabaseRecord::Slot::Site, RawText("Pécs"));
    EXPECT_TRUE(document.replaceRecord(renamed));
    EXPECT_TRUE(document.isModified());
    EXPECT_TRUE(record == renamed);
}

} // namespace
} // namespace zx
