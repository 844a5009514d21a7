#pragma once
// Label and field pairs of the PCI dialogs, laid out in columns.
#include <QGridLayout>
#include <QWidget>

namespace pci {
// The index-th pair goes to row index % perColumn of column pair index / perColumn.
inline void PlacePair(QGridLayout* grid, int index, int perColumn, QWidget* label, QWidget* field) {
  const int row = index % perColumn;
  const int column = index / perColumn * 2;
  grid->addWidget(label, row, column);
  grid->addWidget(field, row, column + 1);
}
}  // namespace pci
