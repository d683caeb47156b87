// What `diff` costs on the largest files there are: two 16-line database files with a full code
// table (1024 two-digit codes) and all 192 free numbers, every code and number different
// between them. Each run reads both files, decodes them, compares them setting by setting and
// renders the difference lines as the command prints them. Prints the best and the median of
// several runs; goal: under 20 ms.
//
// Run: build/bin/bench_diff [runs]
#include "files/database_file.h"
#include "model/free_number_table.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "model/settings_comparison.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using zx::DeviceModel;

// A full 16-line configuration: 1024 two-digit codes and 192 free numbers, varied by seed.
zx::DatabaseRecord fullRecord(int seed) {
    zx::DatabaseRecord record;
    zx::applyNewConfiguration(record, DeviceModel::Line16);
    record.writeHeader();
    const zx::MemoryMap& map = zx::MemoryMap::of(DeviceModel::Line16);
    zx::ConfigImage& image = record.image;
    image.set(*map.offset(zx::Field::CodeLength), 3);
    image.setWord(*map.offset(zx::Field::CodeCount), 1024);
    for (int r = 0; r < 1024; ++r) {
        const std::size_t at = zx::CodeTableStart + 3 * static_cast<std::size_t>(r);
        image.set(at, static_cast<zx::Byte>('0' + (r + seed) % 10));
        image.set(at + 1, static_cast<zx::Byte>('0' + r / 10 % 10));
        image.set(at + 2, static_cast<zx::Byte>('0' + (r + seed) % 5));
    }
    std::vector<zx::RawText> numbers;
    for (int n = 0; n < map.freeNumberCapacity(); ++n)
        numbers.push_back(zx::RawText("06" + std::to_string(1000000 + n * 7 + seed)));
    zx::writeFreeNumbers(image, DeviceModel::Line16, numbers);
    return record;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir dir;
    const QString a = dir.filePath("a.vd1");
    const QString b = dir.filePath("b.vd1");
    if (!zx::writeDatabaseFile(a, fullRecord(1), QString()).ok ||
        !zx::writeDatabaseFile(b, fullRecord(2), QString()).ok)
        return 1;

    std::vector<double> ms;
    std::size_t differences = 0;
    std::size_t characters = 0;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const zx::DatabaseReadResult ra = zx::readDatabaseFile(a);
        const zx::DatabaseReadResult rb = zx::readDatabaseFile(b);
        if (!ra.ok() || !rb.ok()) return 1;
        const std::vector<zx::SettingDifference> diff =
            zx::compareSettings(zx::SettingsReading(ra.record, DeviceModel::Line16),
                                zx::SettingsReading(rb.record, DeviceModel::Line16));
        characters = 0;
        const auto shown = [](const std::optional<zx::SettingValue>& v) {
            return v ? zx::shownText(*v).size() : 0;
        };
        for (const zx::SettingDifference& d : diff)
            characters += d.name.size() + shown(d.a) + shown(d.b);
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        differences = diff.size();
    }
    std::sort(ms.begin(), ms.end());
    std::printf("diff of two full 16-line files (%zu differences, %zu characters)\n", differences,
                characters);
    std::printf("    best %8.2f ms   median %8.2f ms   goal %5.0f ms\n", ms.front(),
                ms[ms.size() / 2], 20.0);
    return 0;
}
