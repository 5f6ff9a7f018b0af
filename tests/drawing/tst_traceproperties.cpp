#include "widgets/qturtletraceproperties.h"
#include "widgets/qturtletracepropertiespreviewwidget.h"
#include "inkprobe.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {

struct PenFields
{
    Qt::PenCapStyle cap;
    Qt::PenJoinStyle join;
    Qt::PenStyle style;
};

QPen penAt(const QSignalSpy& spy, int i)
{
    return spy.at(i).at(0).value<QPen>();
}

} // namespace

// The pen panel driven through its own widgets, as a user would.
class TestTraceProperties : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsOnTheDefaultsWithoutEmitting();
    void buildsThePenOfEachChoice_data();
    void buildsThePenOfEachChoice();
    void emitsAFullPenForAWidthAlone();
    void changesOnlyWhatWasChosen();
    void keepsTheColourWhenTheDialogIsCancelled();
    void retranslateRefillsTheBoxesAndKeepsWidthAndColour();
    void previewDrawsWithThePen();

private:
    QComboBox* box(const char* name) const { return m_panel->findChild<QComboBox*>(name); }
    QSpinBox* width() const { return m_panel->findChild<QSpinBox*>("Width"); }
    QTurtleTracePropertiesPreviewWidget* preview() const
    {
        return m_panel->findChild<QTurtleTracePropertiesPreviewWidget*>("Overview");
    }
    void choose(const char* name, int index);
    void typeWidth(int value);
    void pickColour(const QColor& answer);

    QTurtleTraceProperties* m_panel = nullptr;
};

void TestTraceProperties::init()
{
    QTurtleTraceProperties::setColorDialog({});
    m_panel = new QTurtleTraceProperties;
    m_panel->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_panel));
}

void TestTraceProperties::cleanup()
{
    delete m_panel;
    m_panel = nullptr;
    QTurtleTraceProperties::setColorDialog({});
}

void TestTraceProperties::choose(const char* name, int index)
{
    // Through the popup list, as a mouse user picks an item.
    QComboBox* combo = box(name);
    QVERIFY(combo);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QRect item = list->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_VERIFY(!list->isVisible());
    QCOMPARE(combo->currentIndex(), index);
}

void TestTraceProperties::typeWidth(int value)
{
    QSpinBox* spin = width();
    spin->setFocus();
    spin->selectAll();
    QTest::keyClicks(spin, QString::number(value));
}

void TestTraceProperties::pickColour(const QColor& answer)
{
    QTurtleTraceProperties::setColorDialog([this, answer](const QColor& initial, QWidget* parent) {
        // The dialog always opens on white, over the panel.
        if (initial != QColor(Qt::white) || parent != m_panel) {
            return QColor(Qt::green);
        }
        return answer;
    });
    QTest::mouseClick(m_panel->findChild<QPushButton*>("color"), Qt::LeftButton);
}

void TestTraceProperties::startsOnTheDefaultsWithoutEmitting()
{
    QCOMPARE(box("CapStyle")->currentText(), QString("SquareCap"));
    QCOMPARE(box("JoinStyle")->currentText(), QString("BevelJoin"));
    QCOMPARE(box("PenStyle")->currentText(), QString("SolidLine"));
    QCOMPARE(width()->value(), 1);
    // The preview still holds its own starting pen: nothing was emitted.
    QCOMPARE(preview()->pen().widthF(), 0.0);
}

void TestTraceProperties::buildsThePenOfEachChoice_data()
{
    QTest::addColumn<QByteArray>("combo");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("cap");
    QTest::addColumn<int>("join");
    QTest::addColumn<int>("style");

    // Each pick changes that part of the pen alone, from the panel's defaults.
    const int square = Qt::SquareCap;
    const int bevel = Qt::BevelJoin;
    const int solid = Qt::SolidLine;
    QTest::newRow("flat ends") << QByteArray("CapStyle") << 1 << int(Qt::FlatCap) << bevel << solid;
    QTest::newRow("round ends") << QByteArray("CapStyle") << 2 << int(Qt::RoundCap) << bevel << solid;
    QTest::newRow("pointed corners") << QByteArray("JoinStyle") << 1 << square << int(Qt::MiterJoin) << solid;
    QTest::newRow("round corners") << QByteArray("JoinStyle") << 2 << square << int(Qt::RoundJoin) << solid;
    QTest::newRow("dashes") << QByteArray("PenStyle") << 1 << square << bevel << int(Qt::DashLine);
    QTest::newRow("dots") << QByteArray("PenStyle") << 2 << square << bevel << int(Qt::DotLine);
    QTest::newRow("dash-dot") << QByteArray("PenStyle") << 3 << square << bevel << int(Qt::DashDotLine);
    QTest::newRow("dash-dot-dot") << QByteArray("PenStyle") << 4 << square << bevel << int(Qt::DashDotDotLine);
    QTest::newRow("a custom dash, empty until set") << QByteArray("PenStyle") << 5 << square << bevel
                                                    << int(Qt::CustomDashLine);
}

