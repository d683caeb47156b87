#include "model/editor_view.h"

#include "model/code_table.h"
#include "model/codecs.h"
#include "model/memory_map.h"

#include <algorithm>

namespace zx {

namespace {

bool bit(Byte b, int n) {
    return (b >> n) & 1;
}

std::string twoDigits(int n) {
    std::string text = std::to_string(n);
    if (text.size() < 2) text.insert(text.begin(), '0');
    return text;
}

class Reader {
  public:
    Reader(const ConfigImage& image, const MemoryMap& map) : image_(image), map_(map) {}

    // A field the model lacks reads as nothing at all.
    std::optional<Byte> opt(Field f, std::size_t i = 0) const {
        const auto o = map_.offset(f);
        if (!o) return std::nullopt;
        return image_.at(*o + i);
    }
    Byte byte(Field f, std::size_t i = 0) const { return opt(f, i).value_or(0); }
    std::optional<int> optInt(Field f) const {
        const auto b = opt(f);
        return b ? std::optional<int>(*b) : std::nullopt;
    }
    std::size_t start(Field f) const { return map_.offset(f).value_or(0); }

  private:
    const ConfigImage& image_;
    const MemoryMap& map_;
};

void decodeSmdr(const Reader& r, DeviceModel m, EditorView& v) {
    const Byte speed = r.byte(Field::SmdrSpeed);
    const Byte mode = r.byte(Field::SmdrMode);
    if (m == DeviceModel::Line4) {
        const int item = (speed >> 3) & 0x07;
        // Bits 5..3 can hold 7, one past the last speed; it takes the speed fallback.
        v.speedItem = item < static_cast<int>(speedItems(m).size()) ? item : 1;
        v.parityItem = speed & 0x01;
        v.modeItem = mode & 0x01;
    } else {
        if (speed >= '1' && speed <= '6') {
            v.speedItem = speed - '1';
            v.parityItem = 0;
        } else if (speed >= 'A' && speed <= 'F') {
            v.speedItem = speed - 'A';
            v.parityItem = 1;
        } else {
            v.speedItem = 1;
            v.parityItem = 0;
        }
        v.modeItem = std::min(mode & 0x0F, 2);
    }
    v.twentyHexItem = bit(mode, 4);
}

void decodeLines(const ConfigImage& image, const Reader& r, const MemoryMap& map, EditorView& v) {
    const int width = coNumberWidth(r.byte(Field::CoWidth));
    const std::size_t coStart = r.start(Field::CoNumbers);
    v.lines.assign(static_cast<std::size_t>(map.lineCount()), {});
    for (int n = 1; n <= map.lineCount(); ++n) {
        LineRowView& row = v.lines[static_cast<std::size_t>(n - 1)];
        row.coNumber = RawText(readCoNumber(image, coStart, width, n));
        if (v.model == DeviceModel::Line16) {
            const Byte s = r.byte(Field::LineSettings, static_cast<std::size_t>(n - 1));
            row.timerItem = bit(s, 0);
            row.dialItem = bit(s, 1);
            row.seizureItem = bit(s, 2);
            row.subLine = bit(s, 3);
            row.callIn = bit(s, 4);
        } else {
            const Byte flags = r.byte(Field::LineSettings, 0);
            row.subLine = bit(flags, n - 1);
            row.callIn = bit(flags, n + 3);
        }
    }
    if (v.model == DeviceModel::Line4 && !v.lines.empty()) {
        const Byte dial = r.byte(Field::LineSettings, 1);
        v.lines[0].dialItem = dial >= 1 && dial <= 3 ? dial - 1 : 1;
        // The line editor stores 2 for "Tárcsázáskor" and 1 for "Azonnal"; 0 also reads as
        // "Tárcsázáskor" so that older images keep their meaning.
        const Byte seizure = r.byte(Field::LineSettings, 2);
        v.lines[0].seizureItem = seizure == 0 || seizure == 2 ? 0 : 1;
    }
}

void decodeExceptions(const ConfigImage& image, const Reader& r, DeviceModel m, EditorView& v) {
    const std::size_t start = r.start(Field::NationalExceptions);
    for (int i = 0; i < 16; ++i) {
        ExceptionView& e = v.exceptions[static_cast<std::size_t>(i)];
        if (m == DeviceModel::Line4) {
            const std::string text = exceptionEntryText(image, start, i);
            e.area = text.substr(0, 4);
            e.length = text.substr(4);
        } else {
            const std::size_t p = start + 2 * static_cast<std::size_t>(i);
            e.area = digitPair(image.at(p));
            e.length = twoDigits(image.at(p + 1));
        }
    }
}

void decodeCodes(const ConfigImage& image, const Reader& r, DeviceModel m, EditorView& v) {
    v.codeLength = r.byte(Field::CodeLength);
    v.codeCount = image.word(r.start(Field::CodeCount));
    v.codeDigits = std::max(v.codeLength - 1, 0);
    v.codes.clear();
    if (v.codeCount == 0) {
        v.codes.push_back(CodeRowView{RawText(" "), allRights(m)});
        return;
    }
    const int rows = std::min(v.codeCount, codeTableCapacity(v.codeLength));
    const std::size_t start = r.start(Field::CodeTable);
    const std::size_t len = static_cast<std::size_t>(v.codeLength);
    v.codes.reserve(static_cast<std::size_t>(rows));
    for (int rec = 0; rec < rows; ++rec) {
        // Records read stay inside the table: rows never exceed its capacity.
        const std::size_t base = start + len * static_cast<std::size_t>(rec);
        v.codes.push_back(decodeCodeRecord({image.bytes().data() + base, len}, m));
    }
}

} // namespace

std::string modelCaption(DeviceModel m) {
    return m == DeviceModel::Line16 ? "Vardo-16 (V 4.27+)" : "Vardo-4 (V2.39+)";
}

std::vector<std::string> speedItems(DeviceModel m) {
    if (m == DeviceModel::Line16) return {"9600", "4800", "2400", "1200", "600", "300"};
    return {"19200", "9600", "4800", "2400", "1200", "600", "300"};
}

std::vector<std::string> parityItems() {
    return {"Nincs", "Páros"};
}

std::vector<std::string> modeItems(DeviceModel m) {
    if (m == DeviceModel::Line16) return {"Kaszkád", "Normal", "Saját"};
    return {"Normal", "Saját"};
}

std::vector<std::string> twentyHexItems() {
    return {"Lenyel", "Átenged"};
}

std::vector<std::string> dialItems(DeviceModel m, int line) {
    if (m == DeviceModel::Line4 && line == 1) return {"Impulzus", "DTMF normal", "DTMF gyors"};
    return {"DTMF", "Impulzus"};
}

std::vector<std::string> seizureItems() {
    return {"Tárcsázáskor", "Azonnal"};
}
std::vector<std::string> timerSetItems() {
    return {"#1", "#2"};
}
std::vector<std::string> coWidthItems() {
    return {"1", "2", "3", "4"};
}

int coNumberWidth(Byte storedCoWidth) {
    return std::min(static_cast<int>(storedCoWidth), MaxCoWidth);
}

std::string EditorView::codePanelText() const {
    return std::to_string(codes.size()) + "/" + std::to_string(codeDigits);
}

EditorView decodeForEditors(const ConfigImage& image, DeviceModel model) {
    const MemoryMap& map = MemoryMap::of(model);
    const Reader r(image, map);
    EditorView v;
    v.model = model;

    decodeSmdr(r, model, v);
    v.coPosition = r.byte(Field::CoPosition);
    v.calledPosition = r.byte(Field::CalledPosition);
    v.recordTerminator = r.byte(Field::RecordTerminator);
    const Byte coWidth = r.byte(Field::CoWidth);
    v.coWidthItem = coWidth >= 1 && coWidth <= 4 ? coWidth - 1 : 1;
    if (const auto t = r.opt(Field::NumberTerminator)) {
        const char c = static_cast<char>(*t);
        const bool shown = c == ' ' || c == '#' || c == '*' || (c >= '0' && c <= '9');
        v.numberTerminator = shown ? c : ' ';
    }
    const Byte callInFlags = r.byte(Field::CallInFlags);
    v.callInForeign = bit(callInFlags, 1);
    v.callInDomestic = bit(callInFlags, 0);

    v.seizeTime = r.byte(Field::SeizeTime);
    v.releaseTime = r.byte(Field::ReleaseTime);
    v.interdigitTime = r.byte(Field::InterdigitTime);
    v.firstTone1 = r.byte(Field::FirstToneTime1);
    v.secondTone1 = r.byte(Field::SecondToneTime1);
    v.coReset1 = r.byte(Field::CoResetTime1);
    v.coTimeout1 = r.byte(Field::CoTimeout1);
    v.firstTone2 = r.optInt(Field::FirstToneTime2);
    v.secondTone2 = r.optInt(Field::SecondToneTime2);
    v.coReset2 = r.optInt(Field::CoResetTime2);
    v.coTimeout2 = r.optInt(Field::CoTimeout2);
    v.loopPulseDelta = r.optInt(Field::LoopPulseDelta);

    if (map.has(Field::MobilePrefixes)) {
        std::array<std::string, 4> mp;
        for (std::size_t k = 0; k < mp.size(); ++k)
            mp[k] = digitPair(r.byte(Field::MobilePrefixes, 2 * k)) +
                    digitPair(r.byte(Field::MobilePrefixes, 2 * k + 1));
        v.mobilePrefixes = mp;
    }
    if (map.has(Field::IntlPrefixes))
        v.intlPrefixes = std::array<std::string, 2>{digitPair(r.byte(Field::IntlPrefixes, 0)),
                                                    digitPair(r.byte(Field::IntlPrefixes, 1))};

    for (std::size_t i = 0; i < static_cast<std::size_t>(CallInNumberSize); ++i) {
        const Byte c = r.byte(Field::CallInNumber, i);
        if (c == 0) break;
        v.callInNumber.bytes().push_back(static_cast<char>(c));
    }
    if (const auto dst = r.opt(Field::DstEnable)) v.dstEnable = bit(*dst, 0);
    if (const auto pin = r.opt(Field::PinEnable)) v.pinEnable = bit(*pin, 0);

    decodeLines(image, r, map, v);

    v.localLength = r.byte(Field::LocalLength);
    v.nationalLength = r.byte(Field::NationalLength);
    decodeExceptions(image, r, model, v);
    for (std::size_t j = 0; j < v.barredAreas.size(); ++j)
        v.barredAreas[j] = digitPair(r.byte(Field::BarredCallInAreas, j));

    decodeCodes(image, r, model, v);

    const std::size_t freeStart = r.start(Field::FreeNumbers);
    for (int e = 0; e < map.freeNumberCapacity(); ++e) {
        std::string entry;
        for (std::size_t j = 0; j < FreeNumberSize; ++j)
            entry.push_back(static_cast<char>(
                image.at(freeStart + FreeNumberSize * static_cast<std::size_t>(e) + j)));
        if (entry.find_first_not_of(' ') != std::string::npos)
            v.freeNumbers.push_back(RawText(std::move(entry)));
    }
    return v;
}

} // namespace zx
