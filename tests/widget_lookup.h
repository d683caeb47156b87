#pragma once
// Controls of the window found the way the operator's documentation names them: by objectName.
// The views keep their widgets to themselves; tests reach them as a user would point at them.
#include <QObject>
#include <QString>

#include <gtest/gtest.h>

namespace zx {

template <class T> T* childNamed(const QObject& root, const QString& name) {
    T* found = root.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << "no " << name.toStdString();
    return found;
}

} // namespace zx
