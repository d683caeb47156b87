// What the configuration check costs: the whole check of the fullest tables there are, in each
// model, with every free number: 768 different codes, 1024 two-digit codes (each repeated, a
// finding for every row) and 1024 times one code; the same check inside the command on the
// 16-line file of 1024 codes, from reading the database file to the lines printed; and
// `zendrax-cli check` run as a process on that file. Prints the best and the median of several
// runs; goal: each under 20 ms.
//
// Run: build/bin/bench_check [runs]
#include "files/database_file.h"
#include "model/configuration_check.h"
#include "model/free_number_table.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using zx::DeviceModel;

// How the full code table is filled: 768 different three-digit codes (the most without a
// repeat), 1024 two-digit codes (the most there are; two digits make 100 codes, so each repeats
// about ten times), or 1024 times the same code.
enum class Table { Different, Repeating, Same };

// A record of the model with a full code table and every free number.
zx::DatabaseRecord fullRecord(DeviceModel model, Table table) {
    zx::DatabaseRecord record;
    zx::applyNewConfiguration(record, model);
    record.writeHeader();
    const zx::MemoryMap& map = zx::MemoryMap::of(model);
    zx::ConfigImage& image = record.image;
    const int digits = table == Table::Different ? 3 : 2;
    const int length = digits + 1;
    const int codes = static_cast<int>(zx::CodeTableSize) / length;
    image.set(*map.offset(zx::Field::CodeLength), static_cast<zx::Byte>(length));
    image.setWord(*map.offset(zx::Field::CodeCount), static_cast<std::uint16_t>(codes));
    for (int r = 0; r < codes; ++r) {
        const int code = table == Table::Same ? 42 : r;
        char text[8];
        std::snprintf(text, sizeof text, "%0*d", digits, code % (digits == 3 ? 1000 : 100));
        const std::size_t at = zx::CodeTableStart + static_cast<std::size_t>(length * r);
        for (int j = 0; j < digits; ++j)
            image.set(at + static_cast<std::size_t>(j), static_cast<zx::Byte>(text[j]));
        image.set(at + static_cast<std::size_t>(digits), '1');
    }
    std::vector<zx::RawText> numbers;
    for (int n = 0; n < map.freeNumberCapacity(); ++n)
        numbers.push_back(zx::RawText("06" + std::to_string(1000000 + n * 7)));
    zx::writeFreeNumbers(image, model, numbers);
    return record;
}

void report(const char* what, std::vector<double> ms, std::size_t findings) {
    std::sort(ms.begin(), ms.end());
    std::printf("%-52s best %7.2f ms   median %7.2f ms   goal 20 ms   (%zu findings)\n", what,
                ms.front(), ms[ms.size() / 2], findings);
}

std::vector<double> timed(int runs, const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return ms;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;

    for (const DeviceModel model : {DeviceModel::Line16, DeviceModel::Line4}) {
        for (const Table table : {Table::Different, Table::Repeating, Table::Same}) {
            const zx::DatabaseRecord record = fullRecord(model, table);
            std::size_t found = 0;
            const std::vector<double> ms =
                timed(runs, [&] { found = zx::checkConfiguration(record, model).size(); });
            static const char* const tables[] = {"768 different codes", "1024 codes repeating",
                                                 "1024 codes all the same"};
            const std::string what = std::string(model == DeviceModel::Line16 ? "16" : "4") +
                                     "-line check, " + tables[static_cast<int>(table)];
            report(what.c_str(), ms, found);
        }
    }

    QTemporaryDir dir;
    const QString file = dir.filePath("tele.vd1");
    if (!zx::writeDatabaseFile(file, fullRecord(DeviceModel::Line16, Table::Repeating), QString())
             .ok) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    std::size_t found = 0;
    std::vector<double> ms = timed(runs, [&] {
        const zx::DatabaseReadResult read = zx::readDatabaseFile(file);
        std::string text;
        for (const zx::Finding& f : zx::checkConfiguration(read.record, DeviceModel::Line16))
            text += zx::findingLine(f) + '\n';
        found = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    });
    report("16-line file read, checked and printed (in process)", ms, found);

    const QString cli = QDir(QCoreApplication::applicationDirPath()).filePath("zendrax-cli");
    // What starting the program costs at all, as the yardstick of the check's own share.
    ms = timed(runs, [&] {
        QProcess p;
        p.start(cli, {"--version"});
        p.waitForFinished(10000);
    });
    report("zendrax-cli --version (a process, the start alone)", ms, 0);
    ms = timed(runs, [&] {
        QProcess p;
        p.start(cli, {"check", file, "--model", "16"});
        p.waitForFinished(10000);
        found = static_cast<std::size_t>(p.readAllStandardOutput().count('\n'));
    });
    report("zendrax-cli check FILE --model 16 (a process)", ms, found);
    return 0;
}
