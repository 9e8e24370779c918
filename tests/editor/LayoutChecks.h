// What every window's layout must satisfy (nothing overlaps or is cut off, every control has a
// name and is reached with Tab), the state in which the main window shows its widest texts,
// and the screen the layout tests run on.
#pragma once

#include "MainWindowFixture.h"

#include "ui/editor/ClickLabel.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <functional>

namespace layout
{

inline QString accessibleName(QWidget *w)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(QAccessible::Name) : QString();
}

inline bool isControl(const QWidget *w)
{
    return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w) ||
           qobject_cast<const QLabel *>(w) || qobject_cast<const QGroupBox *>(w) ||
           qobject_cast<const QLineEdit *>(w) ||
           // A scroll area holding a widget is a container: its content is checked as any other.
           (qobject_cast<const QAbstractScrollArea *>(w) && !qobject_cast<const QScrollArea *>(w)) ||
           qobject_cast<const QProgressBar *>(w) || qobject_cast<const QAbstractSpinBox *>(w);
}

// Parents whose children lie on one another on purpose, and why.
inline const std::pair<const char *, const char *> kStackedOnPurpose[] = {
    {"picBrevo", "the icon pictures and display highlights lie on the picture of the instrument's face, "
                 "where the instrument lights them"},
};

inline bool stackedOnPurpose(const QWidget *parent)
{
    return std::any_of(std::begin(kStackedOnPurpose), std::end(kStackedOnPurpose),
                       [parent](const auto &entry) { return parent->objectName() == QLatin1String(entry.first); });
}

// A part of a control (a list's arrow, a table's scroll bar): the control answers for it.
inline bool isPartOfAControl(const QWidget *w)
{
    for (const QWidget *p = w->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (isControl(p) && !qobject_cast<const QGroupBox *>(p))
            return true;
    return false;
}

// What a label shows: rich text collapses blanks as a browser does.
inline QString shownText(const QLabel *label)
{
    if (label->textFormat() == Qt::RichText ||
        (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()))) {
        QTextDocument doc;
        doc.setHtml(label->text());
        return doc.toPlainText();
    }
    return label->text();
}

inline QRect globalRect(const QWidget *w)
{
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}

// Long captions and values in the main window, so that the widest texts are on screen.
inline void showWidestState(MainWindowFixture &f)
{
    f.select(16);
    for (int i = 128; i <= 227; ++i)
        f.sys(i) = 0xFF;
    f.block(16)[28] = 200; // an "Other source" entry
    f.block(16)[88] = 10;  // one decimal place
    f.block(16)[108] = 10;
    for (int d : {89, 90, 91, 92, 109, 110, 111, 112})
        f.block(16)[d] = 0xFF;
    f.window->updateInstrumentDisplay();
    f.window->showAlarmLimits();
    f.get<ClickLabel>("lblConnected")->setText("Not Connected to Corvane");
    f.get<QLabel>("lblCommsPort")->setText("COM Port =  16");
    f.get<QLabel>("lblTessaroSN")->setText(" Corvane SN#:  4294967295");
    f.window->fitToScreen();
    f.window->move(0, 0);
    f.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.window.get()));
}

using Opener = std::function<QWidget *(MainWindowFixture &)>;
// Each window as the user opens it, by name.
using Windows = QList<std::pair<const char *, Opener>>;

inline QWidget *openWindow(const Windows &windows, MainWindowFixture &f, const QString &name)
{
    showWidestState(f);
    for (const auto &[rowName, open] : windows) {
        if (name == QLatin1String(rowName)) {
            QWidget *w = open(f);
            if (w && w->isVisible())
                (void)QTest::qWaitForWindowExposed(w);
            return w;
        }
    }
    return nullptr;
}

