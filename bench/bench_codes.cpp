// What the code table costs the operator: the refill of a full grid (1024 two-digit codes),
// generating 614 four-digit codes with the grid filling and the events pumped after each code
// as the window does, the duplicate check over 1024 codes, and scrolling and selecting the
// full grid, and the window's "Generálás" command from refill to store. Prints the best and the
// median of several runs; goals: each under 50 ms, the generation within 0.5 s.
//
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_codes [runs]
#include "model/code_duplicates.h"
#include "model/code_generation.h"
#include "model/code_rights.h"
#include "model/editor_view.h"
#include "model/memory_map.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "ui/commands/code_commands.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/code_grid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using zx::DeviceModel;

// Milliseconds of each run of work, divided by the steps the work takes; setup runs untimed
// before each.
void measure(const char* what, int runs, double goalMs, const std::function<void()>& setup,
             const std::function<void()>& work, int steps = 1) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6 / steps);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-50s best %8.2f ms   median %8.2f ms   goal %5.0f ms\n", what, ms.front(),
                ms[ms.size() / 2], goalMs);
}

// A 4-line image with count codes of length - 1 digits (n modulo what the digits can hold).
zx::ConfigImage imageWithCodes(int length, int count) {
    zx::ConfigImage image;
    const zx::MemoryMap& map = zx::MemoryMap::of(DeviceModel::Line4);
    image.fill(zx::CodeTableStart, zx::CodeTableSize, ' ');
    image.set(*map.offset(zx::Field::CodeLength), static_cast<zx::Byte>(length));
    image.setWord(*map.offset(zx::Field::CodeCount), static_cast<std::uint16_t>(count));
    for (int n = 0; n < count; ++n) {
        int range = 1;
        for (int j = 1; j < length; ++j)
            range *= 10;
        char digits[16];
        std::snprintf(digits, sizeof digits, "%0*d", length - 1, n % range);
        const std::size_t at = zx::CodeTableStart + static_cast<std::size_t>(n * length);
        for (int j = 0; j < length - 1; ++j)
            image.set(at + static_cast<std::size_t>(j), static_cast<zx::Byte>(digits[j]));
        image.set(at + static_cast<std::size_t>(length - 1), static_cast<zx::Byte>('0' + n % 16));
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    zx::CodeGrid grid;
    grid.resize(500, 600);
    grid.show();
    QApplication::processEvents();

    const zx::ConfigImage full = imageWithCodes(3, 1024);
    const auto emptyGrid = [&] {
        grid.setRows({});
        grid.repaint();
    };
    measure("refill of 1024 two-digit codes (shown)", runs, 50, emptyGrid, [&] {
        const zx::EditorView v = zx::decodeForEditors(full, DeviceModel::Line4);
        grid.setCodeLength(v.codeLength);
        grid.setRows(v.codes);
        grid.repaint();
    });

    zx::ClockSeededRandom random;
    measure(
        "generation of 614 four-digit codes (model)", runs, 50, [] {},
        [&] {
            if (!zx::generateCodes(614, 5, random)) std::abort();
        });
    const auto gridOf614 = [&] {
        grid.setRows(std::vector<zx::CodeRowView>(614, {zx::RawText(" "), {"", "", "", ""}}));
        grid.repaint();
    };
    measure("generation of 614 four-digit codes (grid, pumped)", runs, 500, gridOf614, [&] {
        zx::Checked<zx::CodeGenerator> run = zx::CodeGenerator::start(614, 5, random);
        if (!run) std::abort();
        for (int row = 1; !run.value().done(); ++row) {
            grid.setRow(row, {run.value().next(), zx::newRowRights(DeviceModel::Line4)});
            QApplication::processEvents();
        }
    });

    // The command as the operator starts it: refill, 614 codes with the window's events handled
    // after each, the store into the table.
    zx::DatabaseRecord record;
    zx::ConfigDocument document(record);
    zx::ScriptedInteraction interaction;
    MainWindow form(document, interaction);
    zx::CodeCommands commands(form);
    form.show();
    form.showView(4);
    QApplication::processEvents();
    const zx::ConfigImage table614 = imageWithCodes(5, 614);
    measure(
        "window command: generate 614 four-digit codes", runs, 500,
        [&] {
            form.document().replaceImage(table614);
            QApplication::processEvents();
            // The table holds codes: the operator agrees to replace them.
            interaction.answers = {zx::Interaction::Answer::Yes};
        },
        [&] { commands.generateCodes(); });
    if (!interaction.messages().isEmpty() || !interaction.answers.empty()) std::abort();
    form.hide();

    const auto fullGrid = [&] {
        grid.setRows(zx::decodeForEditors(full, DeviceModel::Line4).codes);
        grid.repaint();
    };
    // Distinct codes, so that the check runs to its end: six digits, as a grid holds them
    // after the length was raised.
    std::vector<zx::CodeRowView> distinct;
    for (int n = 0; n < 1024; ++n)
        distinct.push_back(
            {zx::RawText(std::to_string(100000 + n * 7)), zx::newRowRights(DeviceModel::Line4)});
    measure(
        "duplicate check over 1024 distinct codes", runs, 50, [&] { grid.setRows(distinct); },
        [&] {
            std::vector<zx::RawText> codes;
            for (const zx::CodeRowView& row : grid.rows())
                codes.push_back(row.code);
            zx::DuplicateScan scan(codes, 7);
            if (scan.next()) std::abort();
        });

    constexpr int Pages = 16;
    measure(
        "scroll a full grid, each of 16 jumps", runs, 50, fullGrid,
        [&] {
            QScrollBar* bar = grid.verticalScrollBar();
            for (int page = 1; page <= Pages; ++page) {
                bar->setValue(bar->minimum() + (bar->maximum() - bar->minimum()) * page / Pages);
                grid.repaint();
            }
        },
        Pages);
    measure("select all 1024 codes and repaint", runs, 50, fullGrid, [&] {
        grid.selectAllCodes();
        grid.repaint();
    });
    return 0;
}
