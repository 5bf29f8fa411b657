// "设置": the switches of the safety net and the folder the backups go to.
#pragma once

#include "app/tool_settings.h"

#include <string>

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;

namespace nx5rb {

class SettingsDialog final : public QDialog
{
    Q_OBJECT

public:
    SettingsDialog(const ToolSettings &settings, const std::string &backupFolder,
                   QWidget *parent = nullptr);

    // The settings as the dialog leaves them (after "确定").
    ToolSettings Chosen() const;

    QCheckBox *CheckBackups = nullptr;
    QCheckBox *CheckGuard = nullptr;
    QCheckBox *CheckVerify = nullptr;
    QCheckBox *CheckChangedOnly = nullptr;
    QLabel *LabelBackupFolder = nullptr;
    QPushButton *CommandOpenFolder = nullptr;
    QPushButton *OkButton = nullptr; // Command1, 确定
    QPushButton *CancelButton = nullptr; // Command2, 取消

private:
    ToolSettings settings_;
    std::string folder_;
};

} // namespace nx5rb
