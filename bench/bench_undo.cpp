// What the undo history costs: undo and redo of a generation that fills the whole code table of
// the 16-line model (614 four-digit codes, every byte of the table), in the history alone and
// as the window's commands (the refill of every view and the page shown included); and the
// memory the history holds for 200 single-field steps and for that one generation step (the
// heap in use before and after, as the C library counts it). Prints the best and the median of
// several runs; goals: undo and redo each under 20 ms, 200 field steps under 64 KiB, the
// generation step under 200 KiB.
//
// Run: QT_QPA_PLATFORM=offscreen build/bin/bench_undo [runs]
#include "model/change_label.h"
#include "model/code_table_shape.h"
#include "model/edit_history.h"
#include "model/editor_store.h"
#include "model/new_configuration.h"
#include "scripted_interaction.h"
#include "ui/commands/code_commands.h"
#include "ui/commands/edit_commands.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QElapsedTimer>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using zx::DeviceModel;

void measure(const char* what, int runs, double goalMs, const std::function<void()>& setup,
             const std::function<void()>& work) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-58s best %8.3f ms   median %8.3f ms   goal %5.0f ms\n", what, ms.front(),
                ms[ms.size() / 2], goalMs);
}

std::size_t heapInUse() {
    return mallinfo2().uordblks;
}

void printMemory(const char* what, std::size_t bytes, double goalKiB) {
    std::printf("%-58s %8.1f KiB                          goal %5.0f KiB\n", what,
                static_cast<double>(bytes) / 1024.0, goalKiB);
}

// The 16-line configuration with its code table as large as generation makes it: 614 codes of
// four digits.
zx::DatabaseRecord fullTableRecord() {
    zx::DatabaseRecord record;
    zx::applyNewConfiguration(record, DeviceModel::Line16);
    const zx::MemoryMap& map = zx::MemoryMap::of(DeviceModel::Line16);
    zx::reshapedCodeTablePatch(record.image, map, {614, 4}).applyTo(record.image);
    return record;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    zx::DatabaseRecord record = fullTableRecord();
    zx::ConfigDocument document(record);
    document.setModel(DeviceModel::Line16);
    zx::ScriptedInteraction interaction;
    MainWindow form(document, interaction);
    form.showModel(DeviceModel::Line16);
    form.viewPages->buildAll();
    zx::CodeCommands codes(form);
    zx::EditCommands edits(form);
    form.show();
    QApplication::processEvents();

    // One generation through the window's command, as the operator makes it.
    document.takeFile(fullTableRecord(), QStringLiteral("bench.vd1"), {});
    form.refill();
    form.showView(zx::PageOrder::CodesPage);
    QApplication::processEvents();
    codes.generateCodes();
    QApplication::processEvents();
    if (!document.canUndo() || !interaction.messages().isEmpty()) std::abort();
    std::printf("(%s)\n", document.undoName().toUtf8().constData());

    // The history alone: the step's bytes written back into a copy of the record; the heap it
    // holds for the step.
    zx::EditHistory history;
    std::size_t generationHeld = 0;
    {
        const zx::DatabaseRecord after = document.record();
        document.undo();
        const auto beforeBytes = document.record().toBytes();
        const auto afterBytes = after.toBytes();
        const std::size_t heap = heapInUse();
        history.record(beforeBytes, afterBytes,
                       {document.redoName().toStdString(), "", {"StringGrid1", 1}});
        generationHeld = heapInUse() - heap;
        document.redo();
    }
    auto bytes = document.record().toBytes();
    measure(
        "history alone: undo of the generation step", runs, 20, [&] { history.redo(bytes); },
        [&] { history.undo(bytes); });
    measure(
        "history alone: redo of the generation step", runs, 20, [&] { history.undo(bytes); },
        [&] { history.redo(bytes); });

    // The window as the operator sees it: the refill, the page and row shown, painted.
    measure(
        "window: undo of the generation (refill, page shown)", runs, 20,
        [&] {
            if (!document.canUndo()) edits.redo();
            QApplication::processEvents();
        },
        [&] {
            edits.undo();
            form.repaint();
            QApplication::processEvents();
        });
    measure(
        "window: redo of the generation (refill, page shown)", runs, 20,
        [&] {
            if (!document.canRedo()) edits.undo();
            QApplication::processEvents();
        },
        [&] {
            edits.redo();
            form.repaint();
            QApplication::processEvents();
        });

    // 200 stores of two fields in turn, so that no two merge, named as the document names them.
    zx::EditHistory fields;
    zx::DatabaseRecord state;
    zx::applyNewConfiguration(state, DeviceModel::Line16);
    std::size_t fieldsHeld = 0;
    for (int i = 0; i < 200; ++i) {
        const zx::Field field = i % 2 ? zx::Field::CoPosition : zx::Field::CalledPosition;
        zx::DatabaseRecord next = state;
        zx::storeByteRange(DeviceModel::Line16, field, std::to_string(1 + i))->applyTo(next.image);
        zx::StepLabel label = zx::describeChange(state, next, DeviceModel::Line16);
        label.place.control = i % 2 ? "MEcopos" : "MEcallpos";
        const auto a = state.toBytes();
        const auto b = next.toBytes();
        const std::size_t heap = heapInUse();
        fields.record(a, b, std::move(label));
        fieldsHeld += heapInUse() - heap;
        state = next;
    }
    if (fields.stepCount() != 200) std::abort();
    printMemory("memory of 200 single-field steps", fieldsHeld, 64);
    printMemory("memory of one generation step (614 codes, whole table)", generationHeld, 200);
    if (!document.canUndo()) std::abort();
    form.hide();
    return 0;
}
