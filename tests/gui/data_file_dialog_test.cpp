// "打开(&O)" and "保存(&S)" clicked with the file dialogs and message boxes answered from a script:
// what lands in the file, what comes back from it, and what a refusal leaves alone.
#include "gui/gui_harness.h"
#include "image/data_file.h"

#include <memory>

#include <QFile>
#include <QTemporaryDir>

namespace nx5rb::test {

namespace {

const PromptMessage kConfirmOpen = {"覆盖当前数据？", "NX5RB调谐软件", PromptButtons::OkCancel,
                                    PromptIcon::Warning, PromptAnswer::Cancel};
const PromptMessage kWrongFile = {"错误的文件！", "错误", PromptButtons::Ok, PromptIcon::Error};
const PromptMessage kDialogFailed
    = {"未知原因导致操作失败！", "NX5RB调谐软件", PromptButtons::Ok, PromptIcon::Error};

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

QByteArray ImageBytes(const RadioImage &image)
{
    return QByteArray(reinterpret_cast<const char *>(image.data()), qsizetype(image.size()));
}

// A data file of `image` under `header`.
QByteArray DataFile(const QByteArray &header, const RadioImage &image)
{
    return header + ImageBytes(image);
}

// Band A's receive lower limit as the image holds it (MHz, from its BCD word).
int ImageRxLowA(const RadioImage &image)
{
    const mm::Address at = mm::kFreqAreaRecord[0];
    return (image[at] >> 4) * 100 + (image[at] & 0x0F) * 10 + (image[at + 1] >> 4);
}

void SetImageRxLowA(RadioImage &image, int mhz)
{
    const mm::Address at = mm::kFreqAreaRecord[0];
    image[at] = std::uint8_t((mhz / 100) << 4 | (mhz / 10 % 10));
    image[at + 1] = std::uint8_t((mhz % 10) << 4);
}

void TypeInto(MainWindow &w, int band, int row, int col, const char *text, bool enter)
{
    ClickCell(w.FrameFreqAreaPage->Grids[std::size_t(band)], row, col);
    Type(text);
    if (enter)
        PressEnter();
}

} // namespace

class DataFileDialogTest : public QObject
{
    Q_OBJECT

private slots:
    // A fresh, empty folder for every test.
    void init()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        QVERIFY(folder_->isValid());
    }

    void SaveThenChangeThenOpenRestores()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const QString path = folder_->filePath("radio.dat");
        const RadioImage saved = w.State().Image;

        shown.files.Choose(path.toStdString());
        Click(w.CommandSave);
        QCOMPARE(shown.files.Requests.size(), std::size_t(1));
        QVERIFY(!shown.files.Requests[0].open);
        QCOMPARE(QString::fromStdString(shown.files.Requests[0].title), QString("保存"));
        QVERIFY(shown.files.Requests[0].initialName.empty());
        const QByteArray file = ReadBytes(path);
        QCOMPARE(file.size(), 4112);
        QCOMPARE(file.left(16), QByteArray("NX5RBTX VER1.06 "));
        QCOMPARE(file.mid(16), ImageBytes(saved));

        TypeInto(w, 0, 1, 1, "150", true);
        Click(w.CommandApp);
        QCOMPARE(ImageRxLowA(w.State().Image), 150);

