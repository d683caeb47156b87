#pragma once
// One view of the main window's page control: its own widgets, its layout per model, its part
// of the refill and its store handlers. Views change the image only through the document.
#include "model/checked.h"
#include "model/editor_view.h"
#include "model/image_patch.h"
#include "model/memory_map.h"

#include <QPointer>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLineEdit;

namespace zx {

class ConfigDocument;
class Interaction;
class RadioGroup;

class ConfigView : public QWidget {
    Q_OBJECT
  public:
    // Registers the view's part of the document's commit step.
    ConfigView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);
    // No store leaves the view once it is being destroyed: the focus moving out of a control
    // that is torn down is not the operator leaving it.
    ~ConfigView() override;

    // Shows and hides what the model has; replaced choice lists have no item selected until
    // the next refill, and no numeric edit is bound to a field until then.
    virtual void layoutFor(DeviceModel model);
    // Shows the image as decoded for the editors and binds the numeric edits to their fields
    // in the map of the model shown.
    virtual void refill(const EditorView& view);
    // After a refill: what every control shows now is what the record holds. Leaving a control
    // (or the commit step finding the focus in it) stores only when it shows something else
    // since, so a control passed through untouched never writes its reading of a byte its
    // choices cannot tell.
    void takeShownAsStored();

    // The view's part of the commit step: the control of this view that holds the window's
    // focus stores what it shows, through the same check as leaving it. False when refused (the
    // message was shown and the focus is back in the control with the text as typed).
    virtual bool commitPendingEdit();
    // Whether the commit step stores what `widget` (a control or a part of one) shows.
    virtual bool storesFrom(const QWidget* widget) const;

    // Takes the operator to a control of this view: the focus in it (a choice group's selected
    // item) with its text selected; in a list or the code grid, row `row` (counted from 1) made
    // current and selected. False when the view shows no such control or row.
    bool goToControl(const QString& objectName, std::optional<int> row = std::nullopt);

    // The control whose last store was refused and that still shows the value as typed; none
    // once it stored or the view was refilled. The page holding it is not to be left.
    QWidget* refusedControl() const { return refused_; }
    // The focus back where the refused value is to be corrected (the control; the grid's cell).
    virtual void focusRefusedControl();

  protected:
    // The model the view shows since its last refill; none between a model switch and the next
    // refill, when nothing may be stored.
    std::optional<DeviceModel> shownModel() const { return boundModel_; }

    // Applies an editor's store, which marks the configuration modified when it changed a
    // byte. A refusal is shown and the focus goes back into the control, whose text stays as
    // typed; an empty patch stores nothing. True unless refused.
    bool store(const Checked<ImagePatch>& result, QWidget* control);
    void refuse(const std::string& message, QWidget* control);
    // A refusal of what a button was to do with a field that is no setting of its own (the
    // exception and barred area entries): said, the focus in the field, the page free to leave.
    void tell(const std::string& message, QWidget* control);
    // The control stored what it shows: nothing refused is left in it.
    void clearRefusal(const QWidget* control) {
        if (control == refused_) refused_ = nullptr;
    }

    // What a control stores when the operator leaves it, and when the commit step finds the
    // focus in it. `store` returns false when it refused. A group tells of leaving itself (its
    // buttons are made anew with its items).
    void storeOnLeave(QWidget* control, std::function<bool()> store);
    void storeOnLeave(RadioGroup* group, std::function<bool()> store);

    // A numeric edit of a one-byte field with a byte range: the byte-range check stores it
    // when the operator leaves it.
    void bindEdit(QLineEdit* edit, Field field);

    // The control of the window that has (or gets, once the window is active) the focus.
    QWidget* windowFocus() const;

    ConfigDocument& document_;
    Interaction& interaction_;

  private:
    struct LeaveStore {
        QPointer<QWidget> control;
        std::function<bool()> store;
        QPointer<QObject> watcher;
        // What the control showed when it was last refilled or stored: unchanged since, it
        // stores nothing (and so does not mark a saved configuration modified).
        std::optional<QVariant> stored;
    };
    LeaveStore& addLeaveStore(QWidget* control, std::function<bool()> store);
    void leave(LeaveStore& entry);
    // The entry's store unless its control shows what was last stored; false when refused.
    bool storeIfChanged(LeaveStore& entry);

    std::vector<std::unique_ptr<LeaveStore>> leaveStores_;
    std::optional<DeviceModel> boundModel_;
    QPointer<QWidget> refused_;
};

} // namespace zx
