#include "ui/views/timers_view.h"

#include "ui/views/view_helpers.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include <utility>

namespace zx {

namespace {

constexpr int EditWidth = 48;

QLineEdit* timerEdit(QWidget* parent, const char* name, const char* hint) {
    QLineEdit* edit = makeEdit(parent, name, 0, EditWidth);
    edit->setToolTip(QString::fromUtf8(hint));
    return edit;
}

} // namespace

TimersView::TimersView(ConfigDocument& document, Interaction& interaction, QWidget* parent)
    : ConfigView(document, interaction, parent) {
    setObjectName(QStringLiteral("TabSheet3"));
    QWidget* sheet = this;
    auto* grid = new QGridLayout(this);

    auto* groupHeading1 = makeLabel(sheet, "lblido1", "#1");
    groupHeading2 = makeLabel(sheet, "lblido2", "#2");
    grid->addWidget(groupHeading1, 0, 1);
    grid->addWidget(groupHeading2, 0, 2);

    MEibe = timerEdit(sheet, "MEibe", "x 100mS");
    MEibo = timerEdit(sheet, "MEibo", "x 100mS");
    MEintd = timerEdit(sheet, "MEintd", "x 0,5S");
    firstToneEdit1 = timerEdit(sheet, "ME1t1", "x100mS");
    firstToneEdit2 = timerEdit(sheet, "ME1t2", "x100mS");
    secondToneEdit1 = timerEdit(sheet, "ME2t1", "x100mS");
    secondToneEdit2 = timerEdit(sheet, "ME2t2", "x100mS");
    coTimeoutEdit1 = timerEdit(sheet, "MEcol1", "x100mS");
    coTimeoutEdit2 = timerEdit(sheet, "MEcol2", "x100mS");
    coResetEdit1 = timerEdit(sheet, "MEcor1", "x100mS");
    coResetEdit2 = timerEdit(sheet, "MEcor2", "x100mS");
    struct Row {
        const char* labelName;
        const char* label;
        QLineEdit* first;
        QLineEdit* second;
    };
    const Row rows[] = {
        {"lblibe", "Beemelési:", MEibe, nullptr},
        {"lblibo", "Bontási:", MEibo, nullptr},
        {"lblintd", "Interdigit:", MEintd, nullptr},
        {"lbl1t", "Elsö T. hang:", firstToneEdit1, firstToneEdit2},
        {"lbl2t", "Második T. hang:", secondToneEdit1, secondToneEdit2},
        {"lblcol", "CO leidözítés:", coTimeoutEdit1, coTimeoutEdit2},
        {"lblcor", "CO reszet:", coResetEdit1, coResetEdit2},
    };
    int r = 1;
    for (const Row& row : rows) {
        grid->addWidget(makeLabel(sheet, row.labelName, row.label, row.first), r, 0);
        grid->addWidget(row.first, r, 1);
        if (row.second) grid->addWidget(row.second, r, 2);
        ++r;
    }

    const char* const deltaHint = "A két jelfogó elengedése közötti idő (x10mS)";
    edLI = timerEdit(sheet, "edLI", deltaHint);
    lblDeltaLI = makeLabel(sheet, "lblDeltaLI", "Hurok/Imp különbség:", edLI);
    lblDeltaLI->setToolTip(QString::fromUtf8(deltaHint));
    grid->addWidget(lblDeltaLI, r, 0);
    grid->addWidget(edLI, r, 1);

    grid->setColumnMinimumWidth(1, EditWidth + 8);
    grid->setColumnMinimumWidth(2, EditWidth + 8);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(r + 1, 1);

    const std::pair<QLineEdit*, Field> fields[] = {
        {MEibe, Field::SeizeTime},
        {MEibo, Field::ReleaseTime},
        {MEintd, Field::InterdigitTime},
        {firstToneEdit1, Field::FirstToneTime1},
        {secondToneEdit1, Field::SecondToneTime1},
        {coResetEdit1, Field::CoResetTime1},
        {coTimeoutEdit1, Field::CoTimeout1},
        {firstToneEdit2, Field::FirstToneTime2},
        {secondToneEdit2, Field::SecondToneTime2},
        {coResetEdit2, Field::CoResetTime2},
        {coTimeoutEdit2, Field::CoTimeout2},
        {edLI, Field::LoopPulseDelta},
    };
    for (const auto& [edit, field] : fields)
        bindEdit(edit, field);
}

void TimersView::layoutFor(DeviceModel model) {
    ConfigView::layoutFor(model);
    const bool four = model == DeviceModel::Line4;
    for (QWidget* w : {static_cast<QWidget*>(groupHeading2), static_cast<QWidget*>(firstToneEdit2),
                       static_cast<QWidget*>(secondToneEdit2),
                       static_cast<QWidget*>(coTimeoutEdit2), static_cast<QWidget*>(coResetEdit2)})
        w->setVisible(!four);
    lblDeltaLI->setVisible(four);
    edLI->setVisible(four);
}

void TimersView::refill(const EditorView& v) {
    ConfigView::refill(v);
    const std::pair<QLineEdit*, std::optional<int>> shown[] = {
        {MEibe, v.seizeTime},
        {MEibo, v.releaseTime},
        {MEintd, v.interdigitTime},
        {firstToneEdit1, v.firstTone1},
        {secondToneEdit1, v.secondTone1},
        {coResetEdit1, v.coReset1},
        {coTimeoutEdit1, v.coTimeout1},
        {firstToneEdit2, v.firstTone2},
        {secondToneEdit2, v.secondTone2},
        {coResetEdit2, v.coReset2},
        {coTimeoutEdit2, v.coTimeout2},
        {edLI, v.loopPulseDelta},
    };
    for (const auto& [edit, value] : shown)
        if (value) edit->setText(QString::number(*value));
}

} // namespace zx
