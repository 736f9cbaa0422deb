#pragma once

#include "MainWindowFixture.h"
#include "app/StatusBar.h"
#include "shell/list/ShellListData.h"

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QTest>

namespace quarn::test {

// The main window on a folder of the test's own, with the file list's rows clicked as a user
// clicks them and the status bar's panels read back.
class ListTest : public MainWindowTest {
protected:
    void StartWithSizes(bool folderSize, bool selectedSize) {
        Settings settings;
        settings.DisplayFolderSize = folderSize;
        settings.DisplaySelectedSize = selectedSize;
        WriteSettings(settings);
        StartIn(dir.Folder());
    }

    QString Panel(int index) const { return Child<TStatusBar>("StatusBar")->PanelText(index); }

    QAbstractItemView& View() const { return *List().View(); }

    int Row(const std::string& name) const {
        for (int item = 0; item < List().Count(); ++item) {
            if (List().GetItemData(item)->GetDisplayName() == name) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << name;
        return -1;
    }

    QPoint PointOf(const std::string& name) const {
        return View().visualRect(List().Items().index(Row(name), 0)).center();
    }

    void Click(const std::string& name, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(View().viewport(), Qt::LeftButton, modifiers, PointOf(name));
        QCoreApplication::processEvents(); // the window counts once the click is through
    }

    void ClickEmptySpace() {
        const QWidget* viewport = View().viewport();
        QTest::mouseClick(View().viewport(), Qt::LeftButton, {},
                          QPoint(viewport->width() - 5, viewport->height() - 5));
        QCoreApplication::processEvents();
    }
};

} // namespace quarn::test
