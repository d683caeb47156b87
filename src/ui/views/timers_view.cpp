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

    auto* lblido1 = makeLabel(sheet, "lblido1", "#1");
    lblido2 = makeLabel(sheet, "lblido2", "#2");
    grid->addWidget(lblido1, 0, 1);
    grid->addWidget(lblido2, 0, 2);

    MEibe = timerEdit(sheet, "MEibe", "x 100mS");
    MEibo = timerEdit(sheet, "MEibo", "x 100mS");
    MEintd = timerEdit(sheet, "MEintd", "x 0,5S");
    ME1t1 = timerEdit(sheet, "ME1t1", "x100mS");
    ME1t2 = timerEdit(sheet, "ME1t2", "x100mS");
    ME2t1 = timerEdit(sheet, "ME2t1", "x100mS");
    ME2t2 = timerEdit(sheet, "ME2t2", "x100mS");
    MEcol1 = timerEdit(sheet, "MEcol1", "x100mS");
    MEcol2 = timerEdit(sheet, "MEcol2", "x100mS");
    MEcor1 = timerEdit(sheet, "MEcor1", "x100mS");
    MEcor2 = timerEdit(sheet, "MEcor2", "x100mS");
    struct Row {
        const char* labelName;
        const char* label;
        QLineEdit* first;
        QLineEdit* second;
    };
    const Row rows[] = {
        {"lblibe", "Beemelési:", MEibe, nullptr},    {"lblibo", "Bontási:", MEibo, nullptr},
        {"lblintd", "Interdigit:", MEintd, nullptr}, {"lbl1t", "Elsö T. hang:", ME1t1, ME1t2},
        {"lbl2t", "Második T. hang:", ME2t1, ME2t2}, {"lblcol", "CO leidözítés:", MEcol1, MEcol2},
        {"lblcor", "CO reszet:", MEcor1, MEcor2},
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
        {MEibe, Field::SeizeTime},       {MEibo, Field::ReleaseTime},
        {MEintd, Field::InterdigitTime}, {ME1t1, Field::FirstToneTime1},
        {ME2t1, Field::SecondToneTime1}, {MEcor1, Field::CoResetTime1},
        {MEcol1, Field::CoTimeout1},     {ME1t2, Field::FirstToneTime2},
        {ME2t2, Field::SecondToneTime2}, {MEcor2, Field::CoResetTime2},
        {MEcol2, Field::CoTimeout2},     {edLI, Field::LoopPulseDelta},
    };
    for (const auto& [edit, field] : fields)
        bindEdit(edit, field);
}

void TimersView::layoutFor(DeviceModel model) {
    ConfigView::layoutFor(model);
    const bool four = model == DeviceModel::Line4;
    for (QWidget* w : {static_cast<QWidget*>(lblido2), static_cast<QWidget*>(ME1t2),
                       static_cast<QWidget*>(ME2t2), static_cast<QWidget*>(MEcol2),
                       static_cast<QWidget*>(MEcor2)})
        w->setVisible(!four);
    lblDeltaLI->setVisible(four);
    edLI->setVisible(four);
}

void TimersView::refill(const EditorView& v) {
    ConfigView::refill(v);
    const std::pair<QLineEdit*, std::optional<int>> shown[] = {
        {MEibe, v.seizeTime},   {MEibo, v.releaseTime}, {MEintd, v.interdigitTime},
        {ME1t1, v.firstTone1},  {ME2t1, v.secondTone1}, {MEcor1, v.coReset1},
        {MEcol1, v.coTimeout1}, {ME1t2, v.firstTone2},  {ME2t2, v.secondTone2},
        {MEcor2, v.coReset2},   {MEcol2, v.coTimeout2}, {edLI, v.loopPulseDelta},
    };
    for (const auto& [edit, value] : shown)
        if (value) edit->setText(QString::number(*value));
}

} // namespace zx
