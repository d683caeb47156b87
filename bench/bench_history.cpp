// What the site history costs at the size a busy technician's history reaches: 10,000 entries of
// 200 sites, each site's unit holding a full 16-line configuration of its own (1024 codes, 192
// free numbers: the images that compress worst), with texts as operators write them. Prints:
// recording one entry (on the open store, as the window's recorder does, and opening the file
// for it, as a command does), listing all 10,000 entries and one site's, the differences of two
// entries read from the file, and the file's size after a checkpoint with its -wal. Goals: 20 ms,
// 100 ms, 20 ms, 4 MiB. Each time is the median of the runs, wall clock and this thread's
// processor time (on a busy machine the wall clock also counts the waits for a core).
//
// Run: build/bin/bench_history [runs]
#include "history/history_store.h"
#include "model/free_number_table.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "model/transferred_image.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <time.h>

namespace {

using zx::DeviceModel;

constexpr int Sites = 200;
constexpr int Entries = 10000;

zx::HistoryImage siteImage(int site) {
    zx::DatabaseRecord record;
    zx::applyNewConfiguration(record, DeviceModel::Line16);
    const zx::MemoryMap& map = zx::MemoryMap::of(DeviceModel::Line16);
    zx::ConfigImage& image = record.image;
    image.set(*map.offset(zx::Field::CodeLength), 3);
    image.setWord(*map.offset(zx::Field::CodeCount), 1024);
    unsigned state = 2654435761u * static_cast<unsigned>(site + 1);
    const auto digit = [&state] {
        state = state * 1103515245u + 12345u;
        return static_cast<zx::Byte>('0' + (state >> 16) % 10);
    };
    for (int r = 0; r < 1024; ++r) {
        const std::size_t at = zx::CodeTableStart + 3 * static_cast<std::size_t>(r);
        image.set(at, digit());
        image.set(at + 1, digit());
        image.set(at + 2, static_cast<zx::Byte>('0' + r % 5));
    }
    std::vector<zx::RawText> numbers;
    for (int n = 0; n < map.freeNumberCapacity(); ++n) {
        std::string number = "06";
        for (int d = 0; d < 9; ++d)
            number += static_cast<char>(digit());
        numbers.push_back(zx::RawText(number));
    }
    zx::writeFreeNumbers(image, DeviceModel::Line16, numbers);
    return {zx::transferredImage(image, DeviceModel::Line16), DeviceModel::Line16};
}

zx::HistoryEntry siteEntry(int n, const std::vector<zx::HistoryImage>& images) {
    const int site = n % Sites;
    static const zx::HistoryOperation operations[] = {
        zx::HistoryOperation::Download, zx::HistoryOperation::Upload, zx::HistoryOperation::Verify,
        zx::HistoryOperation::SetClock};
    static const char* messages[] = {"Sikeres letöltés.", "Sikeres feltöltés",
                                     "Az egység azt tartja, amit kapott.", "Dátum/Idő beállítva."};
    zx::HistoryEntry e;
    e.time = QDateTime(QDate(2024, 1, 1), QTime(8, 0), Qt::UTC).addSecs(n * 3600LL);
    e.user = QStringLiteral("technikus");
    e.host = QStringLiteral("szerviz-laptop");
    e.connection = {QStringLiteral("Telephely %1 modem").arg(site, 3, 10, QChar('0')),
                    QStringLiteral("/dev/ttyUSB0"), 19200,
                    QStringLiteral("06 1 %1 %2").arg(200 + site).arg(1000 + n % 9000)};
    e.unitModel = DeviceModel::Line16;
    e.site = QStringLiteral("Telephely %1 - Budapest, Váci út %2.")
                 .arg(site, 3, 10, QChar('0'))
                 .arg(site + 1);
    e.owner = QStringLiteral("Kovács és Társa Távközlési Kft.");
    e.file = QStringLiteral("/home/technikus/egysegek/telephely-%1.vd1").arg(site);
    e.operation = operations[n % 4];
    e.outcome = zx::HistoryOutcome::Success;
    e.message = QString::fromUtf8(messages[n % 4]);
    if (e.operation != zx::HistoryOperation::SetClock) e.image = images[site];
    return e;
}

struct Timing {
    std::vector<double> wallMs;
    std::vector<double> processorMs; // this thread's: what the step costs on an idle machine
};

double median(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

double threadProcessorMs() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

Timing timed(int runs, const std::function<bool()>& step) {
    Timing timing;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double processor = threadProcessorMs();
        if (!step()) {
            std::fprintf(stderr, "a step failed\n");
            std::exit(1);
        }
        timing.processorMs.push_back(threadProcessorMs() - processor);
        timing.wallMs.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    return timing;
}

void print(const char* what, const Timing& t, double goal) {
    std::printf("%-50s median %7.2f ms (processor %7.2f ms)   worst %7.2f ms   goal %4.0f ms\n",
                what, median(t.wallMs), median(t.processorMs),
                *std::max_element(t.wallMs.begin(), t.wallMs.end()), goal);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    QTemporaryDir dir;
    const QString path = dir.filePath("zendrax/history.sqlite");

    std::vector<zx::HistoryImage> images;
    for (int s = 0; s < Sites; ++s)
        images.push_back(siteImage(s));
    {
        zx::HistoryStore store(path);
        for (int n = 0; n < Entries; ++n)
            if (!store.add(siteEntry(n, images)).ok()) return 1;
        if (!store.checkpoint().ok()) return 1;
    }
    const qint64 bytes = QFileInfo(path).size() + QFileInfo(path + "-wal").size();
    std::printf("history of %d entries, %d sites, %d distinct images\n", Entries, Sites, Sites);
    std::printf("%-50s %7.2f MiB%53s goal %4.0f MiB\n", "on disk after a checkpoint, -wal included",
                bytes / 1048576.0, "", 4.0);

    zx::HistoryStore store(path);
    int next = Entries;
    print("recording one entry, store open (window)",
          timed(runs, [&] { return store.add(siteEntry(next++, images)).ok(); }), 20);
    print("recording one entry, file opened for it (command)",
          timed(runs,
                [&] {
                    zx::HistoryStore once(path);
                    return once.add(siteEntry(next++, images)).ok();
                }),
          20);
    print("listing every entry",
          timed(runs,
                [&] {
                    const auto listed = store.list();
                    return listed.ok() && listed.value->size() >= std::size_t{Entries};
                }),
          100);
    const QString oneSite = siteEntry(17, images).site;
    print("listing one site's entries",
          timed(runs,
                [&] {
                    return store.list({oneSite, {}, {}}).ok();
                }),
          100);
    print("differences of two entries, read from the file",
          timed(runs,
                [&] {
                    const auto a = store.entry(18);
                    const auto b = store.entry(19);
                    if (!a.ok() || !b.ok()) return false;
                    const auto differences = zx::historyDifferences(*a.value, *b.value);
                    return differences && !differences->empty();
                }),
          20);
    return 0;
}
