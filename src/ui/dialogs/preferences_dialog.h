#pragma once
// The preferences dialog: site, owner and password of the record, when its file was last
// changed, and the size of the code table (number of codes, digits per code). OK writes what it
// shows back into the record; "Mégsem", Escape and the close button leave the record as it was.
// A new code length lays the stored codes out again in the new record length. The dialog works on a
// record of its own: whether anything changed is read off the record afterwards.
#include "model/code_table_shape.h"
#include "model/database_record.h"
#include "model/memory_map.h"

#include <QDateTime>
#include <QDialog>
#include <QLocale>
#include <QString>

#include <array>

class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zx {

class Interaction;

class PreferencesDialog : public QDialog {
    Q_OBJECT
  public:
    // `lastModified` is the time of the file last opened; an invalid one (no file opened yet)
    // is the zero date. The dialog is filled at once, since it is shown as soon as it is made.
    PreferencesDialog(DatabaseRecord& record, DeviceModel model, const QDateTime& lastModified,
                      Interaction& interaction, QWidget* parent = nullptr);

    // 30 December 1899, midnight: what the program shows before any file was opened.
    static QDateTime zeroDate();
    // The date in the locale's short format and the time in its long format; the date alone
    // when the time is exactly midnight.
    static QString lastModifiedText(const QDateTime& when, const QLocale& locale = QLocale());

    void prepareFields();
    // A change of either spin box: the count held within the limit of the digits (or the codes
    // stored, when more are there with the digits stored).
    void codeShapeChanged();
    // Writes the texts (cut to 255 characters) and the code table's size into the record, the
    // code records laid out in the new length (reshapedCodeTablePatch).
    void storeFields();

    // CodeCount as the dialog wrote it back (the code grid gets this many rows and a header).
    int codeCount() const;

    QLineEdit* Esite;
    QLineEdit* Euser;
    QLineEdit* passwordEdit;
    QLineEdit* Edatetime;
    QSpinBox* SEkoddb;
    QSpinBox* SEkodlen;
    QPushButton* okButton;
    QPushButton* cancelButton;

  public slots:
    // OK writes back, once; a count below the codes stored asks first ("N kód törlődik.
    // Folytatja?"), and "Nem" keeps the dialog open with the codes kept; then fewer digits than
    // some stored codes have ask "N kód rövidebb lesz. Folytatja?", and more digits than some
    // kept codes have ask how many fall short of the new length; "Nem" keeps the dialog open as
    // it is. Any other close writes nothing.
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    // Refuses an edit that brings in a character the record's code page cannot hold: the
    // field gets its previous text back and the operator is told why.
    void textChanged(int field);
    // True when the count chosen drops no stored code, or the operator agreed to drop them.
    // Each text changed fits its slot of the record (255 characters); else the message is
    // shown and the focus put into the field.
    bool textsFit();
    bool dropsAgreed();
    // True when the digits chosen shorten no code kept, or the operator agreed to it.
    bool shorteningAgreed();
    // True when the digits chosen leave no kept code shorter than them, or the operator agreed.
    bool lengtheningAgreed();
    CodeTableShape chosenShape() const;

    DatabaseRecord& record_;
    const MemoryMap& map_;
    QDateTime lastModified_;
    Interaction& interaction_;
    CodeTableShape stored_;
    std::array<QLineEdit*, 3> texts_{};
    std::array<QString, 3> shown_;    // as filled from the record
    std::array<QString, 3> accepted_; // last text that passed the check
    bool centred_ = false;
    bool closed_ = false;
};

} // namespace zx
