#pragma once
// The text of one value of a profile kept as an INI file, read from the file's own
// bytes (UTF-8). The syntax is the one the settings store writes and reads: sections
// in brackets, "key=value" lines, ";" comments, quotes that keep blanks, ";" and "="
// in a value, backslash escapes (\n, \r, \t, \", \\, \xHH, octal) and a backslash
// before a line end continuing the line; blanks at both ends of a value go unless
// quoted. Unlike the store's own reader, a comma is a character of the text, never
// the separator of a list, and the blanks beside it stay: «Head=a , b» is «a , b».

#include <QByteArray>
#include <QString>

#include <optional>

// The value of key in section (names of letters and digits, compared as written);
// of several lines with that key the last counts. Nothing when there is none.
std::optional<QString> ReadIniValueText(const QByteArray& file, const QString& section, const QString& key);
