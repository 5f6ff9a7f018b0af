#include "widgets/qrenderdialogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

class TestRenderDialogue : public QObject
{
    Q_OBJECT

private slots:
    void opensOnTheDefaults();
    void takesSizesFromOneTo2PowerOf20_data();
    void takesSizesFromOneTo2PowerOf20();
    void reportsTheChoices();
    void endsWithOkOrCancel_data();
    void endsWithOkOrCancel();
};

void TestRenderDialogue::opensOnTheDefaults()
{
    QRenderDialogue dialogue;
    QCOMPARE(dialogue.objectName(), QString("m_dialog"));
    QCOMPARE(dialogue.windowTitle(), QString("Render dialogue"));
    QCOMPARE(dialogue.imageWidth(), 800);
    QCOMPARE(dialogue.imageHeight(), 600);
    QVERIFY(dialogue.showTurtle());
    QCOMPARE(dialogue.outputFormat(), QString("png image (*.png)"));
    QCOMPARE(dialogue.findChild<QSpinBox*>("widthSpinBox")->suffix(), QString(" px"));

    // A no-break space keeps each colon with its word.
    for (const char* name : { "widthLabel", "heightLabel", "outputFormatLabel" }) {
        const QString text = dialogue.findChild<QLabel*>(name)->text();
        QVERIFY2(text.contains(QString(QChar(0x00A0)) + ": "), qPrintable(text));
    }
}

void TestRenderDialogue::takesSizesFromOneTo2PowerOf20_data()
{
    QTest::addColumn<QByteArray>("spinBox");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("value");

    QTest::newRow("a width of 1") << QByteArray("widthSpinBox") << "1" << 1;
    QTest::newRow("a height of 1") << QByteArray("heightSpinBox") << "1" << 1;
    QTest::newRow("a width of 1048576") << QByteArray("widthSpinBox") << "1048576" << 1048576;
    QTest::newRow("a width of 0 is refused") << QByteArray("widthSpinBox") << "0" << 800;
    QTest::newRow("a height beyond 1048576 is cut short")
        << QByteArray("heightSpinBox") << "2000000" << 200000;
}

void TestRenderDialogue::takesSizesFromOneTo2PowerOf20()
{
    QFETCH(QByteArray, spinBox);
    QFETCH(QString, typed);
    QFETCH(int, value);

    QRenderDialogue dialogue;
    dialogue.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogue));
    QSpinBox* spin = dialogue.findChild<QSpinBox*>(spinBox.constData());
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, typed);
    QTest::keyClick(spin, Qt::Key_Tab);
    QCOMPARE(spin->value(), value);
}

void TestRenderDialogue::reportsTheChoices()
{
    QRenderDialogue dialogue;
    dialogue.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogue));
    QComboBox* format = dialogue.findChild<QComboBox*>("outputFormatComboBox");
    format->setFocus();
    QTest::keyClick(format, Qt::Key_Down);
    QCOMPARE(dialogue.outputFormat(), QString("jpeg image (*.jpeg *.jpg)"));
    QTest::mouseClick(dialogue.findChild<QCheckBox*>("showTurtleCheckBox"), Qt::LeftButton);
    QVERIFY(!dialogue.showTurtle());
}

void TestRenderDialogue::endsWithOkOrCancel_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("result");

    QTest::newRow("OK accepts") << int(QDialogButtonBox::Ok) << int(QDialog::Accepted);
    QTest::newRow("Cancel rejects") << int(QDialogButtonBox::Cancel) << int(QDialog::Rejected);
}

void TestRenderDialogue::endsWithOkOrCancel()
{
    QFETCH(int, button);
    QFETCH(int, result);

    QRenderDialogue dialogue;
    dialogue.setResult(-1);
    dialogue.open();
    QVERIFY(QTest::qWaitForWindowExposed(&dialogue));
    QDialogButtonBox* box = dialogue.findChild<QDialogButtonBox*>("buttonBox");
    QTest::mouseClick(box->button(QDialogButtonBox::StandardButton(button)), Qt::LeftButton);
    QCOMPARE(dialogue.result(), result);
    QVERIFY(!dialogue.isVisible());
}

QTEST_MAIN(TestRenderDialogue)
#include "tst_renderdialogue.moc"
