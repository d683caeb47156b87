#pragma once
// Which model's layout a configuration image fits. A database file does not record the model it
// was written for, and the two memory maps put different fields at the same offsets, so an image
// read through the other model's map gives values no editor of that model could have stored:
// a code length outside the preferences' digits, more codes than the table holds, a CO width
// outside 1..4, a 16-line SMDR speed byte that is none of its letters. Each misfit is kept as a
// reason, so that the operator can be told why.
#include "model/config_image.h"
#include "model/memory_map.h"
#include "model/types.h"

#include <optional>
#include <string>
#include <vector>

namespace zx {

// One value that the model's layout does not allow.
struct LayoutMisfit {
    Field field;
    int value;            // as read through the model's map
    std::string expected; // what the field may hold: "3..9", "legfeljebb 438"
    bool operator==(const LayoutMisfit&) const = default;
    // "CodeLength=15 (3..9 lehet)"
    std::string text() const;
};

struct LayoutFit {
    DeviceModel model;
    std::vector<LayoutMisfit> misfits; // empty: the image fits the model
    bool fits() const { return misfits.empty(); }
};

// The image read through the model's map, field by field:
// - CodeLength: the digits of a code (CodeLength - 1) within MinCodeDigits..MaxCodeDigits;
// - CodeCount: at most the records of CodeLength bytes the code table holds;
// - CoWidth: 1..4;
// - SmdrSpeed (16-line): '1'..'6' (no parity) or 'A'..'F' (parity).
LayoutFit layoutFit(const ConfigImage& image, DeviceModel model);

struct ModelRecognition {
    LayoutFit chosen; // the image through the model chosen
    LayoutFit other;  // the image through the other model
    // The other model, when the image fits it and not the chosen one; nothing when it fits
    // both, neither or only the chosen one.
    std::optional<DeviceModel> suggested;
};

ModelRecognition recognizeModel(const ConfigImage& image, DeviceModel chosen);

// "Vardo-4" or "Vardo-16".
std::string modelShortName(DeviceModel model);

// The window's question: "Ez a file Vardo-16 konfigurációnak látszik. Átvált?"
std::string switchModelQuestion(DeviceModel suggested);

// The model box's question before the configuration shown as `current` is read as `chosen`:
// "A konfiguráció Vardo-16 típusú. Biztosan Vardo-4-ként kezeli?", when the image fits only the
// current model's layout (the rule Open uses); empty when nothing speaks against the switch.
std::string modelChangeQuestion(const ConfigImage& image, DeviceModel current, DeviceModel chosen);

// A question on the model a configuration is read as, and the answer Enter gives: the one that
// reads it as the model its layout fits.
struct ModelQuestion {
    std::string text;
    bool yesByDefault = false;
};
// After Open: the file fits only the other model's layout (recognizeModel suggests it), so
// "Igen" switches to that model (switchModelQuestion) and is the default; "Nem" reads it as the
// model shown. Nothing when nothing is suggested.
std::optional<ModelQuestion> openedFileQuestion(const ModelRecognition& recognition);
// The model box's question (modelChangeQuestion), "Nem" its default: "Igen" reads the
// configuration as the model it does not fit. Nothing when nothing speaks against the switch.
std::optional<ModelQuestion> modelBoxQuestion(const ConfigImage& image, DeviceModel current,
                                              DeviceModel chosen);

// Why a file is not compared with the configuration shown: "Ez a file Vardo-16 konfigurációnak
// látszik, a megjelenített Vardo-4 beállításokkal nem hasonlítható össze !!!"
std::string notComparableMessage(DeviceModel suggested, DeviceModel shown);

// What the command line says when it reads a file through the suggested model:
// "Ez a file Vardo-16 konfigurációnak látszik, Vardo-16 szerint olvasom (Vardo-4 szerint:
// CodeLength=15 (3..9 lehet), ...)". Empty when nothing is suggested.
std::string recognitionNotice(const ModelRecognition& recognition);

// Why a configuration is not sent to a unit of `model`: its layout fits only the other model
// (the rule Open uses), so the unit would read every record and column in another layout than
// the operator's. "Ez a konfiguráció Vardo-4 elrendezésű, Vardo-16 egységre nem tölthető fel
// (Vardo-16 szerint: ...) !!!"; empty when it fits the model, or fits neither (then the check
// names each value).
std::string uploadLayoutRefusal(const ConfigImage& image, DeviceModel model);

// Why a file is not read as the model asked for, when its layout fits only the other:
// "Ez a file Vardo-16 konfigurációnak látszik, nem Vardo-4-nek (Vardo-4 szerint: CodeLength=15
// (3..9 lehet), ...)". Empty when nothing is suggested.
std::string otherModelRefusal(const ModelRecognition& recognition);

} // namespace zx
