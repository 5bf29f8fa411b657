// frmAbout: title, version and release date, and a way to the system's information program.
#pragma once

#include <functional>

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace nx5rb {

class Prompt;

// Starts the system-information program, if this system has one; false when none was found or
// it could not be started.
bool StartSysInfo();

class frmAbout final : public QDialog
{
    Q_OBJECT

public:
    explicit frmAbout(Prompt &prompt, QWidget *parent = nullptr);

    // What "系统信息(&S)..." runs; tests replace it.
    std::function<bool()> SysInfoStarter = StartSysInfo;

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QLabel *picIcon = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

private:
    void cmdSysInfo_Click();

    Prompt &prompt_;
};

} // namespace nx5rb
