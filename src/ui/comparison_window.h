#pragma once

#include <QDialog>

#include "app/comparison_table.h"

class QTableWidget;

namespace clockvane::ui {

// The modal window of a comparison: one line per compared value, a column per file, and the
// lines that differ marked in bold with their note. It only shows the controller's table.
class ComparisonWindow : public QDialog {
    Q_OBJECT

public:
    ComparisonWindow(const app::ComparisonTable& table, QWidget* parent = nullptr);

    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_ = nullptr;
};

}  // namespace clockvane::ui
