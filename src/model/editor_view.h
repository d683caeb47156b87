#pragma once
// What every editor of the main window shows for an image read through a model's map.
// The refill of the window applies this; nothing here knows about widgets.
#include "model/code_record.h"
#include "model/config_image.h"
#include "model/memory_map.h"
#include "model/raw_text.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace zx {

// Items of the choice lists, per model, as the window shows them (UTF-8).
std::string modelCaption(DeviceModel m);            // cbTipus
std::vector<std::string> speedItems(DeviceModel m); // RGspeed
// RGbit: "Nincs", "Páros". Neither model stores odd parity (the 4-line byte has one parity
// bit, the 16-line letters say only "parity"), so "Páratlan" is not offered.
std::vector<std::string> parityItems();
inline constexpr const char* OddParityItem = "Páratlan";
std::vector<std::string> modeItems(DeviceModel m);           // RGmod
std::vector<std::string> twentyHexItems();                   // RG20h
std::vector<std::string> dialItems(DeviceModel m, int line); // RGdialnn
std::vector<std::string> seizureItems();                     // RGlinenn
std::vector<std::string> timerSetItems();                    // RGtimenn
std::vector<std::string> coWidthItems();                     // CBcokar

struct LineRowView {
    RawText coNumber;               // MEconn
    std::optional<int> dialItem;    // RGdialnn (4-line: line 1 only)
    std::optional<int> seizureItem; // RGlinenn (4-line: line 1 only)
    std::optional<int> timerItem;   // RGtimenn (16-line only)
    bool subLine = false;           // CBalvnn
    bool callIn = false;            // CBbehnn
};

struct ExceptionView {
    std::string area;   // 4-line: four area characters; 16-line: digitPair of the area byte
    std::string length; // decimal, at least two digits
    std::string text() const { return area + length; } // lbKiv item text
};

struct EditorView {
    DeviceModel model = DeviceModel::Line4;

    int speedItem = 0;                                            // RGspeed
    int parityItem = 0;                                           // RGbit
    int modeItem = 0;                                             // RGmod
    int twentyHexItem = 0;                                        // RG20h
    int coPosition = 0, calledPosition = 0, recordTerminator = 0; // MEcopos, MEcallpos, MErzk
    int coWidthItem = 0;                                          // CBcokar
    std::optional<char> numberTerminator;                         // MEszamz, 16-line
    bool callInForeign = false;                                   // chkIntGW
    bool callInDomestic = false;                                  // chkNatGW

    int seizeTime = 0, releaseTime = 0, interdigitTime = 0; // MEibe, MEibo, MEintd
    int firstTone1 = 0, secondTone1 = 0, coReset1 = 0,
        coTimeout1 = 0; // ME1t1, ME2t1, MEcor1, MEcol1
    std::optional<int> firstTone2, secondTone2, coReset2, coTimeout2; // 16-line
    std::optional<int> loopPulseDelta;                                // edLI, 4-line

    std::optional<std::array<std::string, 4>> mobilePrefixes; // edMP01..04, 4-line
    std::optional<std::array<std::string, 2>> intlPrefixes;   // edIP01, 02, 4-line
    RawText callInNumber;                                     // edBehiv
    std::optional<bool> dstEnable, pinEnable;                 // chkDSTena, chkPinEna, 4-line

    std::vector<LineRowView> lines; // 4 or 16 rows

    int localLength = 0, nationalLength = 0;              // MEloclen, MEnatlen
    std::array<ExceptionView, 16> exceptions;             // lbKiv
    std::array<std::string, BarredAreaCount> barredAreas; // lbGW

    std::vector<CodeRowView> codes;   // grid rows below the header
    int codeDigits = 0;               // CodeLength - 1 (0 when CodeLength is 0)
    int codeLength = 0;               // CodeLength as stored
    int codeCount = 0;                // CodeCount as stored (may exceed what the table holds)
    std::vector<RawText> freeNumbers; // lbFreeCall, 16 characters each

    std::string codePanelText() const; // status panel 1: "12/6"
};

// Width with which CO numbers are read and written: the stored CoWidth, but never more than
// the 4 characters a line owns in the field, so no entry reaches past CoNumbers.
int coNumberWidth(Byte storedCoWidth);

EditorView decodeForEditors(const ConfigImage& image, DeviceModel model);

} // namespace zx