        shown.files.Choose(path.toStdString());
        shown.prompt.Answers = {PromptAnswer::Ok};
        Click(w.CommandOpen);
        QCOMPARE(shown.files.Requests.size(), std::size_t(2));
        QVERIFY(shown.files.Requests[1].open);
        QCOMPARE(QString::fromStdString(shown.files.Requests[1].title), QString("打开"));
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        QCOMPARE(shown.prompt.Shown[0], kConfirmOpen);
        QCOMPARE(w.FrameFreqAreaPage->Grids[0]->CellText(1, 1), QString("136"));
        QCOMPARE(ImageRxLowA(w.State().Image), 136);
        QCOMPARE(w.State().FreqAreas[0].RxLow, std::int16_t(136));
    }

    void HeaderDecidesWhetherAFileOpens_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("this version") << QByteArray("NX5RBTX VER1.06 ") << true;
        QTest::newRow("another version text") << QByteArray("NX5RBTX VER2.31x") << true;
        QTest::newRow("lower case") << QByteArray("nx5rbtx VER1.06 ") << false;
        QTest::newRow("eighth byte not a space") << QByteArray("NX5RBTX_VER1.06 ") << false;
        QTest::newRow("another tool") << QByteArray("XX5RBTX VER1.06 ") << false;
    }
    void HeaderDecidesWhetherAFileOpens()
    {
        QFETCH(QByteArray, header);
        QFETCH(bool, accepted);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage before = w.State().Image;
        RadioImage other = before;
        SetImageRxLowA(other, 145);
        const QString path = folder_->filePath("other.dat");
        QVERIFY(WriteBytes(path, DataFile(header, other)));
        // An edit still pending in the grid: either way the page is decoded from the image.
        TypeInto(w, 0, 2, 1, "150", true);

        shown.files.Choose(path.toStdString());
        shown.prompt.Answers = {PromptAnswer::Ok};
        Click(w.CommandOpen);

        const CellGrid *grid = w.FrameFreqAreaPage->Grids[0];
        QCOMPARE(grid->CellText(2, 1), QString("136"));
        if (accepted) {
            QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
            QCOMPARE(grid->CellText(1, 1), QString("145"));
            QCOMPARE(ImageRxLowA(w.State().Image), 145);
        } else {
            QCOMPARE(shown.prompt.Shown.size(), std::size_t(2));
            QCOMPARE(shown.prompt.Shown[1], kWrongFile);
            QCOMPARE(grid->CellText(1, 1), QString("136"));
            QVERIFY(w.State().Image == before);
        }
    }

    void CancelledOpenConfirmationChangesNothing()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        RadioImage other = w.State().Image;
        SetImageRxLowA(other, 145);
        const QString path = folder_->filePath("other.dat");
        QVERIFY(WriteBytes(path, DataFile("NX5RBTX VER1.06 ", other)));
        const RadioImage before = w.State().Image;
        TypeInto(w, 0, 1, 1, "150", true);

        shown.files.Choose(path.toStdString());
        shown.prompt.Answers = {PromptAnswer::Cancel};
        Click(w.CommandOpen);

        QCOMPARE(shown.prompt.Texts(), QStringList {"覆盖当前数据？"});
        QVERIFY(w.State().Image == before);
        QCOMPARE(w.FrameFreqAreaPage->Grids[0]->CellText(1, 1), QString("150"));
        QCOMPARE(w.State().FreqAreas[0].RxLow, std::int16_t(150));
        QVERIFY(w.State().DataChanged);
    }

    void SaveAppliesPendingEditsFirst_data()
    {
        QTest::addColumn<bool>("chosen");
        QTest::newRow("dialog cancelled") << false;
        QTest::newRow("file chosen") << true;
    }
    void SaveAppliesPendingEditsFirst()
    {
        QFETCH(bool, chosen);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const QString path = folder_->filePath("pending.dat");
        if (chosen)
            shown.files.Choose(path.toStdString());

        // Typed but not yet committed: the click on the button takes the focus and commits it.
        TypeInto(w, 0, 1, 1, "150", false);
        Click(w.CommandSave);

        QCOMPARE(shown.files.Requests.size(), std::size_t(1));
        QCOMPARE(ImageRxLowA(w.State().Image), 150);
        QVERIFY(!w.State().DataChanged);
        QCOMPARE(w.FrameFreqAreaPage->Grids[0]->CellText(1, 1), QString("150"));
        QCOMPARE(QFile::exists(path), chosen);
        if (chosen)
            QCOMPARE(ReadBytes(path).mid(16), ImageBytes(w.State().Image));
        QCOMPARE(shown.prompt.Texts(), QStringList());
    }

    // A list choice is a pending edit even without DataChanged: the saved file holds it.
    void SaveKeepsAListChoiceMadeAlone_data()
    {
        QTest::addColumn<int>("list"); // -1 the band combination, 0..2 a working channel
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("byte");
        QTest::newRow("band combination") << -1 << int(mm::kWorkBandsCode) << 0x48;
        QTest::newRow("working channel A") << 0 << int(mm::kWorkChannel) << 0x37;
    }
    void SaveKeepsAListChoiceMadeAlone()
    {
        QFETCH(int, list);
        QFETCH(int, address);
        QFETCH(int, byte);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        QComboBox *combo = list < 0 ? w.FrameFreqAreaPage->ComboSelFreqArea
                                    : w.FrameFreqAreaPage->ComboChannelSel[std::size_t(list)];
        ChooseByKey(combo, list < 0 ? Qt::Key_Home : Qt::Key_End);
        const QString path = folder_->filePath("choice.dat");
        shown.files.Choose(path.toStdString());
        Click(w.CommandSave);
        QCOMPARE(int(std::uint8_t(ReadBytes(path).at(16 + address))), byte);
        QVERIFY(!w.State().UnsavedChanges());
    }

    // A button activated without taking the focus (its shortcut, a screen reader's action) leaves
    // the box open: the command itself commits it first, or its text would land on top of the
    // file's value later.
    void OpenCommitsAnOpenBoxFirst()
    {
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        RadioImage fileImage = w.State().Image;
        SetImageRxLowA(fileImage, 140);
        const QString path = folder_->filePath("other.dat");
        QVERIFY(WriteBytes(path, DataFile("NX5RBTX VER1.06 ", fileImage)));

        TypeInto(w, 0, 1, 1, "150", false);
        shown.files.Choose(path.toStdString());
        shown.prompt.Answers = {PromptAnswer::Ok};
        w.CommandOpen->click();
        QCOMPARE(shown.files.Requests.size(), std::size_t(1));
        QVERIFY(!w.FrameFreqAreaPage->Editors[0]->isVisible());
        ClickCell(w.FrameFreqAreaPage->Grids[1], 1, 1); // the focus moves on
        QCOMPARE(w.FrameFreqAreaPage->Grids[0]->CellText(1, 1), QString("140"));
        QCOMPARE(w.State().FreqAreas[0].RxLow, std::int16_t(140));
    }

    void FailingDialogIsReported_data()
    {
        QTest::addColumn<bool>("open");
        QTest::newRow("open") << true;
        QTest::newRow("save") << false;
    }
    void FailingDialogIsReported()
    {
        QFETCH(bool, open);
        ShownWindow shown;
        QVERIFY(shown.Ready());
        MainWindow &w = shown.window;
        const RadioImage before = w.State().Image;
        shown.files.Choices.push_back({FileChoice::Failed, {}});
        Click(open ? w.CommandOpen : w.CommandSave);

        // Only the failure: no confirmation follows, nothing is read or written.
        QCOMPARE(shown.prompt.Shown.size(), std::size_t(1));
        QCOMPARE(shown.prompt.Shown[0], kDialogFailed);
        QCOMPARE(shown.files.Requests.size(), std::size_t(1));
        QCOMPARE(shown.files.Requests[0].open, open);
        QVERIFY(w.State().Image == before);
        QVERIFY(QDir(folder_->path()).isEmpty());
    }

private:
    std::unique_ptr<QTemporaryDir> folder_;
};

} // namespace nx5rb::test

QTEST_MAIN(nx5rb::test::DataFileDialogTest)
#include "data_file_dialog_test.moc"
