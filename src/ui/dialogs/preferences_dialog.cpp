#include "ui/dialogs/preferences_dialog.h"

#include "files/cp1250.h"
#include "model/code_table.h"
#include "model/code_table_shape.h"
#include "model/value_rules.h"
#include "ui/dialogs/dialog_placement.h"
#include "ui/dialogs/interaction.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zx {

namespace {

using Slot = DatabaseRecord::Slot;
constexpr std::array<Slot, 3> TextSlots{Slot::Site, Slot::Owner, Slot::Password};

QLineEdit* lineEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    // The record holds 255 characters; a longer text is refused at the close, not cut while
    // pasted.
    return edit;
}

QSpinBox* spinBox(QWidget* parent, const char* name, int minimum, int maximum, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

} // namespace

PreferencesDialog::PreferencesDialog(DatabaseRecord& record, DeviceModel model,
                                     const QDateTime& lastModified, Interaction& interaction,
                                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      record_(record), map_(MemoryMap::of(model)), lastModified_(lastModified),
      interaction_(interaction) {
    setObjectName(QStringLiteral("TPrefer"));
    setWindowTitle(QString::fromUtf8("Preferenciák"));
    setModal(true);

    Esite = lineEdit(this, "Esite");
    Euser = lineEdit(this, "Euser");
    passwordEdit = lineEdit(this, "Epassw1");
    passwordEdit->setEchoMode(QLineEdit::Password);
    passwordEdit->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    Edatetime = new QLineEdit(this);
    Edatetime->setObjectName(QStringLiteral("Edatetime"));
    Edatetime->setEnabled(false);
    SEkoddb = spinBox(this, "SEkoddb", 0, codeCountLimit(6), 0);
    SEkodlen = spinBox(this, "SEkodlen", MinCodeDigits, MaxCodeDigits, 6);
    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Button1"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QString::fromUtf8("Mégsem"), this);
    cancelButton->setObjectName(QStringLiteral("Button2"));
    texts_ = {Esite, Euser, passwordEdit};

    auto* form = new QFormLayout;
    form->addRow(QString::fromUtf8("Telepítés:"), Esite);
    form->addRow(QString::fromUtf8("Tulajdonos:"), Euser);
    form->addRow(QString::fromUtf8("Jelszó:"), passwordEdit);
    form->addRow(QString::fromUtf8("Utolsó módosítás:"), Edatetime);
    form->addRow(QString::fromUtf8("Kódok darabszáma:"), SEkoddb);
    form->addRow(QString::fromUtf8("Kódjegyek száma:"), SEkodlen);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addLayout(buttons);
    Esite->setMinimumWidth(280);
    setFixedSize(sizeHint());

    for (int i = 0; i < static_cast<int>(texts_.size()); ++i)
        connect(texts_[static_cast<std::size_t>(i)], &QLineEdit::textChanged, this,
                [this, i] { textChanged(i); });
    connect(SEkodlen, &QSpinBox::valueChanged, this, &PreferencesDialog::codeShapeChanged);
    connect(SEkoddb, &QSpinBox::valueChanged, this, &PreferencesDialog::codeShapeChanged);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    prepareFields();
}

QDateTime PreferencesDialog::zeroDate() {
    return QDateTime(QDate(1899, 12, 30), QTime(0, 0));
}

QString PreferencesDialog::lastModifiedText(const QDateTime& when, const QLocale& locale) {
    const QDateTime shown = when.isValid() ? when : zeroDate();
    const QString date = locale.toString(shown.date(), QLocale::ShortFormat);
    if (shown.time() == QTime(0, 0)) return date;
    // The long format ends in a time zone, which a bare time shows as "UTC" whatever the zone;
    // a file's time is local, so it is shown without one.
    static const QRegularExpression zone(QStringLiteral("\\s*(?<![A-Za-z'])t+(?![A-Za-z'])"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(zone);
    return date + QLatin1Char(' ') + locale.toString(shown.time(), format.trimmed());
}

void PreferencesDialog::prepareFields() {
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        shown_[i] = fromCp1250(record_.text(TextSlots[i]));
        accepted_[i] = shown_[i];
        texts_[i]->setText(shown_[i]);
    }
    Edatetime->setText(lastModifiedText(lastModified_));
    // Every code the table holds is shown, even beyond the limit of its digits, so that OK on
    // an untouched dialog keeps them all.
    stored_ = storedCodeTableShape(record_.image, map_);
    SEkodlen->setValue(stored_.digits);
    SEkoddb->setMaximum(offeredCountLimit(stored_.digits, stored_));
    SEkoddb->setValue(stored_.count);
}

void PreferencesDialog::codeShapeChanged() {
    const int limit = offeredCountLimit(SEkodlen->value(), stored_);
    const QSignalBlocker quiet(SEkoddb);
    if (SEkoddb->value() > limit) SEkoddb->setValue(limit);
    SEkoddb->setMaximum(limit);
}

void PreferencesDialog::textChanged(int field) {
    const auto i = static_cast<std::size_t>(field);
    QLineEdit* edit = texts_[i];
    const QString text = edit->text();
    const QString outside = charactersOutsideCp1250(text);
    // Characters that came from the record unreadable may stay; new ones may not come in.
    if (outside.size() > charactersOutsideCp1250(accepted_[i]).size()) {
        const int cursor =
            edit->cursorPosition() - static_cast<int>(text.size() - accepted_[i].size());
        {
            const QSignalBlocker quiet(edit);
            edit->setText(accepted_[i]);
            edit->setCursorPosition(std::max(0, cursor));
        }
        QString added = outside;
        for (const QChar c : charactersOutsideCp1250(accepted_[i]))
            added.remove(added.indexOf(c), 1);
        interaction_.message(this, outsideCp1250Message(added.isEmpty() ? outside : added));
        return;
    }
    accepted_[i] = text;
}

void PreferencesDialog::storeFields() {
    // A text the operator left alone is not converted again, so bytes the code page has no
    // character for stay as the file had them.
    for (std::size_t i = 0; i < texts_.size(); ++i)
        if (texts_[i]->text() != shown_[i])
            record_.setText(TextSlots[i], toCp1250(texts_[i]->text()));
    // A new length lays the codes out again at once, so the table never holds records of
    // another length than CodeLength says.
    reshapedCodeTablePatch(record_.image, map_, chosenShape()).applyTo(record_.image);
}

CodeTableShape PreferencesDialog::chosenShape() const {
    return {SEkoddb->value(), SEkodlen->value()};
}

int PreferencesDialog::codeCount() const {
    const auto count = map_.offset(Field::CodeCount);
    return count ? record_.image.word(*count) : 0;
}

bool PreferencesDialog::dropsAgreed() {
    const int dropped = codesDroppedBy(SEkoddb->value(), stored_);
    if (dropped == 0) return true;
    const QString question = QString::fromUtf8("%1 kód törlődik. Folytatja?").arg(dropped);
    if (interaction_.askYesNo(this, QStringLiteral("Zendrax"), question) ==
        Interaction::Answer::Yes)
        return true;
    // The dialog stays open, keeping as many of the codes as the digits chosen allow.
    SEkoddb->setValue(std::min(stored_.count, SEkoddb->maximum()));
    return false;
}

bool PreferencesDialog::shorteningAgreed() {
    const int shortened = codesShortenedBy(record_.image, map_, chosenShape());
    if (shortened == 0) return true;
    const QString question = QString::fromUtf8("%1 kód rövidebb lesz. Folytatja?").arg(shortened);
    // "Nem" leaves the dialog open as the operator left it.
    return interaction_.askYesNo(this, QStringLiteral("Zendrax"), question) ==
           Interaction::Answer::Yes;
}

bool PreferencesDialog::textsFit() {
    static constexpr std::array<const FieldRule*, 3> Rules{&SiteRule, &OwnerRule, &PasswordRule};
    for (std::size_t i = 0; i < texts_.size(); ++i) {
        if (texts_[i]->text() == shown_[i]) continue;
        if (const auto refused = fieldRefusal(*Rules[i], toCp1250(texts_[i]->text()))) {
            interaction_.message(this, QString::fromStdString(refused->message));
            texts_[i]->setFocus();
            return false;
        }
    }
    return true;
}

bool PreferencesDialog::lengtheningAgreed() {
    const CodeTableShape chosen = chosenShape();
    if (chosen.digits <= stored_.digits) return true;
    const int left = codesLeftShortBy(record_.image, map_, chosen);
    if (left == 0) return true;
    const QString question =
        QString::fromUtf8("%1 kód rövidebb lesz az új kódhossznál: az egység csak akkor fogadja "
                          "el őket, ha újra beírják vagy generálják. Folytatja?")
            .arg(left);
    return interaction_.askYesNo(this, QStringLiteral("Zendrax"), question) ==
           Interaction::Answer::Yes;
}

void PreferencesDialog::done(int result) {
    // "Mégsem", Escape and the window's close button leave the record as it was.
    if (!closed_ && result == QDialog::Accepted) {
        // A text longer than the record holds is not cut: the dialog stays open with it.
        if (!textsFit()) return;
        // Codes leave the table, lose digits or fall short of the new length only when the
        // operator said so.
        if (!dropsAgreed() || !shorteningAgreed() || !lengtheningAgreed()) return;
        storeFields();
    }
    closed_ = true;
    QDialog::done(result);
}

void PreferencesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (centred_) return;
    centred_ = true;
    centreOnScreen(*this);
}

} // namespace zx
