// Undo and redo of the document for the window: each committed change (a cell, a box, a list
// choice, a channel created or deleted, a channel plan imported, 应用, the "否" of the navigation
// question) is one step named after what it changed. The window records after each action: what
// changed since the last record becomes one step. A read, an open and a completed write start a
// new history; while a transfer runs nothing is recorded and undo and redo are off.
#pragma once

#include "app/session.h"

#include <functional>

#include <QObject>

class QAction;
class QUndoStack;

namespace nx5rb {

class UndoHistory final : public QObject
{
    Q_OBJECT

public:
    // `commit` commits every open editor (its text would otherwise land on the document an undo
    // put back); `repaint` shows the pages again after an undo or a redo.
    UndoHistory(Session &session, std::function<void()> commit, std::function<void()> repaint,
                QObject *parent = nullptr);

    // What changed in the document since the last record becomes one step.
    void Record();
    // A new history from the document as it stands.
    void Clear();
    void Undo();
    void Redo();
    // Undo and redo follow the stack and the window's commands (off while a transfer runs).
    void Enable(bool enabled);

    QUndoStack &Stack() { return *stack_; }
    // "撤销 信道 5 接收频率" (Ctrl+Z), "重做 …" (Ctrl+Y, Ctrl+Shift+Z).
    QAction *UndoAction = nullptr;
    QAction *RedoAction = nullptr;

private:
    void Show();

    Session &session_;
    std::function<void()> commit_;
    std::function<void()> repaint_;
    QUndoStack *stack_;
    DocumentSnapshot recorded_;
    bool enabled_ = true;
};

} // namespace nx5rb
