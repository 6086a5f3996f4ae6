#pragma once
// A user text as the screen shows it.

#include "base/Texts.h"

#include <QString>

inline QString UiText(const UserText& text) { return QString::fromUtf8(text.utf8); }
