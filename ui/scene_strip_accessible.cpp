#include "ui/scene_strip_accessible.h"

#include "ui/scene_strip.h"

#include <QPointer>
#include <QWindow>

namespace {

// One mark of the strip, by its place in the strip's scenes.
class MarkAccessible : public QAccessibleInterface {
public:
    MarkAccessible(SceneStrip *strip, int index) : strip_(strip), index_(index) {}

    bool isValid() const override { return strip_ && index_ < strip_->scenes().size(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return strip_ ? strip_->window()->windowHandle() : nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(strip_.data()); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text type) const override
    {
        return isValid() && type == QAccessible::Name ? strip_->markText(index_) : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect mark = strip_->markRects().at(index_);
        return QRect(strip_->mapToGlobal(mark.topLeft()), mark.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        state.selectable = true;
        state.selected = isValid() && strip_->currentScene() == index_;
        state.invisible = !isValid() || !strip_->isVisible();
        return state;
    }
    int index() const { return index_; }

private:
    QPointer<SceneStrip> strip_;
    int index_;
};

QAccessibleInterface *makeInterface(const QString &key, QObject *object)
{
    if (key == QLatin1String("SceneStrip"))
        if (auto *strip = qobject_cast<SceneStrip *>(object))
            return new SceneStripAccessible(strip);
    return nullptr;
}

} // namespace

SceneStripAccessible::SceneStripAccessible(SceneStrip *strip) : QAccessibleWidget(strip, QAccessible::List)
{}

SceneStripAccessible::~SceneStripAccessible()
{
    for (const QAccessible::Id id : std::as_const(marks_))
        QAccessible::deleteAccessibleInterface(id);
}

void SceneStripAccessible::install()
{
    static const bool installed = (QAccessible::installFactory(makeInterface), true);
    Q_UNUSED(installed);
}

SceneStrip *SceneStripAccessible::strip() const
{
    return static_cast<SceneStrip *>(widget());
}

int SceneStripAccessible::childCount() const
{
    return int(strip()->scenes().size());
}

QAccessibleInterface *SceneStripAccessible::child(int index) const
{
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto known = marks_.constFind(index);
    if (known != marks_.cend())
        return QAccessible::accessibleInterface(*known);
    auto *mark = new MarkAccessible(strip(), index);
    marks_.insert(index, QAccessible::registerAccessibleInterface(mark));
    return mark;
}

int SceneStripAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *mark = dynamic_cast<const MarkAccessible *>(child);
    return mark && mark->isValid() && child->parent() == this ? mark->index() : -1;
}

QAccessibleInterface *SceneStripAccessible::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i)
        if (child(i)->rect().contains(x, y))
            return child(i);
    return nullptr;
}
