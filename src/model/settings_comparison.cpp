#include "model/settings_comparison.h"

#include "model/codecs.h"

#include <algorithm>

namespace zx {

namespace {

std::optional<SettingValue> valueOf(const SettingEntry& entry, const SettingsReading& r) {
    if (!entry.availableIn(r.model)) return std::nullopt;
    return entry.read(r);
}

std::optional<SettingValue> element(const std::optional<SettingValue>& list, std::size_t i) {
    if (!list || i >= list->items.size()) return std::nullopt;
    return list->items[i];
}

SettingValue segmentText(const ConfigImage& image, int segment) {
    std::string hex;
    for (const Byte b : image.segment(segment))
        hex += hexPair(b);
    return SettingValue::ofText(std::move(hex));
}

} // namespace

std::vector<SettingDifference> compareSettings(const SettingsReading& a, const SettingsReading& b) {
    std::vector<SettingDifference> differences;
    for (const SettingEntry& entry : settingsRegistry()) {
        if (!entry.compared) continue;
        std::optional<SettingValue> va = valueOf(entry, a);
        std::optional<SettingValue> vb = valueOf(entry, b);
        if (va == vb) continue;
        const auto isList = [](const std::optional<SettingValue>& v) {
            return v && v->kind == SettingValue::Kind::List;
        };
        if (!isList(va) && !isList(vb)) {
            differences.push_back({entry.name, std::move(va), std::move(vb), settingLabel(entry)});
            continue;
        }
        const std::size_t count = std::max(va ? va->items.size() : 0, vb ? vb->items.size() : 0);
        for (std::size_t i = 0; i < count; ++i) {
            std::optional<SettingValue> ea = element(va, i);
            std::optional<SettingValue> eb = element(vb, i);
            if (ea != eb)
                differences.push_back({entry.name + "[" + std::to_string(i + 1) + "]",
                                       std::move(ea), std::move(eb),
                                       settingLabel(entry, static_cast<int>(i + 1))});
        }
    }
    if (!differences.empty()) return differences;

    const int start =
        std::min(MemoryMap::of(a.model).startSegment(), MemoryMap::of(b.model).startSegment());
    for (int s = start; s < SegmentCount; ++s) {
        if (a.record.image.segment(s) == b.record.image.segment(s)) continue;
        differences.push_back({"Segment[" + std::to_string(s) + "]", segmentText(a.record.image, s),
                               segmentText(b.record.image, s),
                               "Memória / " + std::to_string(s) + ". szegmens"});
    }
    return differences;
}

std::vector<SettingDifference> compareWithImage(const DatabaseRecord& record, DeviceModel model,
                                                const ConfigImage& other, DeviceModel otherModel) {
    DatabaseRecord held = record;
    held.image = other;
    return compareSettings(SettingsReading(record, model), SettingsReading(held, otherModel));
}

std::string differenceLine(const SettingDifference& d) {
    const auto shown = [](const std::optional<SettingValue>& v) {
        return v ? shownText(*v) : std::string();
    };
    return d.name + '\t' + shown(d.a) + '\t' + shown(d.b);
}

} // namespace zx
