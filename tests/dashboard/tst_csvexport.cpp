#include "support/files.h"
#include "support/recordingdesktop.h"

#include "app/csvexport.h"

#include <QFile>
#include <QTableWidget>
#include <QtTest>

namespace {

// "icon|title|text" of a recorded message box with a single OK button.
QString described(const RecordingDesktop::Message &m)
{
    const QString ok = m.buttons == QMessageBox::StandardButtons(QMessageBox::Ok) ? "" : " (not OK only)";
    return QString("%1|%2|%3%4").arg(int(m.icon)).arg(m.title, m.text, ok);
}

CsvExportProfile inwardLikeProfile()
{
    CsvExportProfile p;
    p.caption = "Export Inward History";
    p.defaultName = "Inward_History_26-27.csv";
    p.header = "Inward No,Customer Name,Qty";
    p.totalLines = {",Total,12.500"};
    return p;
}

} // namespace

class TestCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void fieldRule_data();
    void fieldRule();
    void alwaysQuotedFieldsDoubleTheirQuotes();
    void awkwardFieldsReadBackInTheirColumns();
    void composesTitleHeaderRowsAndTotal();
    void lineBreaksAsPlus();
    void tableRowsTakeDisplayTextsOfTheColumnRange();
    void writesUtf8WithoutBomAndOpensTheFile();
    void replacesAnExistingFile();
    void cancelledDialogWritesNothing();
    void emptyListWarnsBeforeAnyDialog();
    void emptyFoundAfterTheDialogLeavesNoFile();
    void unwritableFileIsSilentOrReported();
    void successMessageCarriesThePath();
};

void TestCsvExport::fieldRule_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("field");
    QTest::newRow("plain") << "ACME LTD" << "ACME LTD";
    QTest::newRow("number") << "12.500" << "12.500";
    QTest::newRow("leading spaces") << "  x" << "  x";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("comma") << "SHAH, SONS" << "\"SHAH, SONS\"";
    QTest::newRow("comma and quote") << "A \"B\" C, LTD" << "\"A \"\"B\"\" C, LTD\"";
    QTest::newRow("quote only") << "5\" PIPE" << "\"5\"\" PIPE\"";
    QTest::newRow("line break") << "LINE1\nLINE2" << "\"LINE1\nLINE2\"";
    QTest::newRow("unicode") << "ÇELIK ₹" << "ÇELIK ₹";
}

void TestCsvExport::fieldRule()
{
    QFETCH(QString, text);
    QFETCH(QString, field);
    QCOMPARE(csvField(text), field);
}

void TestCsvExport::alwaysQuotedFieldsDoubleTheirQuotes()
{
    QCOMPARE(csvField("Tea", true), QString("\"Tea\""));
    QCOMPARE(csvField("12\" bolts", true), QString("\"12\"\" bolts\""));
    QCOMPARE(csvField("", true), QString("\"\""));

    CsvExportProfile p;
    p.header = "SI No,Heading,Amount";
    p.alwaysQuoted = {1};
    QCOMPARE(composeCsv(p, {{"1", "Tea", "20.00"}}), QString("SI No,Heading,Amount\n1,\"Tea\",20.00\n"));
}

void TestCsvExport::awkwardFieldsReadBackInTheirColumns()
{
    const QList<QStringList> rows = {
        {"1", "A \"B\" C, LTD", "12.500"},
        {"2", "SHAH, SONS", "1.000"},
        {"3", "TWO\nLINES", "2.000"},
        {"4", "\"QUOTED\"", "3.000"},
        {"5", "PLAIN", ""},
    };
    CsvExportProfile p = inwardLikeProfile();
    p.alwaysQuoted = {2};
    const QList<QStringList> back = readCsv(composeCsv(p, rows));
    QCOMPARE(back.size(), rows.size() + 2);
    QCOMPARE(back.first(), QStringList({"Inward No", "Customer Name", "Qty"}));
    for (int i = 0; i < rows.size(); ++i)
        QCOMPARE(back.at(i + 1), rows.at(i));
    QCOMPARE(back.last(), QStringList({"", "Total", "12.500"}));
}

