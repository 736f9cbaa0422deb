#pragma once

#include <QObject>
#include <QString>
#include <gtest/gtest.h>

namespace quarn::test {

// The control of a form by its name; the test fails when there is none of that name and
// class.
template <typename Widget> Widget* FormChild(const QObject* form, const char* name) {
    auto* child = form->findChild<Widget*>(QString::fromLatin1(name));
    if (child == nullptr) {
        ADD_FAILURE() << "no control \"" << name << "\"";
    }
    return child;
}

} // namespace quarn::test
