#include "ui/comparison_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/qt_text.h"

namespace clockvane::ui {

ComparisonWindow::ComparisonWindow(const app::ComparisonTable& table, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ComparisonWindow"));
    setWindowTitle(toQt(table.title));
    setModal(true);

    table_ = new QTableWidget(int(table.rows.size()), 4, this);
    table_->setObjectName(QStringLiteral("ComparisonTable"));
    table_->setHorizontalHeaderLabels(
        {QString(), toQt(table.firstHeading), toQt(table.secondHeading), QString()});
    table_->verticalHeader()->setVisible(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int row = 0; row < int(table.rows.size()); ++row) {
        const app::ComparisonRow& line = table.rows[std::size_t(row)];
        const QStringList cells{toQt(line.label), toQt(line.first), toQt(line.second),
                                toQt(line.note)};
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            if (line.differs) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table_->setItem(row, column, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->horizontalHeader()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addWidget(buttons);
    resize(720, 560);
}

}  // namespace clockvane::ui
