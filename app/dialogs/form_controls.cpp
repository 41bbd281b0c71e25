#include "app/dialogs/form_controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

QGridLayout* FieldGrid(std::initializer_list<std::pair<QWidget*, QWidget*>> rows, QWidget* container)
{
    auto* grid = container ? new QGridLayout(container) : new QGridLayout;
    int row = 0;
    for (const auto& [label, field] : rows) {
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->setColumnStretch(1, 1);
    return grid;
}

QHBoxLayout* ButtonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) row->addWidget(button);
    return row;
}
