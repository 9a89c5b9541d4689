#pragma once

#include <QStringList>

// Collects the program's log messages for a test instead of printing them; they may come from
// any thread. append() adds a line of the test's own, e.g. a signal in its place among them.
namespace MessageLog {

void capture();
void release();
void clear();
void append(const QString& line);
QStringList lines();
inline bool contains(const QString& line) {
    return lines().contains(line);
}

} // namespace MessageLog
