#include "gui/about_box.h"

#include "app/texts.h"
#include "app/version.h"
#include "gui/app_icon.h"
#include "gui/qt_text.h"
#include "link/prompt.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#ifdef Q_OS_WIN
#include <QFileInfo>
#include <QSettings>
#endif

namespace nx5rb {

namespace {

constexpr std::string_view kAboutPrefix = "关于 ";
constexpr std::string_view kVersionPrefix = "版本 ";
constexpr std::string_view kReleaseDate = "发布日期 2015.11.12";
constexpr std::string_view kDisclaimer = "本软件按现状提供，使用者须自行承担修改电台数据的风险。";
constexpr std::string_view kSysInfo = "系统信息(&S)...";
constexpr std::string_view kNoSysInfo = "此时系统信息不可用";

QFrame *Separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

bool StartSysInfo()
{
#ifdef Q_OS_WIN
    QString program = QSettings(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools\MSINFO)",
                                QSettings::NativeFormat)
                          .value("PATH")
                          .toString();
    if (program.isEmpty()) {
        const QString folder
            = QSettings(R"(HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Shared Tools Location)",
                        QSettings::NativeFormat)
                  .value("MSINFO")
                  .toString();
        if (!folder.isEmpty() && QFileInfo::exists(folder + R"(\MSINFO32.EXE)"))
            program = folder + R"(\MSINFO32.EXE)";
    }
    return !program.isEmpty() && QProcess::startDetached(program, {});
#else
    // Hardware-information and system-monitor programs of the common desktops, best first.
    static const char *const kPrograms[] = {"hardinfo2",
                                            "hardinfo",
                                            "gnome-system-monitor",
                                            "plasma-systemmonitor",
                                            "ksysguard",
                                            "mate-system-monitor",
                                            "xfce4-taskmanager",
                                            "lxtask",
                                            "qps",
                                            "kinfocenter",
                                            "lshw-gtk"};
    for (const char *name : kPrograms) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty())
            return QProcess::startDetached(program, {});
    }
    return false;
#endif
}

frmAbout::frmAbout(Prompt &prompt, QWidget *parent)
    : QDialog(parent)
    , prompt_(prompt)
{
    setObjectName("frmAbout");
    setWindowTitle(Q(kAboutPrefix) + Q(texts::kAppTitle));
    setModal(true);

    auto *layout = new QVBoxLayout(this);
    auto *head = new QHBoxLayout;
    picIcon = new QLabel(this);
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(AppIcon().pixmap(48, 48));
    head->addWidget(picIcon, 0, Qt::AlignTop);

    auto *textColumn = new QVBoxLayout;
    lblTitle = new QLabel(Q(texts::kAppTitle), this);
    lblTitle->setObjectName("lblTitle");
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(Q(kVersionPrefix) + Q(VersionText()), this);
    lblVersion->setObjectName("lblVersion");
    lblDescription = new QLabel(Q(kReleaseDate), this);
    lblDescription->setObjectName("lblDescription");
    textColumn->addWidget(lblTitle);
    textColumn->addWidget(lblVersion);
    textColumn->addWidget(lblDescription);
    head->addLayout(textColumn, 1);
    layout->addLayout(head);

    layout->addWidget(Separator(this));
    lblDisclaimer = new QLabel(Q(kDisclaimer), this);
    lblDisclaimer->setObjectName("lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    layout->addWidget(lblDisclaimer);
    layout->addWidget(Separator(this));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = MakeButton(this, texts::kOk, "cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = MakeButton(this, kSysInfo, "cmdSysInfo");
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::cmdSysInfo_Click()
{
    if (!SysInfoStarter || !SysInfoStarter())
        prompt_.Show({std::string(kNoSysInfo), std::string(texts::kAppTitle), PromptButtons::Ok,
                      PromptIcon::None});
}

} // namespace nx5rb
