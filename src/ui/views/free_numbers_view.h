#pragma once
// The "Számok" view: numbers that may be called without a code. The list is the working copy;
// storeFreeNumbers, the one writer, puts it into the image with each entry trimmed
// (freeNumbersPatch) however it is reached: each of the list's commands when it is done (one
// step of the undo history, named by the command), leaving the page, choosing another page,
// the commit step of every command (closing included). It writes only a
// list changed since it was shown, so a table nobody edited keeps its bytes as the file had
// them. The modified flag follows that store: it is set when the stored bytes change, so a
// number added and deleted again, or an import of what the table holds, leaves it as it was.
#include "model/raw_text.h"
#include "ui/views/config_view.h"

#include <optional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPushButton;

namespace zx {

class FreeNumbersView : public ConfigView {
    Q_OBJECT
  public:
    FreeNumbersView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);
    ~FreeNumbersView() override;

    // Shows the stored entries (in order while the list is sorted); the buttons and the
    // counter follow.
    void refill(const EditorView& v) override;
    // The commit step's part: the list is written as it stands.
    bool commitPendingEdit() override;

    // When the list changed since it was shown or last written: writes it into the image, each
    // entry without spaces and control characters at either end, as one step of the undo
    // history (named stepName, or by the entries it changed), and marks the configuration
    // modified when a byte of the table changed. A list the table cannot hold (an entry longer
    // than 16 characters, more entries than its room) is refused with a message and stays as
    // it is; false then.
    bool storeFreeNumbers(const std::string& stepName = {});

    // "&Uj szám": the edit's number joins the list.
    void addNumber();
    // "&Javítás": the current entry becomes the edit's number.
    void correctNumber();
    // "&Törlés": the selected entries leave the list.
    void deleteSelected();
    // A click in the list: the edit shows the current entry.
    void pickCurrentEntry();
    // The buttons' enabled state and the counter "Bejegyzések:n/capacity".
    void updateButtonsAndCounter();

    // "Mind töröl" after it was confirmed: the list and the edit emptied.
    void clearAll();
    // What an import brings: the entries join the list (in order while it is sorted), after
    // the list was emptied when they replace it.
    void takeEntries(const std::vector<RawText>& imported, bool replace);
    // "ABC Rendezett": switched on, the entries are sorted at once and later ones join in order.
    void setSorted(bool sorted);
    bool sorted() const { return sorted_; }

    // The list's entries in order, as the table receives them.
    std::vector<RawText> entries() const;
    // The free-number capacity of the model shown.
    int capacity() const;
    // Which entries the operator selected, in list order.
    std::vector<bool> selectedEntries() const;

  private:
    QLabel *listHeading, *entryLabel;
    QListWidget* lbFreeCall;
    QLineEdit* MEfreecall;
    QPushButton *BTNfreejav, *newNumberButton, *BTNfreedel;

    bool eventFilter(QObject* watched, QEvent* event) override;

    void showEntries(const std::vector<RawText>& entries);
    // The number field shows an entry without its padding, selected.
    void showInEdit(const RawText& entry);
    // The edit's text in the code page of the table, or a refusal shown with the focus on it.
    std::optional<RawText> editNumber();

    bool sorted_ = false;
    bool listChanged_ = false; // the list differs, or may, from the table last shown or written
    bool keyInList_ = false;   // a key is down in the list
    QMetaObject::Connection focusWatch_;
};

} // namespace zx
