// Which model's layout an image fits, and why not.
#include "model/model_recognition.h"

#include "model/demo_configuration.h"

#include <gtest/gtest.h>

#include "image_fixtures.h"

#include <optional>
#include <vector>

namespace zx {
namespace {

using namespace fixtures;

std::vector<Field> misfitFields(const LayoutFit& fit) {
    std::vector<Field> fields;
    for (const LayoutMisfit& m : fit.misfits)
        fields.push_back(m.field);
    return fields;
}

// A 4-line image whose bytes also read as a sound 16-line configuration: two-digit codes,
// 768 of them (so the 16-line code length, the count's high byte, is 3), a release time of 5
// and a seize time of 0 (the 16-line count), an interdigit time of '1' (the 16-line SMDR speed)
// and a third CO number starting with byte 2 (the 16-line CO width).
ConfigImage imageOfBothModels() {
    ConfigImage image = newImage(L4);
    image.set(1670, 3);
    image.setWord(1671, 768);
    image.set(1673, 5);
    image.set(1674, 0);
    image.set(1675, '1');
    image.set(1684, 2);
    return image;
}

TEST(ModelRecognition, SuggestsTheOtherModelOnlyWhenTheImageFitsItAlone) {
    ConfigImage zeros;
    zeros.fill(0);
    struct Case {
        const char* name;
        ConfigImage image;
        DeviceModel chosen;
        std::vector<Field> chosenMisfits;
        std::vector<Field> otherMisfits;
        std::optional<DeviceModel> suggested;
    };
    using F = Field;
    const std::vector<F> all4 = {F::CodeLength, F::CodeCount, F::CoWidth};
    const std::vector<F> all16 = {F::CodeLength, F::CodeCount, F::CoWidth, F::SmdrSpeed};
    const Case cases[] = {
        {"new 4 as 4", newImage(L4), L4, {}, all16, std::nullopt},
        {"new 4 as 16", newImage(L4), L16, all16, {}, L4},
        {"new 16 as 16", newImage(L16), L16, {}, {F::CodeLength, F::CodeCount}, std::nullopt},
        {"new 16 as 4", newImage(L16), L4, {F::CodeLength, F::CodeCount}, {}, L16},
        {"demo as 4", demoConfiguration(), L4, {}, all16, std::nullopt},
        {"both as 4", imageOfBothModels(), L4, {}, {}, std::nullopt},
        {"both as 16", imageOfBothModels(), L16, {}, {}, std::nullopt},
        {"neither as 4",
         zeros,
         L4,
         {F::CodeLength, F::CoWidth},
         {F::CodeLength, F::CoWidth, F::SmdrSpeed},
         std::nullopt},
    };
    for (const Case& c : cases) {
        const ModelRecognition r = recognizeModel(c.image, c.chosen);
        EXPECT_EQ(r.chosen.model, c.chosen) << c.name;
        EXPECT_NE(r.other.model, c.chosen) << c.name;
        EXPECT_EQ(misfitFields(r.chosen), c.chosenMisfits) << c.name;
        EXPECT_EQ(misfitFields(r.other), c.otherMisfits) << c.name;
        EXPECT_EQ(r.suggested, c.suggested) << c.name;
        EXPECT_EQ(recognitionNotice(r).empty(), !c.suggested) << c.name;
        // The model box asks before reading, as the chosen model, what fits only the other.
        EXPECT_EQ(modelChangeQuestion(c.image, r.other.model, c.chosen).empty(), !c.suggested)
            << c.name;
        // Enter on either question (a file opened with c.chosen shown; the model box turned
        // from the other model to c.chosen) reads the image as a model it fits, when any.
        const bool fitsAny = r.chosen.fits() || r.other.fits();
        const std::optional<ModelQuestion> opened = openedFileQuestion(r);
        EXPECT_EQ(opened.has_value(), c.suggested.has_value()) << c.name;
        const DeviceModel openedAs = opened && opened->yesByDefault ? r.other.model : c.chosen;
        EXPECT_EQ(layoutFit(c.image, openedAs).fits(), fitsAny) << c.name;
        const auto box = modelBoxQuestion(c.image, r.other.model, c.chosen);
        const DeviceModel boxAs = !box || box->yesByDefault ? c.chosen : r.other.model;
        EXPECT_EQ(layoutFit(c.image, boxAs).fits(), fitsAny) << c.name;
    }
    EXPECT_EQ(modelChangeQuestion(newImage(L16), L16, L4),
              "A konfiguráció Vardo-16 típusú. Biztosan Vardo-4-ként kezeli?");
}

TEST(ModelRecognition, EachLimitIsItsModelsOwn) {
    struct Case {
        DeviceModel model;
        std::size_t offset;
        Byte value;
        bool fits;
    };
    const Case cases[] = {
        {L4, 1670, 3, true},     {L4, 1670, 9, true},    {L4, 1670, 2, false},
        {L4, 1670, 10, false},   {L16, 1672, 9, true},   {L16, 1672, 10, false},
        {L4, 1657, 4, true},     {L4, 1657, 0, false},   {L16, 1684, 5, false},
        {L16, 1675, 'F', true},  {L16, 1675, '6', true}, {L16, 1675, 'G', false},
        {L16, 1675, '0', false},
    };
    for (const Case& c : cases) {
        ConfigImage image = newImage(c.model);
        image.set(c.offset, c.value);
        EXPECT_EQ(layoutFit(image, c.model).fits(), c.fits) << c.offset << " " << int(c.value);
    }
    // The count may fill the table to its last record, not one more.
    ConfigImage image = newImage(L16);
    image.setWord(1673, 438); // 3072 div 7
    EXPECT_TRUE(layoutFit(image, L16).fits());
    image.setWord(1673, 439);
    const LayoutFit fit = layoutFit(image, L16);
    ASSERT_EQ(fit.misfits.size(), 1u);
    EXPECT_EQ(fit.misfits[0].text(), "CodeCount=439 (legfeljebb 438 lehet)");
}

// A configuration reaches no unit whose model its layout does not fit when the other model's
// does; one that fits the unit's model, both models or neither is the check's to judge.
TEST(ModelRecognition, AnUploadIsRefusedOnlyForALayoutOfTheOtherModel) {
    ConfigImage neither = newImage(L4);
    neither.set(1657, 251);
    EXPECT_EQ(uploadLayoutRefusal(newImage(L4), L4), "");
    EXPECT_EQ(uploadLayoutRefusal(imageOfBothModels(), L16), "");
    EXPECT_EQ(uploadLayoutRefusal(neither, L16), "");
    EXPECT_TRUE(uploadLayoutRefusal(newImage(L4), L16)
                    .starts_with("Ez a konfiguráció Vardo-4 elrendezésű, Vardo-16 egységre nem "
                                 "tölthető fel (Vardo-16 szerint: "));
    EXPECT_TRUE(uploadLayoutRefusal(newImage(L16), L4).starts_with("Ez a konfiguráció Vardo-16"));
}

} // namespace
} // namespace zx
