// Finds a window's control by its object name (the control name), as accessibility tools find it.
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// The descendant of `parent` of type T named `name`. A missing control ends the test
// run at once with both names, instead of a null pointer failing somewhere later.
template <class T> T *child(const QObject *parent, const QString &name)
{
    T *found = parent->findChild<T *>(name);
    if (!found)
        qFatal("%s has no %s named \"%s\"", qPrintable(parent->objectName()), T::staticMetaObject.className(),
               qPrintable(name));
    return found;
}

template <class T> T *child(const QObject &parent, const QString &name)
{
    return child<T>(&parent, name);
}
