// The main window's layout: nothing overlaps or is cut off, every control has a name, and Tab reaches every control.
#include "MainWindowFixture.h"

#include "editor/BrevoFace.h"
#include "editor/ClickLabel.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QTest>

namespace
{

QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

bool isControl(QWidget *w)
{
    return qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QLabel *>(w) ||
           qobject_cast<QGroupBox *>(w);
}

// Long captions and values, so that the widest texts are on screen.
void showWidestState(MainWindowFixture &f)
{
    f.select(16);
    for (int i = 128; i <= 227; ++i)
        f.sys(i) = 0xFF;
    f.block(16)[28] = 200; // an "Other source" entry
    f.block(16)[88] = 10;  // one decimal place
    f.block(16)[108] = 10;
    for (int d : {89, 90, 91, 92, 109, 110, 111, 112})
        f.block(16)[d] = 0xFF;
    f.window->UpdateInstrumentDisplay();
    f.window->ShowAlarmLimits();
    f.window->lblConnected->setText("Not Connected to Corvane");
    f.window->lblCommsPort->setText("COM Port =  16");
    f.window->lblTessaroSN->setText(" Corvane SN#:  4294967295");
    f.window->adjustSize();
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
}

} // namespace

class TestMainLayout : public QObject
{
    Q_OBJECT
private slots:
    void everyControlHasAnAccessibleName()
    {
        MainWindowFixture f;
        showWidestState(f);
        int checked = 0;
        for (QWidget *w : f.window->findChildren<QWidget *>()) {
            if (!w->isVisibleTo(f.window.get()) && !w->parentWidget()->inherits("BrevoFace"))
                continue;
            if (!isControl(w) && !w->parentWidget()->inherits("BrevoFace") && !w->inherits("BrevoFace") &&
                w->objectName() != QLatin1String("shpCommsConnected"))
                continue;
            ++checked;
            QVERIFY2(!accessibleName(w).trimmed().isEmpty(), qPrintable(w->objectName()));
        }
        QVERIFY(checked > 100);
        QCOMPARE(accessibleName(f.window->picBrevo->PicUpRightArrow), QStringLiteral("Right Up Arrow"));
    }

    void controlsNeitherOverlapNorGetCutOff()
    {
        MainWindowFixture f;
        showWidestState(f);
        QWidget *face = f.window->picBrevo;
        for (QWidget *parent : f.window->findChildren<QWidget *>()) {
            if (parent == face || parent->parentWidget() == face || !parent->isVisible())
                continue;
            QList<QWidget *> children;
            for (QWidget *c : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                if (c->isVisible() && !c->isWindow())
                    children << c;
            for (int i = 0; i < children.size(); ++i) {
                QVERIFY2(parent->rect().contains(children[i]->geometry()),
                         qPrintable(children[i]->objectName() + " leaves " + parent->objectName()));
                for (int j = i + 1; j < children.size(); ++j)
                    QVERIFY2(!children[i]->geometry().intersects(children[j]->geometry()),
                             qPrintable(children[i]->objectName() + " overlaps " + children[j]->objectName()));
            }
        }
        for (QWidget *w : f.window->findChildren<QWidget *>()) {
            if (!w->isVisible() || w->parentWidget() == face)
                continue;
            if (auto *label = qobject_cast<QLabel *>(w))
                QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width(),
                         qPrintable(label->objectName() + " cuts off " + label->text()));
            if (auto *box = qobject_cast<QCheckBox *>(w))
                QVERIFY2(box->width() >= box->sizeHint().width(),
                         qPrintable(box->objectName() + " cuts off " + box->text()));
            else if (auto *button = qobject_cast<QAbstractButton *>(w))
                QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 8 <= button->width(),
                         qPrintable(button->objectName() + " cuts off " + button->text()));
            if (auto *combo = qobject_cast<QComboBox *>(w))
                QVERIFY2(combo->width() >= combo->fontMetrics().horizontalAdvance(combo->currentText()) + 20,
                         qPrintable(combo->objectName() + " cuts off " + combo->currentText()));
        }
    }

    void tabReachesEveryControlInReadingOrder()
    {
        MainWindowFixture f;
        showWidestState(f);
        QList<QWidget *> chain;
        QWidget *w = f.window->lblConnected;
        do {
            if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
                chain << w;
            w = w->nextInFocusChain();
        } while (w != f.window->lblConnected);

        for (QWidget *c : f.window->findChildren<QWidget *>()) {
            const bool control = qobject_cast<QAbstractButton *>(c) || qobject_cast<QComboBox *>(c);
            if (control && c->isVisible() && c->isEnabled())
                QVERIFY2(chain.contains(c), qPrintable(c->objectName() + " is not reachable with Tab"));
        }
        auto at = [&](const char *name) { return chain.indexOf(f.window->findChild<QWidget *>(name)); };
        QVERIFY(at("lblConnected") < at("cmdUpload"));
        QVERIFY(at("cmdDownload") < at("CmdConf1_0"));
        QVERIFY(at("CmdConf1_15") < at("cmdSetCurrentConfig"));
        QVERIFY(at("cmdClearConfig") < at("ChkIconsUpperSpeed"));
        QVERIFY(at("ChkIconsLowerRightFuel") < at("ComboDisplay1"));
        QVERIFY(at("ComboDisplay2") < at("cmdDD2HiAlarm"));
        QVERIFY(at("cmdDD2HiAlarm") < at("cmdDD2LoAlarm"));
        QVERIFY(at("cmdDD4LoBar") < at("ComboDisplayRightBar"));
    }
};

QTEST_MAIN(TestMainLayout)
#include "tst_frmmain_layout_gui.moc"
