// The editor box keeps to its key filter whichever way text reaches it: typed, pasted, dropped or
// committed by an input method, the characters pass as if typed one by one.
#include "editors/editor_protocol.h"
#include "gui/editor_box.h"

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTest>

namespace nx5rb::test {

namespace {

enum class Way { Typed, Pasted, Ime, Dropped };

void Bring(EditorBox &box, Way way, const QString &text)
{
    switch (way) {
    case Way::Typed:
        QTest::keyClicks(&box, text);
        break;
    case Way::Pasted:
        QGuiApplication::clipboard()->setText(text);
        QTest::keySequence(&box, QKeySequence::Paste);
        break;
    case Way::Ime: {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(&box, &event);
        break;
    }
    case Way::Dropped: {
        QMimeData data;
        data.setText(text);
        const QPoint at(box.width() - 2, 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&box, &drop);
        break;
    }
    }
}

} // namespace

class EditorBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void EveryWayInPassesTheFilterAsTypedKeys()
    {
        constexpr int kMessage = 0; // the message boxes' rule instead of a key kind
        const struct
        {
            int kind;
            Way way;
            const char *before; // the box's text, all of it selected when `selected`
            bool selected;
            const char *brought;
            const char *left;
            int commits;
        } cases[] = {
            {int(KeyKind::Frequency), Way::Typed, "", false, "14a5.5.0", "145.50", 0},
            {int(KeyKind::Frequency), Way::Pasted, "", false, "1.2.3\n", "1.23", 0},
            // The point already there refuses the pasted one, even selected; the digit then
            // replaces the selection.
            {int(KeyKind::Frequency), Way::Pasted, "1.5", true, ".5", "5", 0},
            {int(KeyKind::ShortFrequency), Way::Ime, "", false, "１４５.5", ".5", 0},
            {int(KeyKind::Name), Way::Typed, "", false, "ab-c", "AB-C", 0},
            {int(KeyKind::Name), Way::Pasted, "", false, "abc!defgh", "ABCDEF", 0},
            {int(KeyKind::Name), Way::Dropped, "AB", false, "c~d", "ABCD", 0},
            {int(KeyKind::Number3), Way::Typed, "123", false, "4", "123", 0},
            {int(KeyKind::Number3), Way::Pasted, "123", true, "98765", "987", 0},
            {int(KeyKind::Number2), Way::Ime, "", false, "１５０ab9", "9", 0},
            {int(KeyKind::Number4), Way::Dropped, "", false, "12x34", "1234", 0},
            {kMessage, Way::Typed, "", false, "ab", "a", 1},
            {kMessage, Way::Pasted, "Q", true, "xyz", "x", 1},
            {kMessage, Way::Ime, "", false, "é", "", 0},
            {kMessage, Way::Typed, "Q", false, "z", "Q", 0},
        };
        for (const auto &c : cases) {
            EditorBox box;
            box.resize(120, 24);
            int commits = 0;
            if (c.kind == kMessage) {
                box.setMaxLength(1);
                box.KeyFilter = [](BoxState state, KeyCode key) {
                    const MessageKey decision = PowerOnMsgKey(state, key);
                    return KeyDecision {decision.key, decision.commit};
                };
            } else {
                box.KeyFilter = [kind = KeyKind(c.kind)](BoxState state, KeyCode key) {
                    const KeyCode filtered = FilterKey(state, key, kind);
                    return KeyDecision {filtered, filtered == kKeyEnter};
                };
            }
            box.OnEnter = [&commits] { ++commits; };
            box.setText(QString::fromUtf8(c.before));
            if (c.selected)
                box.selectAll();
            else
                box.end(false);
            Bring(box, c.way, QString::fromUtf8(c.brought));
            const QString what = QString("%1 brought into \"%2\"").arg(c.brought, c.before);
            QVERIFY2(box.text() == QString::fromUtf8(c.left),
                     qPrintable(what + ": \"" + box.text() + "\""));
            QVERIFY2(commits == c.commits, qPrintable(what));
        }
    }
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::EditorBoxTest)
#include "editor_box_test.moc"
