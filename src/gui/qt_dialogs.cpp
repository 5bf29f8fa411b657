#include "gui/qt_dialogs.h"

#include "gui/qt_text.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace nx5rb {

namespace {

QMessageBox::Icon Icon(PromptIcon icon)
{
    switch (icon) {
    case PromptIcon::Error:
        return QMessageBox::Critical;
    case PromptIcon::Warning:
    case PromptIcon::Exclamation:
        return QMessageBox::Warning;
    case PromptIcon::Question:
        return QMessageBox::Question;
    case PromptIcon::Information:
        return QMessageBox::Information;
    case PromptIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons Buttons(PromptButtons buttons)
{
    switch (buttons) {
    case PromptButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case PromptButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case PromptButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case PromptButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton Button(PromptAnswer answer)
{
    switch (answer) {
    case PromptAnswer::Ok:
        return QMessageBox::Ok;
    case PromptAnswer::Retry:
        return QMessageBox::Retry;
    case PromptAnswer::Yes:
        return QMessageBox::Yes;
    case PromptAnswer::No:
        return QMessageBox::No;
    case PromptAnswer::Cancel:
        break;
    }
    return QMessageBox::Cancel;
}

PromptAnswer Answer(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return PromptAnswer::Ok;
    case QMessageBox::Retry:
        return PromptAnswer::Retry;
    case QMessageBox::Yes:
        return PromptAnswer::Yes;
    case QMessageBox::No:
        return PromptAnswer::No;
    default:
        return PromptAnswer::Cancel;
    }
}

} // namespace

PromptAnswer QtPrompt::Show(const PromptMessage &message)
{
    QMessageBox box(Icon(message.icon), Q(message.title), Q(message.text), Buttons(message.buttons),
                    parent_);
    box.setObjectName("MessageBox");
    if (message.defaultButton)
        box.setDefaultButton(Button(*message.defaultButton));
    return Answer(box.exec());
}

FileChoice QtFileChooser::Choose(bool open, std::string_view title, std::string_view initialName,
                                 FileKind kind)
{
    using namespace file_dialog_text;
    const bool plan = kind == FileKind::ChannelPlan;
    const QString filter = Q(plan ? kPlanFilter : kDataFilter);
    QFileDialog dialog(parent_, Q(title), QString::fromStdString(Folder),
                       filter + ";;" + Q(kAllFilter));
    dialog.setObjectName("FileDialog");
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(Q(plan ? kPlanSuffix : kDefaultSuffix));
    }
    dialog.selectNameFilter(filter);
    if (!initialName.empty())
        dialog.selectFile(Q(initialName));
    FileChoice choice;
    if (dialog.exec() != QDialog::Accepted)
        return choice;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.front().isEmpty()) {
        choice.result = FileChoice::Failed;
        return choice;
    }
    choice.result = FileChoice::Chosen;
    choice.path = files.front().toStdString();
    Folder = QFileInfo(files.front()).absolutePath().toStdString();
    return choice;
}

} // namespace nx5rb
