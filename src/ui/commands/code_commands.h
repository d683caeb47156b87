#pragma once
// The "Kódok" menu's own commands: "Mind kijelöl", "Generálás" and "Ellenörzés". They act on
// the code grid of the "Kódok" view; generation fills it from a random source and stores it.
#include "model/code_generation.h"

#include <QObject>

#include <functional>
#include <memory>

class MainWindow;

namespace zx {

class CodeCommands : public QObject {
    Q_OBJECT
  public:
    explicit CodeCommands(MainWindow& form, QObject* parent = nullptr);

    // Where each generation draws its numbers; by default a source seeded from the clock.
    std::function<std::unique_ptr<RandomSource>()> makeRandom;

    // Every code row's rights selected, the cursor on the last row, for the popup's commands.
    void selectAllCodes();
    // A table of CodeCount distinct random codes of the stored length into the grid, which is
    // then stored. When the table holds codes the operator is asked first ("A meglévő N kód
    // helyére újak kerülnek. Folytatja?"); "Nem", like a refused generation, changes nothing.
    void generateCodes();
    // Tells each pair of rows holding the same code (OK goes on, Cancel stops), or that there
    // is none.
    void checkDuplicates();

  private:
    // True when the table holds no code that is not blank, or the operator agreed to replace
    // them.
    bool replacingAgreed();
    // The refill, then the codes one by one into the grid; false when nothing was generated.
    bool fillGridWithNewCodes();

    MainWindow& form_;
    bool generating_ = false;
};

} // namespace zx
