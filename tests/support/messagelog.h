#pragma once

#include <QStringList>

// Collects the program's log messages for a test instead of printing them. Messages may come
// from any thread.
namespace MessageLog {

void capture();
void release();
void clear();
QStringList lines();
bool contains(const QString& line);
// Adds a line of the test's own, e.g. to record signals in the order they meet log lines.
void append(const QString& line);

} // namespace MessageLog
