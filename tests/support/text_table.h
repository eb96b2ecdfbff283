#pragma once

#include <QString>
#include <QtTest>

// A data-driven table: its typed columns, named once, and the function that adds a row of values in
// the same order, e.g. `const auto row = table<QString, double>("movie", "seconds");`.
template <typename... Types, typename... Names> auto table(const Names &...names)
{
    static_assert(sizeof...(Types) == sizeof...(Names), "one name a column");
    (QTest::addColumn<Types>(names), ...);
    return [](const QString &name, const Types &...values) { (QTest::newRow(qPrintable(name)) << ... << values); };
}

// The current row's value in a column, for a value the test reads once.
template <typename T> const T &fetched(const char *column)
{
    return *static_cast<const T *>(QTest::qData(column, qMetaTypeId<T>()));
}
