// "比较文件(&D)...": every field in which the image differs from a chosen file, by page and name,
// with both values as the pages show them.
#pragma once

#include "editors/field_table.h"

#include <vector>

#include <QDialog>

class QLabel;
class QTableWidget;

namespace nx5rb {

class CompareDialog final : public QDialog
{
    Q_OBJECT

public:
    CompareDialog(const std::vector<FieldDifference> &differences, const QString &fileName,
                  QWidget *parent = nullptr);

    QLabel *LabelSummary = nullptr;
    QTableWidget *TableDifferences = nullptr;
};

} // namespace nx5rb
