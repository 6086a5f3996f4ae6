#pragma once
// How the GUI tests reach the parts of a window: by the object names the window
// gives them, at any depth, widgets, menus and actions alike:
//   Widget<QComboBox>(dialog, "baudRateCombo")->setCurrentIndex(6);
// A part that is missing or of another type ends the test run, naming it.

#include <QObject>
#include <QString>

template <typename T>
T* Widget(const QObject& parent, const char* name) {
    T* part = parent.findChild<T*>(QString::fromLatin1(name));
    if (!part) qFatal("%s has no %s named %s", parent.metaObject()->className(), T::staticMetaObject.className(), name);
    return part;
}

template <typename T>
T* Widget(const QObject* parent, const char* name) {
    return Widget<T>(*parent, name);
}

// Whether the window has such a part at all (one the platform may leave out).
template <typename T>
bool HasWidget(const QObject& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name)) != nullptr;
}
