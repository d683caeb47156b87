#include "model/model_recognition.h"

#include "model/code_table.h"
#include "model/code_table_shape.h"

namespace zx {

namespace {

DeviceModel otherModel(DeviceModel m) {
    return m == DeviceModel::Line4 ? DeviceModel::Line16 : DeviceModel::Line4;
}

std::string range(int low, int high) {
    return std::to_string(low) + ".." + std::to_string(high);
}

bool sixteenLineSpeed(Byte b) {
    return (b >= '1' && b <= '6') || (b >= 'A' && b <= 'F');
}

} // namespace

std::string LayoutMisfit::text() const {
    return std::string(fieldName(field)) + "=" + std::to_string(value) + " (" + expected +
           " lehet)";
}

LayoutFit layoutFit(const ConfigImage& image, DeviceModel model) {
    const MemoryMap& map = MemoryMap::of(model);
    LayoutFit fit{model, {}};
    const auto byteOf = [&](Field f) { return static_cast<int>(image.at(*map.offset(f))); };

    const int codeLength = byteOf(Field::CodeLength);
    if (codeLength - 1 < MinCodeDigits || codeLength - 1 > MaxCodeDigits)
        fit.misfits.push_back(
            {Field::CodeLength, codeLength, range(MinCodeDigits + 1, MaxCodeDigits + 1)});

    const int codeCount = image.word(*map.offset(Field::CodeCount));
    const int capacity = codeTableCapacity(codeLength);
    if (codeCount > capacity)
        fit.misfits.push_back(
            {Field::CodeCount, codeCount, "legfeljebb " + std::to_string(capacity)});

    const int coWidth = byteOf(Field::CoWidth);
    if (coWidth < 1 || coWidth > MaxCoWidth)
        fit.misfits.push_back({Field::CoWidth, coWidth, range(1, MaxCoWidth)});

    if (model == DeviceModel::Line16) {
        const int speed = byteOf(Field::SmdrSpeed);
        if (!sixteenLineSpeed(static_cast<Byte>(speed)))
            fit.misfits.push_back({Field::SmdrSpeed, speed, "'1'..'6' vagy 'A'..'F'"});
    }
    return fit;
}

ModelRecognition recognizeModel(const ConfigImage& image, DeviceModel chosen) {
    ModelRecognition r{layoutFit(image, chosen), layoutFit(image, otherModel(chosen)),
                       std::nullopt};
    if (!r.chosen.fits() && r.other.fits()) r.suggested = r.other.model;
    return r;
}

std::string modelShortName(DeviceModel model) {
    return model == DeviceModel::Line16 ? "Vardo-16" : "Vardo-4";
}

std::string switchModelQuestion(DeviceModel suggested) {
    return "Ez a file " + modelShortName(suggested) + " konfigurációnak látszik. Átvált?";
}

std::string modelChangeQuestion(const ConfigImage& image, DeviceModel current, DeviceModel chosen) {
    if (current == chosen || recognizeModel(image, chosen).suggested != current) return {};
    return "A konfiguráció " + modelShortName(current) + " típusú. Biztosan " +
           modelShortName(chosen) + "-ként kezeli?";
}

std::optional<ModelQuestion> openedFileQuestion(const ModelRecognition& recognition) {
    if (!recognition.suggested) return std::nullopt;
    return ModelQuestion{switchModelQuestion(*recognition.suggested), true};
}

std::optional<ModelQuestion> modelBoxQuestion(const ConfigImage& image, DeviceModel current,
                                              DeviceModel chosen) {
    std::string text = modelChangeQuestion(image, current, chosen);
    if (text.empty()) return std::nullopt;
    return ModelQuestion{std::move(text), false};
}

std::string notComparableMessage(DeviceModel suggested, DeviceModel shown) {
    return "Ez a file " + modelShortName(suggested) + " konfigurációnak látszik, a megjelenített " +
           modelShortName(shown) + " beállításokkal nem hasonlítható össze !!!";
}

namespace {

// "Vardo-4 szerint: CodeLength=15 (3..9 lehet), ..."
std::string misfitsOfChosen(const ModelRecognition& recognition) {
    std::string reasons;
    for (const LayoutMisfit& m : recognition.chosen.misfits)
        reasons += (reasons.empty() ? "" : ", ") + m.text();
    return modelShortName(recognition.chosen.model) + " szerint: " + reasons;
}

} // namespace

std::string recognitionNotice(const ModelRecognition& recognition) {
    if (!recognition.suggested) return {};
    const std::string name = modelShortName(*recognition.suggested);
    return "Ez a file " + name + " konfigurációnak látszik, " + name + " szerint olvasom (" +
           misfitsOfChosen(recognition) + ")";
}

std::string uploadLayoutRefusal(const ConfigImage& image, DeviceModel model) {
    const ModelRecognition recognition = recognizeModel(image, model);
    if (!recognition.suggested) return {};
    return "Ez a konfiguráció " + modelShortName(*recognition.suggested) + " elrendezésű, " +
           modelShortName(model) + " egységre nem tölthető fel (" + misfitsOfChosen(recognition) +
           ") !!!";
}

std::string otherModelRefusal(const ModelRecognition& recognition) {
    if (!recognition.suggested) return {};
    return "Ez a file " + modelShortName(*recognition.suggested) +
           " konfigurációnak látszik, nem " + modelShortName(recognition.chosen.model) + "-nek (" +
           misfitsOfChosen(recognition) + ")";
}

} // namespace zx
