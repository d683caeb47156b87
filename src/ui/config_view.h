#pragma once
// One view of the main window's page control: its own widgets, its layout per model, its part
// of the refill and its store handlers. Views change the image only through the document.
#include "model/checked.h"
#include "model/editor_view.h"
#include "model/image_patch.h"
#include "model/memory_map.h"

#include <QWidget>

#include <optional>
#include <vector>

class QLineEdit;

namespace zx {

class ConfigDocument;
class Interaction;

class ConfigView : public QWidget {
    Q_OBJECT
  public:
    ConfigView(ConfigDocument& document, Interaction& interaction, QWidget* parent = nullptr);

    // Shows and hides what the model has; replaced choice lists have no item selected until
    // the next refill, and no numeric edit is bound to a field until then.
    virtual void layoutFor(DeviceModel model);
    // Shows the image as decoded for the editors and binds the numeric edits to their fields
    // in the map of the model shown.
    virtual void refill(const EditorView& view);

    // The image offset a numeric edit stores at, none while it is unbound or the model lacks
    // its field.
    std::optional<int> boundOffset(const QWidget* edit) const;

  protected:
    // The model the view shows since its last refill; none between a model switch and the next
    // refill, when nothing may be stored.
    std::optional<DeviceModel> shownModel() const { return boundModel_; }

    // When a store marks the configuration modified.
    enum class Mark { WhenStored, WhenChanged };
    // Applies an editor's store. A refusal is shown and the focus goes back into the control,
    // whose text stays as typed; an empty patch stores nothing. True unless refused.
    bool store(const Checked<ImagePatch>& result, QWidget* control, Mark mark);
    void refuse(const std::string& message, QWidget* control);

    // A numeric edit that shows one byte of a field (add: the byte's place in the field).
    struct ByteEdit {
        QLineEdit* edit;
        Field field;
        int add = 0;
    };
    void bindEdit(QLineEdit* edit, Field field, int add = 0);

    ConfigDocument& document_;
    Interaction& interaction_;

  private:
    std::vector<ByteEdit> edits_;
    std::optional<DeviceModel> boundModel_;
};

} // namespace zx
