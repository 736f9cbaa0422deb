#include "FakeMainWindow.h"

#include <stdexcept>

namespace quarn::test {

FakeMainWindow::FakeMainWindow() {
    rijndael.CipherMode = CBC;
    rijndael.KeySize = Large256;
    rijndael.StringMode = smNormal;
    Favorites1.addAction("Manage Favorites...")->setObjectName("ManageFavorites1");
    Favorites1.addAction("Add to Favorites")->setObjectName("AddToFavorites1");
    Favorites1.addSeparator()->setObjectName("N2");
}

void FakeMainWindow::GoToPath(const std::string& path) {
    if (goToFails) {
        throw std::runtime_error("the tree could not go there");
    }
    visited.push_back(path);
}

void FakeMainWindow::SelectFolder(const std::string& path, const std::string& caption) {
    selectedPath = path;
    currentFolderPath = path;
    selectedCaption = caption;
}

QStringList FakeMainWindow::FavoriteCaptions() const {
    QStringList captions;
    const QList<QAction*> items = Favorites1.actions();
    for (qsizetype i = 3; i < items.size(); ++i) {
        captions << items[i]->text();
    }
    return captions;
}

} // namespace quarn::test