void TestCsvExport::composesTitleHeaderRowsAndTotal()
{
    CsvExportProfile p;
    p.titleLines = {"Expenses Report", "From:,2026-04-01,To:,2026-04-30", ""};
    p.header = "SI No,Date,Amount";
    p.totalLines = {"", ",,Total Amount:,30.00"};
    QCOMPARE(composeCsv(p, {{"1", "01-04-2026", "10.00"}, {"2", "02-04-2026", "20.00"}}),
             QString("Expenses Report\nFrom:,2026-04-01,To:,2026-04-30\n\n"
                     "SI No,Date,Amount\n1,01-04-2026,10.00\n2,02-04-2026,20.00\n\n,,Total Amount:,30.00\n"));
}

void TestCsvExport::lineBreaksAsPlus()
{
    CsvExportProfile p;
    p.header = "Sl,1";
    p.lineBreaksAsPlus = true;
    QCOMPARE(composeCsv(p, {{"1", "+5\n-2"}, {"2", "A\r\nB, C"}}),
             QString("Sl,1\n1,+5+-2\n2,\"A+B, C\"\n"));
}

void TestCsvExport::tableRowsTakeDisplayTextsOfTheColumnRange()
{
    QTableWidget table(2, 4);
    table.setItem(0, 0, new QTableWidgetItem("hidden"));
    table.setItem(0, 1, new QTableWidgetItem("a"));
    table.setItem(0, 3, new QTableWidgetItem("c"));
    table.setItem(1, 1, new QTableWidgetItem("d"));
    QCOMPARE(tableRows(&table, 1), QList<QStringList>({{"a", "", "c"}, {"d", "", ""}}));
    QCOMPARE(tableRows(&table, 0, 1), QList<QStringList>({{"hidden", "a"}, {"", "d"}}));
}

void TestCsvExport::writesUtf8WithoutBomAndOpensTheFile()
{
    TestEnvironment env;
    const QString path = env.folder() + "/out.csv";
    env.desktop.saveFileAnswers << path;

    QCOMPARE(exportTableCsv(nullptr, inwardLikeProfile(), {{"1", "SHAH, SONS", "12.500"}, {"2", "ÇELIK", "0.000"}}),
             CsvExportResult::Written);

    QCOMPARE(env.desktop.fileDialogCaptions, QStringList{"Export Inward History"});
    QCOMPARE(env.desktop.fileDialogDirs, QStringList{"Inward_History_26-27.csv"});
    QCOMPARE(env.desktop.fileDialogFilters, QStringList{"CSV Files (*.csv)"});

    const QByteArray bytes = fileBytes(path);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes),
             QString("Inward No,Customer Name,Qty\n1,\"SHAH, SONS\",12.500\n2,ÇELIK,0.000\n,Total,12.500\n"));
    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(env.desktop.openedUrls, QList<QUrl>{QUrl::fromLocalFile(path)});
}

void TestCsvExport::replacesAnExistingFile()
{
    TestEnvironment env;
    const QString path = env.folder() + "/twice.csv";
    CsvExportProfile p = inwardLikeProfile();
    env.desktop.saveFileAnswers << path << path;
    exportTableCsv(nullptr, p, {{"1", "A LONG CUSTOMER NAME OF THE FIRST EXPORT", "1.000"}, {"2", "X", "2.000"}});
    exportTableCsv(nullptr, p, {{"9", "B", "3.000"}});
    QCOMPARE(QString::fromUtf8(fileBytes(path)), QString("Inward No,Customer Name,Qty\n9,B,3.000\n,Total,12.500\n"));
}

