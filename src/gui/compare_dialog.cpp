#include "gui/compare_dialog.h"

#include "gui/qt_text.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace nx5rb {

namespace {
constexpr std::string_view kCaption = "比较文件";
constexpr std::string_view kSame = "当前数据与文件 %1 相同。";
constexpr std::string_view kDiffer = "当前数据与文件 %1 有 %2 处不同：";
constexpr std::string_view kPage = "页面";
constexpr std::string_view kField = "项目";
constexpr std::string_view kCurrent = "当前数据";
constexpr std::string_view kFile = "文件";
constexpr std::string_view kClose = "关闭";
} // namespace

CompareDialog::CompareDialog(const std::vector<FieldDifference> &differences,
                             const QString &fileName, QWidget *parent)
    : QDialog(parent)
{
    setObjectName("CompareDialog");
    setWindowTitle(Q(kCaption));
    auto *layout = new QVBoxLayout(this);
    LabelSummary
        = new QLabel(differences.empty() ? Q(kSame).arg(fileName)
                                         : Q(kDiffer).arg(fileName).arg(differences.size()),
                     this);
    LabelSummary->setObjectName("LabelSummary");
    layout->addWidget(LabelSummary);

    TableDifferences = new QTableWidget(int(differences.size()), 4, this);
    TableDifferences->setObjectName("TableDifferences");
    TableDifferences->setAccessibleName(Q(kCaption));
    TableDifferences->setHorizontalHeaderLabels(
        {Q(kPage), Q(kField), Q(kCurrent), Q(kFile) + ' ' + fileName});
    TableDifferences->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableDifferences->verticalHeader()->hide();
    for (int row = 0; row < int(differences.size()); ++row) {
        const FieldDifference &difference = differences[std::size_t(row)];
        const QString texts[] = {Q(PageCaption(difference.page)), Q(difference.name),
                                 Q(difference.a), Q(difference.b)};
        for (int col = 0; col < 4; ++col)
            TableDifferences->setItem(row, col, new QTableWidgetItem(texts[col]));
    }
    TableDifferences->resizeColumnsToContents();
    TableDifferences->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(TableDifferences, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *close = MakeButton(this, kClose, "CommandCloseCompare");
    buttons->addButton(close, QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(720, 480);
}

} // namespace nx5rb
