#include "gui/settings_dialog.h"

#include "gui/qt_text.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace nx5rb {

namespace {
constexpr std::string_view kCaption = "设置";
constexpr std::string_view kSafety = "保护电台数据";
constexpr std::string_view kBackups = "自动备份：每次读取后，以及覆盖未保存的数据前";
constexpr std::string_view kGuard = "写入校准数据前先读取电台，相差较多时询问";
constexpr std::string_view kVerify = "写入后读回校验";
constexpr std::string_view kChangedOnly = "只写入有改动的数据块";
constexpr std::string_view kFolder = "备份文件夹：";
constexpr std::string_view kOpenFolder = "打开文件夹(&F)";

QCheckBox *Check(QWidget *parent, std::string_view caption, const char *name, bool checked)
{
    auto *box = new QCheckBox(Q(caption), parent);
    box->setObjectName(name);
    box->setAccessibleName(Q(caption));
    box->setChecked(checked);
    return box;
}

} // namespace

SettingsDialog::SettingsDialog(const ToolSettings &settings, const std::string &backupFolder,
                               QWidget *parent)
    : QDialog(parent)
    , settings_(settings)
    , folder_(backupFolder)
{
    setObjectName("SettingsDialog");
    setWindowTitle(Q(kCaption));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *frame = new QGroupBox(Q(kSafety), this);
    auto *checks = new QVBoxLayout(frame);
    CheckBackups = Check(frame, kBackups, "CheckBackups", settings.backups);
    CheckGuard = Check(frame, kGuard, "CheckGuard", settings.calibrationGuard);
    CheckVerify = Check(frame, kVerify, "CheckVerify", settings.verifyWrites);
    checks->addWidget(CheckBackups);
    checks->addWidget(CheckGuard);
    CheckChangedOnly = Check(frame, kChangedOnly, "CheckChangedOnly", settings.changedBlocksOnly);
    checks->addWidget(CheckVerify);
    checks->addWidget(CheckChangedOnly);
    layout->addWidget(frame);

    auto *folder = new QHBoxLayout;
    LabelBackupFolder = new QLabel(Q(kFolder) + QDir::toNativeSeparators(Q(folder_)), this);
    LabelBackupFolder->setObjectName("LabelBackupFolder");
    LabelBackupFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    CommandOpenFolder = MakeButton(this, kOpenFolder, "CommandOpenFolder");
    folder->addWidget(LabelBackupFolder, 1);
    folder->addWidget(CommandOpenFolder);
    layout->addLayout(folder);
    connect(CommandOpenFolder, &QPushButton::clicked, this, [this] {
        QDir().mkpath(Q(folder_));
        QDesktopServices::openUrl(QUrl::fromLocalFile(Q(folder_)));
    });

    layout->addLayout(OkCancelButtons(this, OkButton, CancelButton));
    connect(OkButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

ToolSettings SettingsDialog::Chosen() const
{
    ToolSettings chosen = settings_;
    chosen.backups = CheckBackups->isChecked();
    chosen.calibrationGuard = CheckGuard->isChecked();
    chosen.verifyWrites = CheckVerify->isChecked();
    chosen.changedBlocksOnly = CheckChangedOnly->isChecked();
    return chosen;
}

} // namespace nx5rb