inline void checkNoOverlapAndInside(QWidget *window)
{
    QList<QWidget *> parents = window->findChildren<QWidget *>();
    parents << window;
    for (QWidget *parent : parents) {
        if (!parent->isVisible() || isPartOfAControl(parent) ||
            (isControl(parent) && !qobject_cast<QGroupBox *>(parent)) || (parent->isWindow() && parent != window))
            continue;
        if (stackedOnPurpose(parent)) {
            // Its children still lie inside it.
            for (QWidget *c : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
                QVERIFY2(!c->isVisible() || parent->rect().contains(c->geometry()),
                         qPrintable(c->objectName() + " leaves " + parent->objectName()));
            continue;
        }
        QList<QWidget *> children;
        for (QWidget *c : parent->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            if (c->isVisible() && !c->isWindow())
                children << c;
        // What a scroll area's viewport shows may be larger than the viewport: it scrolls.
        const bool scrolls = qobject_cast<QScrollArea *>(parent->parentWidget()) &&
                             static_cast<QScrollArea *>(parent->parentWidget())->viewport() == parent;
        for (int i = 0; i < children.size(); ++i) {
            QVERIFY2(scrolls || parent->rect().contains(children[i]->geometry()),
                     qPrintable(children[i]->objectName() + " leaves " + parent->objectName()));
            for (int j = i + 1; j < children.size(); ++j)
                QVERIFY2(!children[i]->geometry().intersects(children[j]->geometry()),
                         qPrintable(children[i]->objectName() + " overlaps " + children[j]->objectName()));
        }
    }
}

inline void checkNothingCutOff(QWidget *window)
{
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->window() != window || isPartOfAControl(w))
            continue;
        if (auto *label = qobject_cast<QLabel *>(w)) {
            const QString shown = shownText(label);
            // A caption is one piece: no gap wide enough to read as two captions.
            QVERIFY2(label->wordWrap() || !shown.trimmed().contains(QLatin1String("   ")),
                     qPrintable(label->objectName() + " splits its caption: " + shown));
            if (label->wordWrap())
                QVERIFY2(label->heightForWidth(label->width()) <= label->height(),
                         qPrintable(label->objectName() + " cuts off " + shown));
            else
                for (const QString &line : shown.split(QLatin1Char('\n')))
                    QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->contentsRect().width(),
                             qPrintable(label->objectName() + " cuts off " + line));
        }
        if (auto *box = qobject_cast<QCheckBox *>(w))
            QVERIFY2(box->width() >= box->sizeHint().width(),
                     qPrintable(box->objectName() + " cuts off " + box->text()));
        else if (w->inherits("WrapButton"))
            QVERIFY2(w->width() >= w->minimumSizeHint().width() && w->height() >= w->minimumSizeHint().height(),
                     qPrintable(w->objectName() + " cuts off its caption"));
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            // The "&" of a mnemonic is not drawn: the letter after it is underlined.
            QVERIFY2(button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() + 8 <= button->width(),
                     qPrintable(button->objectName() + " cuts off " + button->text()));
        if (auto *combo = qobject_cast<QComboBox *>(w))
            QVERIFY2(combo->width() >= combo->fontMetrics().horizontalAdvance(combo->currentText()) + 20,
                     qPrintable(combo->objectName() + " cuts off " + combo->currentText()));
    }
}

// Tab reaches the checked option of an exclusive group; the arrow keys reach the others.
inline bool groupIsReached(QWidget *c, const QList<QWidget *> &chain)
{
    auto *option = qobject_cast<QAbstractButton *>(c);
    if (!option || !option->group())
        return false;
    const QList<QAbstractButton *> members = option->group()->buttons();
    return std::any_of(members.begin(), members.end(), [&](QAbstractButton *b) { return chain.contains(b); });
}

inline void checkNamesAndTab(QWidget *window)
{
    QList<QWidget *> chain;
    QWidget *w = window;
    do {
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
            chain << w;
        w = w->nextInFocusChain();
    } while (w != window);
    int controls = 0;
    for (QWidget *c : window->findChildren<QWidget *>()) {
        if (!c->isVisible() || c->window() != window)
            continue;
        // A picture on the face is named like a control: it tells what the instrument shows.
        const bool picture = stackedOnPurpose(c) || stackedOnPurpose(c->parentWidget());
        if (!picture && (!isControl(c) || isPartOfAControl(c)))
            continue;
        ++controls;
        QVERIFY2(!accessibleName(c).trimmed().isEmpty(), qPrintable(c->objectName() + " has no accessible name"));
        const bool operable = qobject_cast<QAbstractButton *>(c) || qobject_cast<QComboBox *>(c) ||
                              qobject_cast<QLineEdit *>(c) || qobject_cast<QAbstractItemView *>(c);
        if (operable && c->isEnabled())
            QVERIFY2(chain.contains(c) || groupIsReached(c, chain),
                     qPrintable(c->objectName() + " is not reachable with Tab"));
    }
    QVERIFY(controls > 0);
}

// A row "window" for each of `windows`.
inline void addWindowRows(const Windows &windows)
{
    QTest::addColumn<QString>("window");
    for (const auto &row : windows)
        QTest::newRow(row.first) << QString::fromLatin1(row.first);
}

// Everything above, for the window of the row that runs.
inline void checkWindow(const Windows &windows)
{
    QFETCH(QString, window);
    MainWindowFixture f;
    QWidget *w = openWindow(windows, f, window);
    QVERIFY(w && w->isVisible());
    checkNoOverlapAndInside(w);
    if (QTest::currentTestFailed())
        return;
    checkNothingCutOff(w);
    if (QTest::currentTestFailed())
        return;
    checkNamesAndTab(w);
}

// Runs the test on the screen the screenshots use, 1600 x 1200 (the offscreen one is
// 800 x 600), so that there is room beside the main window for the windows it opens.
// CORVANE_LAYOUT_SCREEN="1366x768" runs it on a screen of another size (and
// QT_SCALE_FACTOR at another scale).
template <class Test> int runOnLayoutScreen(int argc, char *argv[])
{
    QTemporaryDir folder;
    const QList<QByteArray> pixels =
        qEnvironmentVariable("CORVANE_LAYOUT_SCREEN", QStringLiteral("1600x1200")).toLatin1().split('x');
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen" && folder.isValid() && pixels.size() == 2) {
        QFile config(folder.filePath(QStringLiteral("screen.json")));
        if (config.open(QIODevice::WriteOnly)) {
            config.write(R"({"screens": [{"name": "Screen", "x": 0, "y": 0, "width": )" + pixels[0] +
                         R"(, "height": )" + pixels[1] + R"(, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
            config.close();
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + config.fileName().toLocal8Bit());
        }
    }
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace layout
