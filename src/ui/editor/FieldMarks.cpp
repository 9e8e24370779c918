#include "ui/editor/FieldMarks.h"

#include "core/Defaults.h"
#include "core/ImageModel.h"
#include "ui/editor/ImageHistory.h"
#include "ui/editor/MarkDecoration.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QContextMenuEvent>
#include <QHash>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>
#include <algorithm>

namespace
{

// The fields of the table by name.
const fields::Field *fieldNamed(const QString &name)
{
    static const QHash<QString, const fields::Field *> index = [] {
        QHash<QString, const fields::Field *> byName;
        for (const fields::Field &f : fields::table())
            byName.insert(f.name, &f);
        return byName;
    }();
    const fields::Field *field = index.value(name);
    if (!field)
        qWarning("FieldMarks: the field table has no field named \"%s\"", qPrintable(name));
    return field;
}

// Every field of display configuration n (its checksum aside).
QStringList configurationFields(int n)
{
    QStringList names;
    for (const fields::Field &f : fields::table())
        if (f.area == fields::Area::Block && f.index == n && !f.derived)
            names << f.name;
    return names;
}

const ConfigImage &factoryDefaults()
{
    static const ConfigImage image = [] {
        ImageBytes bytes;
        writeDefaultImage(bytes, false);
        return ConfigImage::of(bytes);
    }();
    return image;
}

fields::Reference referenceOf(FieldMarks::Mode mode)
{
    switch (mode) {
    case FieldMarks::Mode::SavedFile:
        return fields::Reference::SavedFile;
    case FieldMarks::Mode::Instrument:
        return fields::Reference::Instrument;
    default:
        return fields::Reference::Defaults;
    }
}

// Writes the field's bits of `from` through the image model (which keeps the checksums).
void writeField(ImageModel &image, const fields::Field &f, const ConfigImage &from)
{
    for (int i = 0; i < f.length; ++i) {
        const int byte = f.offset + i;
        switch (f.area) {
        case fields::Area::System:
            image.setSystemBits(byte, f.mask, from.system[byte]);
            break;
        case fields::Area::Block: {
            const quint8 now = image.configByte(f.index, byte);
            image.setConfigByte(f.index, byte, quint8((now & ~f.mask) | (from.blocks[f.index][byte] & f.mask)));
            break;
        }
        case fields::Area::Curve:
            image.setCurveOhms(f.index, f.offset, from.curves[f.index][f.offset][1]);
            image.setCurveValue(f.index, f.offset, from.curves[f.index][f.offset][2]);
            break;
        case fields::Area::Port: // the editor's own setting, not a value of the image
            break;
        }
    }
}

bool isMenuKey(const QEvent *event)
{
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
}

} // namespace

struct FieldMarks::Mark {
    QObject *control = nullptr;
    QStringList fields;
    int configuration = 0; // 1..16 for a configuration button
    MarkDecoration decoration;
    explicit Mark(QObject *c) : control(c), decoration(c) {}
};

FieldMarks::FieldMarks(EditorState &state, ImageModel &image, ImageHistory &history,
                       std::function<void(const ConfigImage &)> restore, QObject *parent)
    : QObject(parent), m_state(state), m_image(image), m_history(history), m_restore(std::move(restore))
{
    connect(&m_image, &ImageModel::systemChanged, this, &FieldMarks::refresh);
    connect(&m_image, &ImageModel::configurationChanged, this, &FieldMarks::refresh);
    connect(&m_image, &ImageModel::curvesChanged, this, &FieldMarks::refresh);
    connect(&m_image, &ImageModel::imageReplaced, this, &FieldMarks::refresh);
    // Whatever wrote the image past the model (an undo's last exact copy) is marked
    // before the window is drawn again.
    if (auto *dispatcher = QAbstractEventDispatcher::instance(thread()))
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &FieldMarks::refresh);
}

FieldMarks::~FieldMarks() = default;

// --- the reference ------------------------------------------------------------------------------

void FieldMarks::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_stale = true;
    refresh();
    emit modeChanged(mode);
}

void FieldMarks::setSavedImage(const ConfigImage &image)
{
    m_saved = image;
    if (m_mode == Mode::SavedFile) {
        m_stale = true;
        refresh();
    }
}

