#pragma once

#include <QAccessibleWidget>

class QAbstractButton;

// A checkable push button of an exclusive group, as a screen reader should meet it: a radio
// button, checked or not, that a press chooses.
class AccessibleRadioButton : public QAccessibleWidget {
public:
    explicit AccessibleRadioButton(QAbstractButton *button);

    // Has readers meet button as a radio button.
    static void use(QAbstractButton *button);

    QAccessible::State state() const override;
    QStringList actionNames() const override;
    void doAction(const QString &action) override;

private:
    QAbstractButton *button() const;
};
