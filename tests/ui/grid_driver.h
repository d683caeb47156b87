#pragma once
// The operator's mouse on the code grid, counted as the operator counts: code row n is row n,
// column 1 the code.
#include "ui/views/code_grid.h"
#include "ui/views/code_grid_model.h"

#include <QTest>

class GridDriver {
  protected:
    QModelIndex at(int column, int row) const {
        return grid->gridModel()->index(row - 1, column - 1);
    }
    QPoint centre(int column, int row) {
        grid->scrollTo(at(column, row));
        return grid->visualRect(at(column, row)).center();
    }
    void goTo(int column, int row) {
        grid->setFocus();
        grid->setCurrentIndex(at(column, row));
    }
    void click(int column, int row, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, mods, centre(column, row));
    }
    // The press and release come first, as from a real mouse.
    void doubleClick(int column, int row) {
        click(column, row);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre(column, row));
    }

    zx::CodeGrid* grid = nullptr;
};
