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
    void outcomes_data();
    void outcomes();
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
    env.desktop.saveFileAnswers << path << path;
    exportTableCsv(nullptr, inwardLikeProfile(), {{"1", "A LONG CUSTOMER NAME OF AN EARLIER EXPORT", "1.000"}});

    QCOMPARE(exportTableCsv(nullptr, inwardLikeProfile(), {{"1", "SHAH, SONS", "12.500"}, {"2", "ÇELIK", "0.000"}}),
             CsvExportResult::Written);
    QCOMPARE(env.desktop.fileDialogCaptions.last(), QString("Export Inward History"));
    QCOMPARE(env.desktop.fileDialogDirs.last(), QString("Inward_History_26-27.csv"));
    QCOMPARE(env.desktop.fileDialogFilters.last(), QString("CSV Files (*.csv)"));
    // The earlier file is replaced as a whole.
    const QByteArray bytes = fileBytes(path);
    QVERIFY(!bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes),
             QString("Inward No,Customer Name,Qty\n1,\"SHAH, SONS\",12.500\n2,ÇELIK,0.000\n,Total,12.500\n"));
    QVERIFY(env.desktop.messages.isEmpty());
    QCOMPARE(env.desktop.openedUrls.last(), QUrl::fromLocalFile(path));
}

void TestCsvExport::outcomes_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("answer"); // the save dialog's answer; "-" asks nothing
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("shown"); // "icon|title|text" of the one message, or empty
    const int warning = QMessageBox::Warning;
    const int information = QMessageBox::Information;
    QTest::newRow("empty list, before any dialog")
        << "inward" << "-" << 0 << int(CsvExportResult::Empty) << QString("%1|Export|No data to export!").arg(warning);
    QTest::newRow("cancelled dialog") << "reported" << "" << 1 << int(CsvExportResult::Cancelled) << "";
    QTest::newRow("empty found after the dialog")
        << "after" << "out.csv" << 0 << int(CsvExportResult::Empty)
        << QString("%1|No Data|No expenses found between\n2026-04-01 and 2026-04-30").arg(information);
    QTest::newRow("unwritable, silent") << "inward" << "missing/out.csv" << 1 << int(CsvExportResult::Failed) << "";
    QTest::newRow("unwritable, reported") << "reported" << "missing/out.csv" << 1 << int(CsvExportResult::Failed)
                                          << QString("%1|Error|Could not save file!").arg(warning);
    QTest::newRow("success with the path") << "success" << "out.csv" << 1 << int(CsvExportResult::Written)
                                           << QString("%1|Success|Report exported successfully!\n").arg(information);
}

// What each way out of an export shows, writes and opens.
void TestCsvExport::outcomes()
{
    QFETCH(QString, profile);
    QFETCH(QString, answer);
    QFETCH(int, rows);
    QFETCH(int, result);
    QFETCH(QString, shown);
    TestEnvironment env;
    CsvExportProfile p = inwardLikeProfile();
    if (profile == "reported")
        p.failureMessage = CsvMessages::couldNotSaveFile();
    if (profile == "after") {
        p.emptyCheckAfterDialog = true;
        p.emptyMessage = CsvMessage{QMessageBox::Information, "No Data",
                                    "No expenses found between\n2026-04-01 and 2026-04-30", false};
    }
    if (profile == "success")
        p.successMessage = CsvMessage{QMessageBox::Information, "Success", "Report exported successfully!\n", true};
    const QString path = answer.isEmpty() ? QString() : env.folder() + "/" + answer;
    if (answer != "-")
        env.desktop.saveFileAnswers << path;

    QCOMPARE(int(exportTableCsv(nullptr, p, QList<QStringList>(rows, {"1", "A", "1.000"}))), result);
    QCOMPARE(env.desktop.fileDialogCaptions.size(), answer == "-" ? 0 : 1);
    QCOMPARE(env.desktop.messages.isEmpty() ? QString() : described(env.desktop.lastMessage()),
             shown + (profile == "success" ? path : QString()));
    QCOMPARE(env.desktop.messages.size(), shown.isEmpty() ? 0 : 1);
    const bool written = result == int(CsvExportResult::Written);
    QCOMPARE(QFile::exists(path), written);
    QCOMPARE(env.desktop.openedUrls.size(), written ? 1 : 0);
}

QTEST_MAIN(TestCsvExport)
#include "tst_csvexport.moc"
