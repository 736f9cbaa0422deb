#include "app/Main.h"
#include "app/MainForm.h"

#include <QWidget>

namespace quarn {

// Empty panes until the folder tree and the file list are in.

void TfMain::CreateShellControls() {
    form_->PlaceShellControls(new QWidget(this), new QWidget(this));
}

void TfMain::scsTreeAddItem(LPCITEMIDLIST, LPCITEMIDLIST, bool&) {
}

void TfMain::scsListAddItem(IShellFolder*, LPCITEMIDLIST, SFGAOF, bool&) {
}

void TfMain::scsListFillComplete() {
}

void TfMain::GoToFolder(const std::string&) {
}

void TfMain::SetShellUpdates(bool) {
}

int TfMain::CollectSelectedFiles() {
    FileList.clear();
    return 0;
}

void TfMain::tbUpClick() {
}

void TfMain::tbRefreshClick() {
}

void TfMain::tbSelectAllClick() {
}

void TfMain::InvertSelection1Click() {
}

} // namespace quarn
