// Data-driven tests with one line a row: the columns of the running test's
// table (by type, in order), a row (values in column order), and the values
// of the row under test. A test class derives from it.
#pragma once

#include <QTest>
#include <tuple>
#include <utility>

struct DataTable
{
    template <typename... T> static void columns()
    {
        int i = 0;
        (QTest::addColumn<T>(column(i++)), ...);
    }
    template <typename... T> static void row(const QByteArray &name, T... values)
    {
        (QTest::newRow(name.constData()) << ... << values);
    }
    template <typename... T> static std::tuple<T...> fetch()
    {
        return fetchAt<T...>(std::index_sequence_for<T...>());
    }

private:
    template <typename... T, size_t... I> static std::tuple<T...> fetchAt(std::index_sequence<I...>)
    {
        return {*static_cast<T *>(QTest::qData(column(I), qMetaTypeId<T>()))...};
    }
    static const char *column(int i)
    {
        static const char *const names[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        return names[i];
    }
};
