#pragma once
// Readable Qt texts in test failures (gtest finds these through the
// argument's namespace, the global one for Qt types).

#include <QString>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
