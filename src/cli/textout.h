// What ksn writes: UTF-8 text. Formation files may hold control characters, escape sequences among
// them, which would recolour, retitle or clear a terminal: messages show each as "?", and so does
// data (rows, titles, names) written to a terminal, while a pipe or file gets the data as it is.
#pragma once

#include <QString>

#include <cstdio>

namespace ksn {

// text with each control character (C0, DEL, C1) but tab and line feed as "?".
QString withoutControls(const QString& text);
// Writes text as UTF-8.
void writeText(std::FILE* f, const QString& text);
// Writes a message: control characters as "?".
void writeMessage(std::FILE* f, const QString& text);
// Writes data: control characters as "?" when f is a terminal.
void writeData(std::FILE* f, const QString& text);

}  // namespace ksn
