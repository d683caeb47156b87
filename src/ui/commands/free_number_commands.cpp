#include "ui/commands/free_number_commands.h"

#include "ui/dialogs/interaction.h"
#include "ui/main_window.h"
#include "ui/views/free_numbers_view.h"

#include <QAction>

namespace zx {

FreeNumberCommands::FreeNumberCommands(MainWindow& form, QObject* parent)
    : QObject(parent), form_(form) {
    MainMenu& menu = form_.menu();
    connect(menu.deleteAllFreeNumbers, &QAction::triggered, this, &FreeNumberCommands::clearList);
    // The check item has already inverted its mark when it is triggered.
    connect(menu.sortFreeNumbers, &QAction::triggered, this,
            [this](bool checked) { form_.freeNumbersView()->setSorted(checked); });
}

void FreeNumberCommands::clearList() {
    // A question whose default answer (Enter) is "Nem": the list is not emptied by a key
    // pressed too many.
    if (form_.interaction().askYesNo(&form_, QString::fromUtf8("Megerősítés"),
                                     QString::fromUtf8("Biztos benne ?")) ==
        Interaction::Answer::Yes)
        form_.freeNumbersView()->clearAll();
}

} // namespace zx