void FieldMarks::setInstrumentImage(const ConfigImage &image, const ImageAreas &known)
{
    if (!known.any())
        return;
    m_instrument = image;
    m_instrument.comPort = ConfigImage::kPortNotKnown; // an instrument's memories hold none
    m_known = known;
    if (m_mode == Mode::Instrument) {
        m_stale = true;
        refresh();
    }
    emit instrumentImageChanged();
}

std::optional<ConfigImage> FieldMarks::reference(Mode mode) const
{
    switch (mode) {
    case Mode::Off:
        return std::nullopt;
    case Mode::Defaults:
        return factoryDefaults();
    case Mode::SavedFile:
        return m_saved;
    case Mode::Instrument:
        break;
    }
    if (!m_known.any())
        return std::nullopt;
    // What is not known of the instrument (all but the settings after a download) is
    // compared with itself.
    ConfigImage image = overlay(ConfigImage::of(m_state), m_instrument, m_known);
    image.comPort = ConfigImage::kPortNotKnown;
    return image;
}

QString FieldMarks::fromText(Mode mode)
{
    switch (mode) {
    case Mode::Defaults:
        return QStringLiteral("from the factory defaults");
    case Mode::SavedFile:
        return QStringLiteral("from the saved file");
    case Mode::Instrument:
        return QStringLiteral("from the instrument");
    case Mode::Off:
        break;
    }
    return QString();
}

void FieldMarks::refresh()
{
    if (m_mode == Mode::Off) {
        if (!m_computed)
            return;
        m_computed = false;
        m_marks = fields::DifferenceMarks();
        updateAll();
        emit changed();
        return;
    }
    const ConfigImage now = ConfigImage::of(m_state);
    if (m_computed && !m_stale && now == m_computedFor)
        return;
    m_stale = false;
    const std::optional<ConfigImage> ref = reference(m_mode);
    m_marks = ref ? fields::DifferenceMarks(now, *ref, referenceOf(m_mode)) : fields::DifferenceMarks();
    m_computedFor = now;
    m_computed = true;
    updateAll();
    emit changed();
}

// --- marked controls ----------------------------------------------------------------------------

FieldMarks::Mark *FieldMarks::markOf(const QObject *control) const
{
    for (const auto &mark : m_controls)
        if (mark->control == control)
            return mark.get();
    return nullptr;
}

bool FieldMarks::isMarked(const QObject *control) const
{
    const Mark *mark = markOf(control);
    return mark && mark->decoration.shown();
}

FieldMarks::Mark &FieldMarks::add(QObject *control, QWidget *watched)
{
    if (Mark *mark = markOf(control))
        return *mark;
    m_controls.push_back(std::make_unique<Mark>(control));
    if (watched)
        watched->installEventFilter(this);
    connect(control, &QObject::destroyed, this, [this](QObject *gone) {
        const auto it = std::find_if(m_controls.begin(), m_controls.end(),
                                     [gone](const auto &mark) { return mark->control == gone; });
        if (it == m_controls.end())
            return;
        (*it)->decoration.forget();
        m_controls.erase(it);
    });
    return *m_controls.back();
}

void FieldMarks::attach(QWidget *control, const QStringList &fields)
{
    Mark &mark = add(control, control);
    mark.fields = fields;
    mark.configuration = 0;
    update(mark);
}

void FieldMarks::attach(QAction *item, const QStringList &fields)
{
    Mark &mark = add(item, nullptr);
    // The menus showing the item take its context menu.
    for (QObject *shownIn : item->associatedObjects())
        if (auto *menu = qobject_cast<QMenu *>(shownIn))
            menu->installEventFilter(this);
    mark.fields = fields;
    mark.configuration = 0;
    update(mark);
}

void FieldMarks::attachConfiguration(QWidget *button, int configuration)
{
    Mark &mark = add(button, button);
    mark.fields = configurationFields(configuration);
    mark.configuration = configuration;
    update(mark);
}

void FieldMarks::detach(QObject *control)
{
    const auto it = std::find_if(m_controls.begin(), m_controls.end(),
                                 [control](const auto &mark) { return mark->control == control; });
    if (it == m_controls.end())
        return;
    if (auto *widget = qobject_cast<QWidget *>(control))
        widget->removeEventFilter(this);
    m_controls.erase(it);
}

void FieldMarks::updateAll()
{
    for (const auto &mark : m_controls)
        update(*mark);
}