void TestTraceProperties::buildsThePenOfEachChoice()
{
    QFETCH(QByteArray, combo);
    QFETCH(int, index);
    QFETCH(int, cap);
    QFETCH(int, join);
    QFETCH(int, style);

    QSignalSpy spy(m_panel, &QTurtleTraceProperties::penGenerated);
    choose(combo.constData(), index);
    QCOMPARE(spy.count(), 1);
    const QPen pen = penAt(spy, 0);
    QCOMPARE(int(pen.capStyle()), cap);
    QCOMPARE(int(pen.joinStyle()), join);
    QCOMPARE(int(pen.style()), style);
    QCOMPARE(pen.widthF(), 1.0);
    if (style == int(Qt::CustomDashLine)) {
        QVERIFY(pen.dashPattern().isEmpty());
    }
    QCOMPARE(preview()->pen(), pen);
}

void TestTraceProperties::emitsAFullPenForAWidthAlone()
{
    QSignalSpy spy(m_panel, &QTurtleTraceProperties::penGenerated);
    typeWidth(5);
    QCOMPARE(spy.count(), 1);
    const QPen pen = penAt(spy, 0);
    QCOMPARE(pen.widthF(), 5.0);
    QCOMPARE(pen.color(), QColor(Qt::black));
    QCOMPARE(pen.style(), Qt::SolidLine);
    QCOMPARE(pen.capStyle(), Qt::SquareCap);
    QCOMPARE(pen.joinStyle(), Qt::BevelJoin);
    QVERIFY(!pen.isCosmetic());
    QCOMPARE(preview()->pen(), pen);
}

void TestTraceProperties::changesOnlyWhatWasChosen()
{
    typeWidth(12);
    choose("JoinStyle", 2);
    QSignalSpy spy(m_panel, &QTurtleTraceProperties::penGenerated);
    choose("CapStyle", 2);
    choose("CapStyle", 1);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(penAt(spy, 0).capStyle(), Qt::RoundCap);
    QPen expected = penAt(spy, 0);
    expected.setCapStyle(Qt::FlatCap);
    QCOMPARE(penAt(spy, 1), expected);
    QCOMPARE(expected.widthF(), 12.0);
    QCOMPARE(expected.joinStyle(), Qt::RoundJoin);
}

void TestTraceProperties::keepsTheColourWhenTheDialogIsCancelled()
{
    QSignalSpy spy(m_panel, &QTurtleTraceProperties::penGenerated);
    pickColour(QColor(200, 0, 0));
    QCOMPARE(spy.count(), 1);
    QCOMPARE(penAt(spy, 0).color(), QColor(200, 0, 0));

    pickColour(QColor());
    QCOMPARE(spy.count(), 1);
    typeWidth(3);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(penAt(spy, 1).color(), QColor(200, 0, 0));
}

void TestTraceProperties::retranslateRefillsTheBoxesAndKeepsWidthAndColour()
{
    choose("CapStyle", 2);
    choose("JoinStyle", 2);
    choose("PenStyle", 2);
    typeWidth(7);
    pickColour(Qt::red);

    QSignalSpy spy(m_panel, &QTurtleTraceProperties::penGenerated);
    m_panel->retranslate();

    // Each box is emptied (its setting kept), then refilled on its first item.
    const PenFields expected[] = {
        { Qt::RoundCap, Qt::RoundJoin, Qt::DotLine },
        { Qt::SquareCap, Qt::RoundJoin, Qt::DotLine },
        { Qt::SquareCap, Qt::RoundJoin, Qt::DotLine },
        { Qt::SquareCap, Qt::BevelJoin, Qt::DotLine },
        { Qt::SquareCap, Qt::BevelJoin, Qt::DotLine },
        { Qt::SquareCap, Qt::BevelJoin, Qt::SolidLine },
    };
    QCOMPARE(spy.count(), 6);
    for (int i = 0; i < 6; ++i) {
        const QPen pen = penAt(spy, i);
        QCOMPARE(pen.capStyle(), expected[i].cap);
        QCOMPARE(pen.joinStyle(), expected[i].join);
        QCOMPARE(pen.style(), expected[i].style);
        QCOMPARE(pen.widthF(), 7.0);
        QCOMPARE(pen.color(), QColor(Qt::red));
    }
    QCOMPARE(box("CapStyle")->currentIndex(), 0);
    QCOMPARE(box("JoinStyle")->currentIndex(), 0);
    QCOMPARE(box("PenStyle")->currentIndex(), 0);
    QCOMPARE(box("PenStyle")->count(), 6);
    QCOMPARE(width()->value(), 7);
    QCOMPARE(preview()->pen(), penAt(spy, 5));
}

void TestTraceProperties::previewDrawsWithThePen()
{
    const auto ink = [this] { return InkProbe(preview()->grab().toImage(), preview()->palette().color(QPalette::Window)).total(); };
    const double thin = ink();
    typeWidth(12);
    const double wide = ink();
    QVERIFY2(wide > 4 * thin, qPrintable(QStringLiteral("%1 %2").arg(thin).arg(wide)));
    choose("PenStyle", 2); // dotted: less ink than the solid line
    QVERIFY(ink() < 0.8 * wide);
}

QTEST_MAIN(TestTraceProperties)
#include "tst_traceproperties.moc"