void TestCsvExport::cancelledDialogWritesNothing()
{
    TestEnvironment env;
    env.desktop.saveFileAnswers << QString();
    CsvExportProfile p = inwardLikeProfile();
    p.failureMessage = CsvMessages::couldNotSaveFile();
    p.successMessage = CsvMessage{QMessageBox::Information, "Success", "Saved", false};
    QCOMPARE(exportTableCsv(nullptr, p, {{"1", "A", "1.000"}}), CsvExportResult::Cancelled);
    QCOMPARE(env.desktop.fileDialogCaptions.size(), 1);
    QVERIFY(env.desktop.messages.isEmpty());
    QVERIFY(env.desktop.openedUrls.isEmpty());
    QCOMPARE(QDir(env.folder()).entryList({"*.csv"}), QStringList());
}

void TestCsvExport::emptyListWarnsBeforeAnyDialog()
{
    TestEnvironment env;
    QCOMPARE(exportTableCsv(nullptr, inwardLikeProfile(), {}), CsvExportResult::Empty);
    QVERIFY(env.desktop.fileDialogCaptions.isEmpty());
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(described(env.desktop.lastMessage()), QString("%1|Export|No data to export!").arg(QMessageBox::Warning));
}

void TestCsvExport::emptyFoundAfterTheDialogLeavesNoFile()
{
    TestEnvironment env;
    const QString path = env.folder() + "/expenses.csv";
    env.desktop.saveFileAnswers << path;
    CsvExportProfile p;
    p.caption = "Export to Excel";
    p.emptyCheckAfterDialog = true;
    p.emptyMessage = CsvMessage{QMessageBox::Information, "No Data",
                                "No expenses found between\n2026-04-01 and 2026-04-30", false};
    QCOMPARE(exportTableCsv(nullptr, p, {}), CsvExportResult::Empty);
    QCOMPARE(env.desktop.fileDialogCaptions, QStringList{"Export to Excel"});
    QCOMPARE(described(env.desktop.lastMessage()),
             QString("%1|No Data|No expenses found between\n2026-04-01 and 2026-04-30").arg(QMessageBox::Information));
    QVERIFY(!QFile::exists(path));
    QVERIFY(env.desktop.openedUrls.isEmpty());
}

void TestCsvExport::unwritableFileIsSilentOrReported()
{
    TestEnvironment env;
    const QString path = env.folder() + "/missing-folder/out.csv";
    CsvExportProfile p = inwardLikeProfile();

    env.desktop.saveFileAnswers << path;
    QCOMPARE(exportTableCsv(nullptr, p, {{"1", "A", "1.000"}}), CsvExportResult::Failed);
    QVERIFY(env.desktop.messages.isEmpty());

    p.failureMessage = CsvMessages::couldNotSaveFile();
    env.desktop.saveFileAnswers << path;
    QCOMPARE(exportTableCsv(nullptr, p, {{"1", "A", "1.000"}}), CsvExportResult::Failed);
    QCOMPARE(env.desktop.messages.size(), 1);
    QCOMPARE(described(env.desktop.lastMessage()), QString("%1|Error|Could not save file!").arg(QMessageBox::Warning));
    QVERIFY(env.desktop.openedUrls.isEmpty());
    QVERIFY(!QFile::exists(path));
}

void TestCsvExport::successMessageCarriesThePath()
{
    TestEnvironment env;
    const QString path = env.folder() + "/report.csv";
    env.desktop.saveFileAnswers << path;
    CsvExportProfile p;
    p.header = "A";
    p.successMessage = CsvMessage{QMessageBox::Information, "Success", "Report exported successfully!\n", true};
    exportTableCsv(nullptr, p, {{"1"}});
    QCOMPARE(described(env.desktop.lastMessage()),
             QString("%1|Success|Report exported successfully!\n%2").arg(QMessageBox::Information).arg(path));
    QCOMPARE(env.desktop.openedUrls.size(), 1);
}

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
