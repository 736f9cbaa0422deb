#pragma once

#include <QString>
#include <QTest>
#include <QWidget>
#include <string>

namespace quarn::test {

// Types text into widget key by key, also characters that have no key of their own.
inline void TypeText(QWidget* widget, const std::string& text) {
    for (const QChar character :
         QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))) {
        if (character.unicode() < 0x80) {
            QTest::keyClick(widget, character.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                                Qt::NoModifier);
        }
    }
}

} // namespace quarn::test
