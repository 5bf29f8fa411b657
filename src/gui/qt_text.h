// The core keeps its texts as UTF-8; the widgets show them as QString.
#pragma once

#include "app/texts.h"

#include <string>
#include <string_view>

#include <QString>

namespace nx5rb {

inline QString Q(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A caption without its mnemonic marker, as a screen reader should say it ("读取(&R)" ->
// "读取(R)").
inline QString AccessibleCaption(std::string_view caption)
{
    QString text = Q(caption);
    text.remove(QLatin1Char('&'));
    return text;
}

} // namespace nx5rb

#include <QHBoxLayout>
#include <QPushButton>

namespace nx5rb {

// A button with its caption, its control name and the caption as its accessible name.
inline QPushButton *MakeButton(QWidget *parent, std::string_view caption, const QString &name)
{
    auto *button = new QPushButton(Q(caption), parent);
    button->setObjectName(name);
    button->setAccessibleName(AccessibleCaption(caption));
    return button;
}

// "确定" (Command1, the default) and "取消" (Command2) of a dialog, at the right of their row.
inline QHBoxLayout *OkCancelButtons(QWidget *dialog, QPushButton *&ok, QPushButton *&cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    ok = MakeButton(dialog, texts::kOk, "Command1");
    cancel = MakeButton(dialog, texts::kCancel, "Command2");
    ok->setDefault(true);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

// The read and write buttons of a page, at the right of their row.
inline QHBoxLayout *ReadWriteButtons(QWidget *page, const QString &readName,
                                     const QString &writeName, QPushButton *&read,
                                     QPushButton *&write)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    read = MakeButton(page, texts::kRead, readName);
    write = MakeButton(page, texts::kWrite, writeName);
    row->addWidget(read);
    row->addWidget(write);
    return row;
}

} // namespace nx5rb
