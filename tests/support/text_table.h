#pragma once

#include <QString>
#include <QtTest>

#include <initializer_list>

// A data-driven table of text columns, and its rows.
inline void columns(std::initializer_list<const char *> names)
{
    for (const char *name : names)
        QTest::addColumn<QString>(name);
}
template <typename... Texts> void row(const char *name, const Texts &...texts)
{
    (QTest::newRow(name) << ... << QString(texts));
}