void FieldMarks::update(Mark &mark)
{
    QStringList differing;
    for (const QString &field : mark.fields)
        if (m_marks.differs(field))
            differing << field;
    if (m_mode == Mode::Off || differing.isEmpty()) {
        mark.decoration.clear();
        return;
    }
    const int count = int(differing.size());
    const QString brief = mark.fields.size() == 1
                              ? m_marks.referenceText(differing.first())
                              : QStringLiteral("%1 %2").arg(count).arg(count == 1 ? QStringLiteral("difference")
                                                                                  : QStringLiteral("differences"));
    QString line;
    if (mark.configuration) {
        line = QStringLiteral("Configuration %1: %2 %3").arg(mark.configuration).arg(brief, fromText(m_mode));
    } else if (mark.fields.size() == 1) {
        line = m_marks.referenceText(differing.first());
    } else {
        // A window's menu item stands for many fields: the first few are named.
        constexpr qsizetype kNamed = 4;
        QStringList lines;
        for (const QString &field : differing.mid(0, kNamed))
            lines << QStringLiteral("%1 (%2)").arg(m_marks.referenceText(field), field);
        if (differing.size() > kNamed)
            lines << QStringLiteral("and %1 more").arg(differing.size() - kNamed);
        line = lines.join(QLatin1Char('\n'));
    }
    mark.decoration.show(line, brief);
}

// --- put back -----------------------------------------------------------------------------------

QStringList FieldMarks::differingFields(const QStringList &names, Mode from) const
{
    QStringList differing;
    const std::optional<ConfigImage> ref = reference(from);
    if (!ref)
        return differing;
    const ConfigImage now = ConfigImage::of(m_state);
    for (const QString &name : names)
        if (const fields::Field *f = fieldNamed(name); f && !f->derived && fields::differs(*f, now, *ref))
            differing << name;
    return differing;
}

bool FieldMarks::putBack(const QStringList &names, Mode from)
{
    const std::optional<ConfigImage> ref = reference(from);
    if (!ref || m_history.locked())
        return false;
    m_history.checkpoint(); // what the user did before is a step of its own
    const ConfigImage before = ConfigImage::of(m_state);
    for (const QString &name : names)
        if (const fields::Field *f = fieldNamed(name); f && !f->derived)
            writeField(m_image, *f, *ref);
    const ConfigImage after = ConfigImage::of(m_state);
    if (after == before)
        return false;
    if (m_restore)
        m_restore(after); // every window shows the value put back
    QString step = fields::changeName(before, after);
    if (step.isEmpty())
        step = names.size() == 1 ? names.first() : QStringLiteral("%1 changes").arg(names.size());
    m_history.recordAs(step, false);
    refresh();
    return true;
}

void FieldMarks::showPutBackMenu(const QStringList &names, const QPoint &globalPos, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("differenceMenu"));
    menu->setAccessibleName(QStringLiteral("Put back"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const std::pair<Mode, QString> choices[] = {
        {Mode::Defaults, QStringLiteral("Reset to &Default")},
        {Mode::SavedFile, QStringLiteral("Take from &Saved File")},
        {Mode::Instrument, QStringLiteral("Take from &Instrument")},
    };
    for (const auto &[from, text] : choices) {
        QAction *item = menu->addAction(text);
        const QStringList differing = differingFields(names, from);
        item->setEnabled(!differing.isEmpty());
        connect(item, &QAction::triggered, this, [this, differing, from = from] { putBack(differing, from); });
    }
    menu->popup(globalPos);
}

bool FieldMarks::eventFilter(QObject *watched, QEvent *event)
{
    const bool byMouse = event->type() == QEvent::ContextMenu;
    const bool byKey = event->type() == QEvent::KeyPress && isMenuKey(event);
    if (!byMouse && !byKey)
        return false;
    auto *widget = qobject_cast<QWidget *>(watched);
    auto *menu = qobject_cast<QMenu *>(watched);
    QObject *control = watched;
    QPoint at = widget ? MarkDecoration::menuPosition(widget) : QPoint();
    if (menu) {
        QAction *item = byMouse ? menu->actionAt(static_cast<QContextMenuEvent *>(event)->pos()) : menu->activeAction();
        control = item;
        if (item)
            at = menu->mapToGlobal(menu->actionGeometry(item).center());
    }
    if (byMouse && static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse)
        at = static_cast<QContextMenuEvent *>(event)->globalPos();
    Mark *mark = markOf(control);
    if (!mark || !mark->decoration.shown())
        return false;
    showPutBackMenu(mark->fields, at, widget); // beside the control, or the menu showing the item
    event->accept();
    return true;
}
