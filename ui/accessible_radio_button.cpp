#include "ui/accessible_radio_button.h"

#include <QAbstractButton>
#include <QAccessible>

namespace {

constexpr char radioProperty[] = "bitglanceRadioButton";

QAccessibleInterface *radioButton(const QString &, QObject *object)
{
    auto *button = qobject_cast<QAbstractButton *>(object);
    if (button && button->property(radioProperty).toBool())
        return new AccessibleRadioButton(button);
    return nullptr;
}

} // namespace

AccessibleRadioButton::AccessibleRadioButton(QAbstractButton *button)
    : QAccessibleWidget(button, QAccessible::RadioButton)
{}

void AccessibleRadioButton::use(QAbstractButton *button)
{
    static const bool installed = (QAccessible::installFactory(radioButton), true);
    Q_UNUSED(installed);
    button->setProperty(radioProperty, true);
    // A reader's interface made before (a change of name makes one) goes: the next is this one.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(button);
        !dynamic_cast<AccessibleRadioButton *>(made))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

QAbstractButton *AccessibleRadioButton::button() const
{
    return static_cast<QAbstractButton *>(widget());
}

QAccessible::State AccessibleRadioButton::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.checkable = true;
    state.checked = button()->isChecked();
    return state;
}

QStringList AccessibleRadioButton::actionNames() const
{
    return QStringList{pressAction()} + QAccessibleWidget::actionNames();
}

void AccessibleRadioButton::doAction(const QString &action)
{
    if (action == pressAction())
        button()->click();
    else
        QAccessibleWidget::doAction(action);
}
