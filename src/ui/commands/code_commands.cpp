#include "ui/commands/code_commands.h"

#include "model/code_duplicates.h"
#include "model/code_rights.h"
#include "model/code_table_shape.h"
#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/codes_view.h"
#include "ui/views/view_helpers.h"

#include <QAction>
#include <QApplication>

namespace zx {

namespace {

// The busy cursor for as long as it lives, or until it is ended.
class BusyCursor {
  public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { end(); }
    void end() {
        if (on_) QApplication::restoreOverrideCursor();
        on_ = false;
    }

  private:
    bool on_ = true;
};

} // namespace

CodeCommands::CodeCommands(MainWindow& form, QObject* parent) : QObject(parent), form_(form) {
    makeRandom = [] { return std::make_unique<ClockSeededRandom>(); };
    MainMenu& menu = form_.menu();
    connect(menu.selectAllCodes, &QAction::triggered, this, &CodeCommands::selectAllCodes);
    connect(menu.generateCodes, &QAction::triggered, this, &CodeCommands::generateCodes);
    connect(menu.checkCodes, &QAction::triggered, this, &CodeCommands::checkDuplicates);
}

void CodeCommands::selectAllCodes() {
    form_.codesView()->selectAllCodes();
}

void CodeCommands::generateCodes() {
    if (generating_ || !form_.commitPendingEdits() || !replacingAgreed()) return;
    generating_ = true;
    const bool generated = fillGridWithNewCodes();
    generating_ = false;
    if (!generated) return;
    CodesView* codes = form_.codesView();
    codes->markGridChanged();
    codes->storeGrid(
        QString::fromUtf8("Generálás (%1 kód)").arg(codes->rows().size()).toStdString());
}

bool CodeCommands::replacingAgreed() {
    const ConfigDocument& document = form_.document();
    const int held = codesHeld(document.image(), document.map());
    if (held == 0) return true;
    const QString question =
        QString::fromUtf8("A meglévő %1 kód helyére újak kerülnek. Folytatja?").arg(held);
    return form_.interaction().askYesNo(&form_, QStringLiteral("Zendrax"), question) ==
           Interaction::Answer::Yes;
}

bool CodeCommands::fillGridWithNewCodes() {
    BusyCursor busy;
    form_.refill();
    const ConfigDocument& document = form_.document();
    const MemoryMap& map = document.map();
    const int count = document.image().word(*map.offset(Field::CodeCount));
    const int length = document.image().at(*map.offset(Field::CodeLength));
    const std::unique_ptr<RandomSource> random = makeRandom();
    Checked<CodeGenerator> run = CodeGenerator::start(count, length, *random);
    if (run && run->count() == 0)
        // Nothing to generate: the one empty row the grid shows must not become a code.
        run = Refusal{"Értelmetlen adat: Kódok darabszáma:" + std::to_string(count)};
    if (!run) {
        busy.end();
        form_.interaction().message(&form_, fromUtf8(run.message()));
        return false;
    }
    CodeGenerator& generator = run.value();
    CodesView* codes = form_.codesView();
    const DeviceModel model = document.model();
    for (int row = 1; !generator.done(); ++row) {
        codes->showGeneratedCode(row, CodeRowView{generator.next(), newRowRights(model)});
    }
    busy.end();
    codes->focusGrid();
    return true;
}

void CodeCommands::checkDuplicates() {
    // The check covers the code still being typed.
    if (!form_.commitPendingEdits()) return;
    const ConfigDocument& document = form_.document();
    const int length = document.image().at(*document.map().offset(Field::CodeLength));
    std::vector<RawText> codes;
    for (const CodeRowView& row : form_.codesView()->rows())
        codes.push_back(row.code);
    DuplicateScan scan(codes, length);
    bool found = false;
    while (const auto pair = scan.next()) {
        found = true;
        if (!form_.interaction().errorOkCancel(&form_, fromUtf8(duplicateMessage(*pair)))) return;
    }
    if (!found) form_.interaction().message(&form_, fromUtf8(NoDuplicatesMessage));
}

} // namespace zx
