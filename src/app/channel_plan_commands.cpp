#include "app/channel_plan_commands.h"

#include "app/texts.h"
#include "app/window_state.h"
#include "image/data_file.h"

#include <QFile>

namespace nx5rb {

namespace {

// A plan is a few kilobytes; anything this large is not one.
constexpr qint64 kLargestPlan = 16 * 1024 * 1024;
// Lines listed in one message box; the rest are counted.
constexpr std::size_t kListedLines = 20;

std::string WithNumber(std::string_view text, std::size_t number)
{
    std::string filled(text);
    filled.replace(filled.find("{}"), 2, std::to_string(number));
    return filled;
}

std::string IssueCell(const PlanIssue &issue)
{
    return issue.column + "“" + issue.value + "”";
}

void ShowError(Prompt &prompt, const std::string &text)
{
    prompt.Show({text, std::string(texts::kErrorTitle), PromptButtons::Ok, PromptIcon::Error});
}

bool Ask(Prompt &prompt, const std::string &text)
{
    return prompt.Show(
               {text, std::string(texts::kAppTitle), PromptButtons::OkCancel, PromptIcon::Warning})
        == PromptAnswer::Ok;
}

// The issues one per line, the first ones only.
std::string Listed(const std::vector<PlanIssue> &issues)
{
    std::string text;
    for (std::size_t i = 0; i < issues.size() && i < kListedLines; ++i)
        text += PlanIssueText(issues[i]) + "\n";
    if (issues.size() > kListedLines)
        text += "……（另有 " + std::to_string(issues.size() - kListedLines) + " 行）\n";
    return text;
}

} // namespace

std::string PlanIssueText(const PlanIssue &issue)
{
    std::string what;
    switch (issue.problem) {
    case PlanProblem::NotText:
        what = "不是信道表：文件编码既不是 UTF-8，也不是 GB18030（GBK）";
        break;
    case PlanProblem::NotAPlan:
        what = "不是信道表：首行既不是本软件的表头，也不是通用格式的表头";
        break;
    case PlanProblem::MissingColumn:
        what = "表头缺少列 " + issue.column;
        break;
    case PlanProblem::UnclosedQuote:
        what = "引号没有闭合";
        break;
    case PlanProblem::BadField:
        what = IssueCell(issue) + "无法识别";
        break;
    case PlanProblem::ChannelTwice:
        what = IssueCell(issue) + "：该信道已在第 " + issue.detail + " 行出现";
        break;
    case PlanProblem::OutsideBands:
        what = IssueCell(issue) + "不在任何频段内";
        break;
    case PlanProblem::ToneNotListed:
        what = IssueCell(issue) + "不在亚音列表中";
        break;
    case PlanProblem::ToneWithoutTx:
        what = IssueCell(issue) + "：没有发射频率，不能设置发射亚音";
        break;
    case PlanProblem::Snapped:
        what = IssueCell(issue) + "已按信道步进调整为 " + issue.detail;
        break;
    }
    return "第 " + std::to_string(issue.line) + " 行：" + what;
}

bool ImportChannelPlanFile(WindowState &state, const std::string &path, bool replaceAll,
                           Prompt &prompt)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        ShowError(prompt,
                  std::string(plan_text::kReadFailed) + "\n" + file.errorString().toStdString());
        return false;
    }
    if (file.size() > kLargestPlan) {
        ShowError(prompt, PlanIssueText({1, PlanProblem::NotAPlan, {}, {}, {}}));
        return false;
    }
    const QByteArray bytes = file.readAll();
    const ChannelPlan plan = ParseChannelPlan(std::string_view(bytes.data(), bytes.size()),
                                              state.Image, state.FreqAreas, replaceAll);
    if (!plan.layout) {
        ShowError(prompt, Listed(plan.refused));
        return false;
    }
    if (!plan.refused.empty()
        && !Ask(prompt,
                Listed(plan.refused) + "\n" + WithNumber(plan_text::kSkipBad, plan.refused.size())))
        return false;
    if (plan.good.empty() && !replaceAll) {
        prompt.Show({std::string(plan_text::kNothingToImport), std::string(texts::kAppTitle),
                     PromptButtons::Ok, PromptIcon::Information});
        return false;
    }
    // The question is asked whenever channels would change, with what the raster moved above it.
    if (plan.overwritten > 0 || !plan.warnings.empty()) {
        const std::string warnings = plan.warnings.empty() ? "" : Listed(plan.warnings) + "\n";
        if (!Ask(prompt,
                 warnings + WithNumber(plan_text::kOverwrite, std::size_t(plan.overwritten))))
            return false;
    }
    ApplyChannelPlan(plan, state.Image, state.FreqAreas);
    AnalyseChInfo(state, state.ChannelView);
    return true;
}

bool ExportChannelPlanFile(const WindowState &state, const std::string &path, Prompt &prompt)
{
    const std::string csv
        = ExportChannelPlan(ReadChannels(state.Image, state.FreqAreas), PlanLayout::Ours);
    if (const std::optional<std::string> reason = ReplaceFile(path, csv)) {
        ShowError(prompt, std::string(plan_text::kSaveFailed) + "\n" + *reason);
        return false;
    }
    return true;
}

} // namespace nx5rb
